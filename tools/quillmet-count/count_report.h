// Counting one input and laying out the rows that quillmet-count prints.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "counting/job_pricing.h"
#include "reading_way.h"

struct CountRow {
    std::string name;  // empty for standard input named by no argument
    std::uint64_t characters = 0;
    std::uint64_t words = 0;
    std::uint64_t lines = 0;
    double price = 0;
    std::string reading;  // how the input was read, for a person
};

// Counts everything `stream` yields, in fixed-size pieces, with lines wrapped at `width`.
// Returns false when reading failed; then `errorNumber` holds errno of the failure.
bool CountStream(std::FILE* stream, int width, CountRow* row, int* errorNumber);

// Counts the file at `path`: a regular file is read at offsets or mapped, as `choice` says,
// each core counting its own range of a large one; anything else is read in pieces as by
// CountStream. Returns false when the file cannot be opened or read; then `errorNumber` holds
// errno of the failure.
bool CountFile(const std::string& path, int width, ReadingChoice choice, CountRow* row,
               int* errorNumber);

// The price of one counted input, each input being one job.
double PriceRow(const CorrectedPricingInputs& pricing, const CountRow& row);

// The "total" row: counts and prices of `rows` added up.
CountRow TotalRow(const std::vector<CountRow>& rows);

// The rows as printed: right-aligned columns of equal width for the counts, the price column
// (when `priced`) as wide as its longest entry, then the name.
std::string FormatCountRows(const std::vector<CountRow>& rows, bool priced);
