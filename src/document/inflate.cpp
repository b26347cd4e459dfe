#include "document/inflate.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr int kFastBits = 10;
constexpr int kMaxSymbols = 288;

// A canonical Huffman code: codes of up to kFastBits bits are found in one look-up, longer
// ones by comparing against the first code of each length.
struct HuffmanCode {
    std::uint16_t fast[1 << kFastBits];  // (length << 9) | symbol, 0 when the code is longer
    std::uint16_t firstCode[16];
    std::int32_t maxCode[17];  // one past the last code of each length, aligned to 16 bits
    std::uint16_t firstSymbol[16];
    std::uint8_t size[kMaxSymbols];
    std::uint16_t value[kMaxSymbols];
};

int ReverseBits(int bits, int count) {
    int reversed = 0;
    for (int i = 0; i < count; ++i) {
        reversed = (reversed << 1) | (bits & 1);
        bits >>= 1;
    }
    return reversed;
}

// False when the lengths describe no prefix code (more codes of a length than fit).
bool BuildCode(HuffmanCode* code, const std::uint8_t* lengths, int count) {
    int sizes[17] = {};
    int nextCode[16] = {};
    std::memset(code->fast, 0, sizeof code->fast);
    for (int i = 0; i < count; ++i) ++sizes[lengths[i]];
    sizes[0] = 0;
    int next = 0;
    int symbolIndex = 0;
    for (int length = 1; length < 16; ++length) {
        nextCode[length] = next;
        code->firstCode[length] = static_cast<std::uint16_t>(next);
        code->firstSymbol[length] = static_cast<std::uint16_t>(symbolIndex);
        next += sizes[length];
        if (sizes[length] != 0 && next - 1 >= (1 << length)) return false;
        code->maxCode[length] = next << (16 - length);
        next <<= 1;
        symbolIndex += sizes[length];
    }
    code->maxCode[16] = 0x10000;
    for (int symbol = 0; symbol < count; ++symbol) {
        const int length = lengths[symbol];
        if (length == 0) continue;
        const int slot = nextCode[length] - code->firstCode[length] + code->firstSymbol[length];
        code->size[slot] = static_cast<std::uint8_t>(length);
        code->value[slot] = static_cast<std::uint16_t>(symbol);
        if (length <= kFastBits) {
            const auto entry = static_cast<std::uint16_t>((length << 9) | symbol);
            for (int j = ReverseBits(nextCode[length], length); j < (1 << kFastBits);
                 j += 1 << length) {
                code->fast[j] = entry;
            }
        }
        ++nextCode[length];
    }
    return true;
}

constexpr std::uint16_t kLengthBase[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                           15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                           67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::uint16_t kDistanceBase[30] = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                             6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr std::uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                               11, 4,  12, 3, 13, 2, 14, 1, 15};

class Inflater {
  public:
    Inflater(const unsigned char* in, std::size_t inSize, unsigned char* out, std::size_t outSize)
        : in_(in), inSize_(inSize), out_(out), outSize_(outSize) {}

    InflateResult Run() {
        bool final = false;
        while (!final) {
            final = Bits(1) != 0;
            const int type = static_cast<int>(Bits(2));
            bool ok = false;
            if (type == 0) {
                ok = StoredBlock();
            } else if (type == 1) {
                ok = FixedBlock();
            } else if (type == 2) {
                ok = DynamicBlock();
            }
            if (!ok || Overrun()) return InflateResult::Damaged;
        }
        return produced_ == outSize_ ? InflateResult::Done : InflateResult::Damaged;
    }

  private:
    // Past the end of the input the bit buffer fills with zeros; Overrun() tells that those
    // were used.
    void Refill() {
        while (bitCount_ <= 56) {
            const std::uint64_t byte = position_ < inSize_ ? in_[position_] : 0;
            ++position_;
            bits_ |= byte << bitCount_;
            bitCount_ += 8;
        }
    }
    bool Overrun() const { return position_ * 8 - bitCount_ > inSize_ * 8; }

    std::uint32_t Bits(int count) {
        if (bitCount_ < count) Refill();
        const auto value = static_cast<std::uint32_t>(bits_ & ((std::uint64_t{1} << count) - 1));
        bits_ >>= count;
        bitCount_ -= count;
        return value;
    }

    // The next symbol of `code`, or -1 for a bit pattern that is no code.
    int Decode(const HuffmanCode& code) {
        if (bitCount_ < 16) Refill();
        const int entry = code.fast[bits_ & ((1 << kFastBits) - 1)];
        if (entry != 0) {
            const int length = entry >> 9;
            bits_ >>= length;
            bitCount_ -= length;
            return entry & 511;
        }
        const int key = ReverseBits(static_cast<int>(bits_ & 0xFFFF), 16);
        int length = kFastBits + 1;
        while (key >= code.maxCode[length]) ++length;
        if (length >= 16) return -1;
        const int slot = (key >> (16 - length)) - code.firstCode[length] + code.firstSymbol[length];
        if (slot < 0 || slot >= kMaxSymbols || code.size[slot] != length) return -1;
        bits_ >>= length;
        bitCount_ -= length;
        return code.value[slot];
    }

