// Decompression of a raw DEFLATE stream (the compressed entries of a zip file) into a buffer
// of known size. Platform-free; reads nothing past the input and writes nothing past the output.
#pragma once

#include <cstddef>

enum class InflateResult {
    Done,     // the final block ended and the output is exactly full
    Damaged,  // the stream is not valid DEFLATE, ends early, or its size differs from `outSize`
};

InflateResult Inflate(const unsigned char* in, std::size_t inSize, unsigned char* out,
                      std::size_t outSize);
