// How quillmet-count reads a regular file: copied into a small buffer per thread by reads at
// offsets, or mapped into memory. Which costs less differs between machines: where a page
// fault is dear, mapping a file is the slowest way to read it; where the system maps many
// cached pages at each fault, it is the fastest, as it copies nothing. So the choice is made
// once per file, from a short measurement of both on the file itself.
#pragma once

#include <cstdint>
#include <string>

#include "regular_file.h"

enum class ReadingWay { Read, Map };

// What the caller asks for: the measured choice, or one way whatever it costs.
enum class ReadingChoice { Measure, Read, Map };

// "auto", "read" or "map" (empty: "auto") into *choice; false for any other text.
bool ParseReadingChoice(const std::string& text, ReadingChoice* choice);

// Files smaller than this are read: mapping one saves too little to pay for the measurement.
constexpr std::uint64_t kMeasureMinimum = 8 * 1024 * 1024;

// The measured costs of each way, in seconds per MiB; both 0 when nothing was measured.
struct ReadingCosts {
    double mapSecondsPerMiB = 0;
    double readSecondsPerMiB = 0;
};

// Applies `choice` to `file`: maps it when mapping is asked for, or measured clearly cheaper
// (less than half the cost of reading), and mapping works. Returns the way that the count then
// takes; measures into *costs.
ReadingWay ChooseReadingWay(ReadingChoice choice, RegularFile* file, ReadingCosts* costs);

// How a file was read, for a person: the way, the ranges, the measured costs.
std::string DescribeReading(ReadingWay way, std::size_t ranges, const ReadingCosts& costs);
