// Counting a text held in memory on several threads. Every state of the count is reset by a CR
// or LF byte (the segment ends, the column is 0, no word goes on), so pieces that end just
// after one are counted independently and their counts added up.
#pragma once

#include <cstddef>
#include <vector>

#include "counting/text_counting.h"

// Where `pieces` pieces of about equal size begin: offsets after a CR or LF byte, rising, the
// first 0. Fewer when the text has too few line breaks (one when it has none).
std::vector<std::size_t> SplitAtLineBreaks(const char* data, std::size_t size, std::size_t pieces);

// The counts of the whole text at `width`, each piece of SplitAtLineBreaks on its own thread.
// Texts smaller than two pieces of `minimumPiece` bytes, or one thread, count on this thread.
TextCountState CountInParallel(const char* data, std::size_t size, int width, unsigned threads,
                               std::size_t minimumPiece);
