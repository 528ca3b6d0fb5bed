#include "platform/inflate.h"

#include <cstring>

namespace raw_deflate {
namespace {

constexpr int kLongestCode = 15;
// The fixed code gives lengths to 288 literal/length and 32 distance symbols; the last two of
// each are no symbol, and a dynamic block may not give them lengths.
constexpr int kLiteralSymbols = 288;
constexpr int kDistanceSymbols = 32;
constexpr int kMostDynamicLiterals = 286;
constexpr int kMostDynamicDistances = 30;
constexpr int kEndOfBlock = 256;

// Length symbols 257 to 285 and distance symbols 0 to 29: the least value and its extra bits.
constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistanceBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                        193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which a dynamic block gives the lengths of the code-length code.
constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// The stream's bits, least significant first. Past the end it reads zeros and remembers that
// it did; every caller checks `overrun` before trusting what it read.
class BitReader {
 public:
  BitReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  // `count` (0 to 16) bits. Whole bytes are fetched only when needed, so fewer than 8 bits are
  // ever held between calls.
  uint32_t Bits(int count) {
    while (held_ < count) {
      uint32_t byte = 0;
      if (at_ < size_) {
        byte = data_[at_++];
      } else {
        overrun_ = true;
      }
      buffer_ |= byte << held_;
      held_ += 8;
    }
    const uint32_t value = buffer_ & ((1u << count) - 1);
    buffer_ >>= count;
    held_ -= count;
    return value;
  }
  // Stored blocks start at a byte: the bits left in the current one are dropped.
  void DropToByte() {
    buffer_ = 0;
    held_ = 0;
  }
  // Up to `count` whole bytes at the current byte, or null when fewer are left.
  const uint8_t* TakeBytes(size_t count) {
    if (count > size_ - at_) {
      overrun_ = true;
      return nullptr;
    }
    const uint8_t* bytes = data_ + at_;
    at_ += count;
    return bytes;
  }
  bool overrun() const { return overrun_; }
  size_t consumed() const { return at_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
  uint32_t buffer_ = 0;
  int held_ = 0;
  bool overrun_ = false;
};

// A canonical Huffman code: how many codes each length has, and the symbols in code order.
struct Code {
  uint16_t count[kLongestCode + 1];
  uint16_t symbol[kLiteralSymbols];
};

enum class Shape { Complete, Single, Empty, Bad };

// Builds the code of `lengths[0..n)`. Bad when it asks for more codes than lengths allow;
// otherwise whether it fills the code space, holds one code of one bit (the only incomplete
// code an encoder writes), or no code at all.
Shape Build(Code* code, const uint8_t* lengths, int n) {
  std::memset(code->count, 0, sizeof code->count);
  for (int s = 0; s < n; ++s) ++code->count[lengths[s]];
  const int used = n - code->count[0];
  code->count[0] = 0;
  int left = 1;
  for (int length = 1; length <= kLongestCode; ++length) {
    left = 2 * left - code->count[length];
    if (left < 0) return Shape::Bad;
  }
  uint16_t next[kLongestCode + 2];
  next[1] = 0;
  for (int length = 1; length <= kLongestCode; ++length) next[length + 1] = next[length] + code->count[length];
  for (int s = 0; s < n; ++s) {
    if (lengths[s]) code->symbol[next[lengths[s]]++] = static_cast<uint16_t>(s);
  }
  if (left == 0) return Shape::Complete;
  if (used == 0) return Shape::Empty;
  return (used == 1 && code->count[1] == 1) ? Shape::Single : Shape::Bad;
}

// The next symbol, a bit at a time: canonical codes of one length are consecutive numbers, the
// first of each length following on from the last of the one before. -1 for a bit pattern
// that is no code (an incomplete code's gap).
int Decode(BitReader& bits, const Code& code) {
  int value = 0, first = 0, index = 0;
  for (int length = 1; length <= kLongestCode; ++length) {
    value |= static_cast<int>(bits.Bits(1));
    const int count = code.count[length];
    if (value - first < count) return code.symbol[index + value - first];
    index += count;
    first = (first + count) << 1;
    value <<= 1;
  }
  return -1;
}

// The output so far, which is also the window back-references copy from.
struct Output {
  uint8_t* data;
  size_t size;
  size_t at;
};

Result Stored(BitReader& bits, Output& out) {
  bits.DropToByte();
  const uint32_t length = bits.Bits(16);
  const uint32_t complement = bits.Bits(16);
  if (bits.overrun() || (length ^ 0xFFFFu) != complement) return Result::Damaged;
  if (length > out.size - out.at) return Result::TooLong;
  const uint8_t* bytes = bits.TakeBytes(length);
  if (!bytes) return Result::Damaged;
  if (length) std::memcpy(out.data + out.at, bytes, length);
  out.at += length;
  return Result::Done;
}

// Symbols of one block up to its end-of-block symbol.
Result Codes(BitReader& bits, Output& out, const Code& literals, const Code& distances) {
  for (;;) {
    const int symbol = Decode(bits, literals);
    if (bits.overrun() || symbol < 0) return Result::Damaged;
    if (symbol < kEndOfBlock) {
      if (out.at == out.size) return Result::TooLong;
      out.data[out.at++] = static_cast<uint8_t>(symbol);
      continue;
    }
    if (symbol == kEndOfBlock) return Result::Done;
    const int lengthSymbol = symbol - kEndOfBlock - 1;
    if (lengthSymbol >= 29) return Result::Damaged;
    const size_t length = kLengthBase[lengthSymbol] + bits.Bits(kLengthExtra[lengthSymbol]);
    const int distanceSymbol = Decode(bits, distances);
    if (distanceSymbol < 0 || distanceSymbol >= 30) return Result::Damaged;
    const size_t distance = kDistanceBase[distanceSymbol] + bits.Bits(kDistanceExtra[distanceSymbol]);
    if (bits.overrun() || distance > out.at) return Result::Damaged;
    if (length > out.size - out.at) return Result::TooLong;
    // Byte by byte: the copy may overlap the bytes it is writing.
    for (size_t i = 0; i < length; ++i, ++out.at) out.data[out.at] = out.data[out.at - distance];
  }
}

Result Fixed(BitReader& bits, Output& out) {
  uint8_t lengths[kLiteralSymbols];
  std::memset(lengths, 8, 144);
  std::memset(lengths + 144, 9, 112);
  std::memset(lengths + 256, 7, 24);
  std::memset(lengths + 280, 8, 8);
  Code literals, distances;
  Build(&literals, lengths, kLiteralSymbols);
  std::memset(lengths, 5, kDistanceSymbols);
  Build(&distances, lengths, kDistanceSymbols);
  return Codes(bits, out, literals, distances);
}

Result Dynamic(BitReader& bits, Output& out) {
  const int literalCount = static_cast<int>(bits.Bits(5)) + 257;
  const int distanceCount = static_cast<int>(bits.Bits(5)) + 1;
  const int codeLengthCount = static_cast<int>(bits.Bits(4)) + 4;
  if (literalCount > kMostDynamicLiterals || distanceCount > kMostDynamicDistances) return Result::Damaged;

  uint8_t lengths[kMostDynamicLiterals + kMostDynamicDistances] = {};
  for (int i = 0; i < codeLengthCount; ++i) lengths[kCodeLengthOrder[i]] = static_cast<uint8_t>(bits.Bits(3));
  Code codeLengths;
  if (bits.overrun() || Build(&codeLengths, lengths, 19) != Shape::Complete) return Result::Damaged;

  // The lengths of both codes, in one run that repeats may cross.
  std::memset(lengths, 0, 19);
  const int total = literalCount + distanceCount;
  for (int index = 0; index < total;) {
    const int symbol = Decode(bits, codeLengths);
    if (symbol < 0) return Result::Damaged;
    if (symbol < 16) {
      lengths[index++] = static_cast<uint8_t>(symbol);
      continue;
    }
    uint8_t value = 0;
    int repeat;
    if (symbol == 16) {
      if (index == 0) return Result::Damaged;  // nothing to repeat
      value = lengths[index - 1];
      repeat = 3 + static_cast<int>(bits.Bits(2));
    } else if (symbol == 17) {
      repeat = 3 + static_cast<int>(bits.Bits(3));
    } else {
      repeat = 11 + static_cast<int>(bits.Bits(7));
    }
    if (bits.overrun() || repeat > total - index) return Result::Damaged;
    while (repeat--) lengths[index++] = value;
  }
  if (bits.overrun() || lengths[kEndOfBlock] == 0) return Result::Damaged;

  Code literals, distances;
  const Shape literalShape = Build(&literals, lengths, literalCount);
  const Shape distanceShape = Build(&distances, lengths + literalCount, distanceCount);
  if (literalShape != Shape::Complete && literalShape != Shape::Single) return Result::Damaged;
  // A block of literals alone may give no distance code at all.
  if (distanceShape == Shape::Bad) return Result::Damaged;
  return Codes(bits, out, literals, distances);
}

}  // namespace

Result Inflate(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize, size_t* written, size_t* consumed) {
  BitReader bits(in, in ? inSize : 0);
  Output output{out, out ? outSize : 0, 0};
  Result result = Result::Done;
  bool last = false;
  while (result == Result::Done && !last) {
    last = bits.Bits(1) != 0;
    const uint32_t type = bits.Bits(2);
    if (bits.overrun()) {
      result = Result::Damaged;
    } else if (type == 0) {
      result = Stored(bits, output);
    } else if (type == 1) {
      result = Fixed(bits, output);
    } else if (type == 2) {
      result = Dynamic(bits, output);
    } else {
      result = Result::Damaged;
    }
  }
  *written = output.at;
  if (consumed) *consumed = bits.consumed();
  return result;
}

}  // namespace raw_deflate