    bool StoredBlock() {
        // Drop the bits up to the byte boundary, then give back the whole bytes still buffered.
        Bits(bitCount_ % 8);
        position_ -= static_cast<std::size_t>(bitCount_ / 8);
        bits_ = 0;
        bitCount_ = 0;
        if (position_ > inSize_ || inSize_ - position_ < 4) return false;
        const std::size_t length = in_[position_] | (in_[position_ + 1] << 8);
        const std::size_t inverse = in_[position_ + 2] | (in_[position_ + 3] << 8);
        position_ += 4;
        if ((length ^ 0xFFFF) != inverse) return false;
        if (inSize_ - position_ < length || outSize_ - produced_ < length) return false;
        std::memcpy(out_ + produced_, in_ + position_, length);
        position_ += length;
        produced_ += length;
        return true;
    }

    bool FixedBlock() {
        std::uint8_t lengths[kMaxSymbols + 32];
        std::memset(lengths, 8, 144);
        std::memset(lengths + 144, 9, 112);
        std::memset(lengths + 256, 7, 24);
        std::memset(lengths + 280, 8, 8);
        std::memset(lengths + kMaxSymbols, 5, 32);
        if (!BuildCode(&literals_, lengths, kMaxSymbols)) return false;
        if (!BuildCode(&distances_, lengths + kMaxSymbols, 32)) return false;
        return Codes();
    }

    bool DynamicBlock() {
        const int literalCount = static_cast<int>(Bits(5)) + 257;
        const int distanceCount = static_cast<int>(Bits(5)) + 1;
        const int codeLengthCount = static_cast<int>(Bits(4)) + 4;
        if (literalCount > 286 || distanceCount > 30) return false;
        std::uint8_t codeLengthLengths[19] = {};
        for (int i = 0; i < codeLengthCount; ++i) {
            codeLengthLengths[kCodeLengthOrder[i]] = static_cast<std::uint8_t>(Bits(3));
        }
        if (!BuildCode(&literals_, codeLengthLengths, 19)) return false;
        std::uint8_t lengths[286 + 30] = {};
        const int total = literalCount + distanceCount;
        int filled = 0;
        while (filled < total) {
            const int symbol = Decode(literals_);
            if (symbol < 0) return false;
            if (symbol < 16) {
                lengths[filled++] = static_cast<std::uint8_t>(symbol);
                continue;
            }
            int repeat = 0;
            std::uint8_t repeated = 0;
            if (symbol == 16) {
                if (filled == 0) return false;
                repeated = lengths[filled - 1];
                repeat = 3 + static_cast<int>(Bits(2));
            } else if (symbol == 17) {
                repeat = 3 + static_cast<int>(Bits(3));
            } else {
                repeat = 11 + static_cast<int>(Bits(7));
            }
            if (repeat > total - filled) return false;
            std::memset(lengths + filled, repeated, static_cast<std::size_t>(repeat));
            filled += repeat;
        }
        if (lengths[256] == 0) return false;  // no end of block
        if (!BuildCode(&literals_, lengths, literalCount)) return false;
        if (!BuildCode(&distances_, lengths + literalCount, distanceCount)) return false;
        return Codes();
    }

    bool Codes() {
        unsigned char* const out = out_;
        const std::size_t outSize = outSize_;
        std::size_t produced = produced_;
        for (;;) {
            int symbol = Decode(literals_);
            if (symbol < 256) {
                if (symbol < 0 || produced == outSize) return false;
                out[produced++] = static_cast<unsigned char>(symbol);
                continue;
            }
            if (symbol == 256) break;
            symbol -= 257;
            if (symbol >= 29) return false;
            if (bitCount_ < 32) Refill();
            const std::size_t length = kLengthBase[symbol] + Bits(kLengthExtra[symbol]);
            const int distanceSymbol = Decode(distances_);
            if (distanceSymbol < 0 || distanceSymbol >= 30) return false;
            const std::size_t distance =
                kDistanceBase[distanceSymbol] + Bits(kDistanceExtra[distanceSymbol]);
            if (distance > produced || length > outSize - produced) return false;
            unsigned char* target = out + produced;
            const unsigned char* source = target - distance;
            if (distance >= 8 && outSize - produced >= length + 8) {
                // Eight bytes at a time; the copy may run past `length` within the output.
                for (std::size_t i = 0; i < length; i += 8) std::memcpy(target + i, source + i, 8);
            } else {
                for (std::size_t i = 0; i < length; ++i) target[i] = source[i];
            }
            produced += length;
            if (Overrun()) return false;
        }
        produced_ = produced;
        return true;
    }

    const unsigned char* in_;
    std::size_t inSize_;
    std::size_t position_ = 0;  // bytes taken into the bit buffer, zeros past the end included
    std::uint64_t bits_ = 0;
    int bitCount_ = 0;
    unsigned char* out_;
    std::size_t outSize_;
    std::size_t produced_ = 0;
    HuffmanCode literals_;
    HuffmanCode distances_;
};

}  // namespace

InflateResult Inflate(const unsigned char* in, std::size_t inSize, unsigned char* out,
                      std::size_t outSize) {
    Inflater inflater(in, inSize, out, outSize);
    return inflater.Run();
}
