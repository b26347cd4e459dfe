// Counting a regular file on several threads, each reading and counting its own range of it.
// Every state of the count is reset by a CR or LF byte (the segment ends, the column is 0, no
// word goes on), so ranges that begin just after one are counted independently and their counts
// added up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "counting/text_counting.h"
#include "regular_file.h"

// The buffer each counting thread reads its range into, again and again: large enough to make
// the read calls cheap, small enough to stay in the processor's cache.
constexpr std::size_t kRangeBufferSize = 1024 * 1024;

// A reading buffer that starts at a page boundary, as the page cache's pages do: some
// processors copy several times slower when the target lies a few bytes past the source's
// place in its page, and malloc puts large blocks 16 bytes past a page boundary.
class PageAlignedBuffer {
  public:
    explicit PageAlignedBuffer(std::size_t size);
    char* data() { return data_; }
    std::size_t size() const { return size_; }

  private:
    std::vector<char> storage_;
    char* data_;
    std::size_t size_;
};

// Where `pieces` ranges of about equal size begin: offsets after a CR or LF byte, rising, the
// first 0. Each is found with small reads from its share's start on. Fewer when the file has
// too few line breaks (one when it has none). False on a read error, with errno's value in
// *errorNumber.
bool SplitAtLineBreaks(const RegularFile& file, std::size_t pieces,
                       std::vector<std::uint64_t>* starts, int* errorNumber);

// Counts the bytes from `begin` up to `end` (or the file's end, if it came sooner) into `state`:
// from the mapped view, when the file is mapped, else read into `buffer` piece by piece. False
// on a read error, as above.
bool CountFileRange(const RegularFile& file, std::uint64_t begin, std::uint64_t end,
                    PageAlignedBuffer* buffer, TextCountState* state, int* errorNumber);

// The counts of the whole file at `width` into *total, each range of SplitAtLineBreaks on its
// own thread; *ranges tells how many there were. Files smaller than two ranges of
// `minimumPiece` bytes, or one thread, count on this thread. False on a read error, as above.
bool CountFileInParallel(const RegularFile& file, int width, unsigned threads,
                         std::uint64_t minimumPiece, TextCountState* total, std::size_t* ranges,
                         int* errorNumber);
