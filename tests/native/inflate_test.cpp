// The raw deflate decoder: zlib's streams of every block type decode to what was packed, a
// block encoder of the test's own makes the codes zlib never writes, and damaged or oversized
// streams stop without a write past the output.
#include "platform/inflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tests/common/pack_fixtures.h"
#include "tests/common/zip_writer.h"

namespace {

using Bytes = std::vector<uint8_t>;
using raw_deflate::Result;

constexpr uint8_t kGuard = 0xA5;
constexpr size_t kGuardSize = 64;

struct Decoded {
  Result result;
  Bytes out;
  size_t consumed;
};

// Decodes into a buffer of `limit` bytes followed by guard bytes, which must stay untouched.
Decoded Decode(const Bytes& stream, size_t limit) {
  Bytes buffer(limit + kGuardSize, kGuard);
  size_t written = 0, consumed = 0;
  const Result result = raw_deflate::Inflate(stream.data(), stream.size(), buffer.data(), limit, &written, &consumed);
  for (size_t i = limit; i < buffer.size(); ++i) {
    if (buffer[i] != kGuard) ADD_FAILURE() << "written past the output at " << i;
  }
  EXPECT_LE(written, limit);
  EXPECT_LE(consumed, stream.size());
  buffer.resize(written);
  return {result, buffer, consumed};
}

Bytes Random(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  Bytes out(size);
  for (uint8_t& b : out) b = static_cast<uint8_t>(random());
  return out;
}

Bytes Text(size_t size) {
  const std::string words = "the pointer moves over the busy arrow and the text beam; ";
  Bytes out;
  for (size_t i = 0; out.size() < size; ++i) out.push_back(static_cast<uint8_t>(words[(i * 7 + i / 13) % words.size()]));
  return out;
}

// The type of the stream's first block (0 stored, 1 fixed, 2 dynamic).
int FirstBlockType(const Bytes& stream) { return (stream.at(0) >> 1) & 3; }

struct RoundTrip {
  const char* name;
  Bytes data;
  int level;
  int strategy;
  int blockType;
};

TEST(Inflate, ZlibStreamsOfEveryBlockTypeDecodeWhole) {
  Bytes allBytes(256 * 3);
  for (size_t i = 0; i < allBytes.size(); ++i) allBytes[i] = static_cast<uint8_t>(i);
  const Bytes zeros(1 << 20, 0);
  const RoundTrip cases[] = {
      {"stored text", Text(1000), 0, Z_DEFAULT_STRATEGY, 0},
      {"stored, several blocks", Random(200000, 1), 0, Z_DEFAULT_STRATEGY, 0},
      {"stored, one byte", Bytes{42}, 0, Z_DEFAULT_STRATEGY, 0},
      {"fixed, one byte", Bytes{'a'}, 9, Z_FIXED, 1},
      {"fixed text", Text(5000), 9, Z_FIXED, 1},
      {"fixed, every byte value", allBytes, 6, Z_FIXED, 1},
      {"dynamic text", Text(100000), 9, Z_DEFAULT_STRATEGY, 2},
      {"dynamic, fast", Text(70000), 1, Z_DEFAULT_STRATEGY, 2},
      {"dynamic, a megabyte of zeros", zeros, 9, Z_DEFAULT_STRATEGY, 2},
      {"dynamic, run lengths", zeros, 6, Z_RLE, 2},
      {"dynamic, Huffman only", Text(30000), 6, Z_HUFFMAN_ONLY, 2},
      {"random bytes", Random(100000, 7), 6, Z_DEFAULT_STRATEGY, -1},
      {"a cursor file", pack_fixtures::SmallCursor(3), 9, Z_DEFAULT_STRATEGY, -1},
  };
  for (const RoundTrip& c : cases) {
    const Bytes stream = zip_writer::Deflate(c.data, c.level, c.strategy);
    if (c.blockType >= 0) {
      ASSERT_EQ(FirstBlockType(stream), c.blockType) << c.name;
    }
    const Decoded decoded = Decode(stream, c.data.size());
    EXPECT_EQ(decoded.result, Result::Done) << c.name;
    EXPECT_TRUE(decoded.out == c.data) << c.name;
    EXPECT_EQ(decoded.consumed, stream.size()) << c.name;
    // The zip reader's fuzzer reads an input that starts with 'D' as a raw stream.
    Bytes seed = {'D'};
    seed.insert(seed.end(), stream.begin(), stream.end());
    pack_fixtures::WriteSeed("zip_reader", std::string("deflate ") + c.name, seed);
  }
  // An empty input packs to one empty block.
  const Decoded empty = Decode(zip_writer::Deflate({}), 0);
  EXPECT_EQ(empty.result, Result::Done);
  EXPECT_TRUE(empty.out.empty());
}

// Bits least significant first; Huffman codes most significant bit first, as deflate packs them.
class BitWriter {
 public:
  void Bits(uint32_t value, int count) {
    for (int i = 0; i < count; ++i) Bit((value >> i) & 1);
  }
  void Code(uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) Bit((code >> i) & 1);
  }
  void ToByte() {
    while (used_ % 8) Bit(0);
  }
  void Byte(uint8_t b) { Bits(b, 8); }
  Bytes bytes() const { return bytes_; }

 private:
  void Bit(uint32_t bit) {
    if (used_ % 8 == 0) bytes_.push_back(0);
    if (bit) bytes_.back() |= static_cast<uint8_t>(1 << (used_ % 8));
    ++used_;
  }
  Bytes bytes_;
  size_t used_ = 0;
};

// The canonical codes of `lengths`, by the construction the format's document gives.
std::vector<uint32_t> CanonicalCodes(const std::vector<int>& lengths) {
  std::vector<int> count(16, 0);
  for (int l : lengths) count[l]++;
  count[0] = 0;
  std::vector<uint32_t> next(16, 0);
  uint32_t code = 0;
  for (int bits = 1; bits < 16; ++bits) {
    code = (code + count[bits - 1]) << 1;
    next[bits] = code;
  }
  std::vector<uint32_t> codes(lengths.size(), 0);
  for (size_t s = 0; s < lengths.size(); ++s) {
    if (lengths[s]) codes[s] = next[lengths[s]]++;
  }
  return codes;
}

// The fixed code of literal/length symbol `s`.
void FixedSymbol(BitWriter& w, int s) {
  if (s < 144) {
    w.Code(0x30 + s, 8);
  } else if (s < 256) {
    w.Code(0x190 + s - 144, 9);
  } else if (s < 280) {
    w.Code(s - 256, 7);
  } else {
    w.Code(0xC0 + s - 280, 8);
  }
}

// A final fixed block: literals "ab", then `length` symbol with no extra bits and `distance`
// symbol with no extra bits, then the end.
Bytes FixedWithMatch(int lengthSymbol, int distanceSymbol) {
  BitWriter w;
  w.Bits(1, 1);
  w.Bits(1, 2);
  FixedSymbol(w, 'a');
  FixedSymbol(w, 'b');
  FixedSymbol(w, lengthSymbol);
  w.Code(static_cast<uint32_t>(distanceSymbol), 5);
  FixedSymbol(w, 256);
  return w.bytes();
}

// A final dynamic block with the given code lengths, sending `literals` (then the end when
// `end`); every code length is sent with a four-bit code-length code of symbols 0 to 15.
Bytes Dynamic(const std::vector<int>& literalLengths, const std::vector<int>& distanceLengths,
              const std::vector<int>& symbols, bool end = true) {
  BitWriter w;
  w.Bits(1, 1);
  w.Bits(2, 2);
  w.Bits(static_cast<uint32_t>(literalLengths.size() - 257), 5);
  w.Bits(static_cast<uint32_t>(distanceLengths.size() - 1), 5);
  w.Bits(19 - 4, 4);
  const int order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
  for (int symbol : order) w.Bits(symbol < 16 ? 4 : 0, 3);
  for (int l : literalLengths) w.Code(static_cast<uint32_t>(l), 4);  // symbol l has code l
  for (int l : distanceLengths) w.Code(static_cast<uint32_t>(l), 4);
  const std::vector<uint32_t> codes = CanonicalCodes(literalLengths);
  for (int s : symbols) w.Code(codes[s], literalLengths[s]);
  if (end) w.Code(codes[256], literalLengths[256]);
  return w.bytes();
}

// Literal/length lengths: 'x', 'y' and the end of block at `lengths`, the rest 0.
std::vector<int> ThreeSymbols(int x, int y, int eob) {
  std::vector<int> lengths(257, 0);
  lengths['x'] = x;
  lengths['y'] = y;
  lengths[256] = eob;
  return lengths;
}

TEST(Inflate, CodesZlibNeverWritesAreReadByTheFormatsRules) {
  // Literals only, with a single one-bit distance code: the only incomplete code allowed.
  const Decoded single = Decode(Dynamic(ThreeSymbols(1, 2, 2), {1}, {'x', 'y', 'x'}), 16);
  EXPECT_EQ(single.result, Result::Done);
  EXPECT_EQ(std::string(single.out.begin(), single.out.end()), "xyx");
  // No distance code at all is fine while no match needs one.
  EXPECT_EQ(Decode(Dynamic(ThreeSymbols(1, 2, 2), {0}, {'y'}), 16).result, Result::Done);
  // A hand-made stored block, then a fixed block with a match reaching back to the start.
  BitWriter w;
  w.Bits(0, 1);
  w.Bits(0, 2);
  w.ToByte();
  for (uint8_t b : {5, 0, 0xFA, 0xFF}) w.Byte(b);
  for (char c : std::string("hello")) w.Byte(static_cast<uint8_t>(c));
  w.Bits(1, 1);
  w.Bits(1, 2);
  FixedSymbol(w, 257);  // length 3
  w.Code(4, 5);         // distance 5 and 6, one extra bit
  w.Bits(0, 1);
  FixedSymbol(w, 256);
  const Decoded mixed = Decode(w.bytes(), 8);
  EXPECT_EQ(mixed.result, Result::Done);
  EXPECT_EQ(std::string(mixed.out.begin(), mixed.out.end()), "hellohel");
}

struct Damage {
  const char* name;
  Bytes stream;
  size_t limit;
  Result expected;
};

TEST(Inflate, DamagedStreamsStopWithoutWritingPastTheOutput) {
  std::vector<int> overfull = ThreeSymbols(1, 1, 1);          // three one-bit codes
  std::vector<int> incomplete = ThreeSymbols(2, 2, 2);        // a quarter of the space unused
  std::vector<int> noEnd = ThreeSymbols(1, 1, 0);
  std::vector<int> tooMany(287, 0);
  tooMany[256] = 1;
  tooMany['x'] = 1;
  std::vector<int> distances31(31, 5);
  distances31[0] = 1;
  const Damage cases[] = {
      {"nothing", {}, 16, Result::Damaged},
      {"block type 3", {0x07}, 16, Result::Damaged},
      {"stored length without its complement", {0x01, 5, 0, 0xFB, 0xFF, 'h', 'e', 'l', 'l', 'o'}, 16, Result::Damaged},
      {"stored block longer than its input", {0x01, 9, 0, 0xF6, 0xFF, 'h', 'e'}, 16, Result::Damaged},
      {"stored block longer than the output", {0x01, 5, 0, 0xFA, 0xFF, 'h', 'e', 'l', 'l', 'o'}, 4, Result::TooLong},
      {"a match before the start", FixedWithMatch(257, 2), 64, Result::Damaged},
      {"length symbol 286", FixedWithMatch(286, 0), 64, Result::Damaged},
      {"length symbol 287", FixedWithMatch(287, 0), 64, Result::Damaged},
      {"distance symbol 30", FixedWithMatch(257, 30), 64, Result::Damaged},
      {"distance symbol 31", FixedWithMatch(257, 31), 64, Result::Damaged},
      {"a match past the output", FixedWithMatch(264, 0), 4, Result::TooLong},
      {"over-subscribed literal code", Dynamic(overfull, {1}, {'x'}), 16, Result::Damaged},
      {"incomplete literal code", Dynamic(incomplete, {1}, {'x'}), 16, Result::Damaged},
      {"no end-of-block code", Dynamic(noEnd, {1}, {'x'}, false), 16, Result::Damaged},
      {"287 literal/length codes", Dynamic(tooMany, {1}, {'x'}), 16, Result::Damaged},
      {"31 distance codes", Dynamic(ThreeSymbols(1, 2, 2), distances31, {'x'}), 16, Result::Damaged},
      {"a block that never ends", Dynamic(ThreeSymbols(1, 2, 2), {1}, {'x', 'y'}, false), 16, Result::Damaged},
  };
  for (const Damage& c : cases) EXPECT_EQ(Decode(c.stream, c.limit).result, c.expected) << c.name;

  // The code-length code: a repeat with nothing before it, and a code that over-fills.
  BitWriter repeatFirst;
  repeatFirst.Bits(1, 1);
  repeatFirst.Bits(2, 2);
  repeatFirst.Bits(0, 5);
  repeatFirst.Bits(0, 5);
  repeatFirst.Bits(0, 4);           // four code-length lengths: symbols 16, 17, 18, 0
  for (int l : {1, 0, 0, 1}) repeatFirst.Bits(static_cast<uint32_t>(l), 3);
  repeatFirst.Code(1, 1);           // symbol 16 (code 1 in a code of 0 and 16), nothing to repeat
  repeatFirst.Bits(0, 2);
  EXPECT_EQ(Decode(repeatFirst.bytes(), 16).result, Result::Damaged);
  BitWriter overfilled;
  overfilled.Bits(1, 1);
  overfilled.Bits(2, 2);
  overfilled.Bits(0, 10);
  overfilled.Bits(15, 4);
  for (int i = 0; i < 19; ++i) overfilled.Bits(1, 3);  // nineteen one-bit codes
  EXPECT_EQ(Decode(overfilled.bytes(), 16).result, Result::Damaged);
}

TEST(Inflate, EveryCutShortStreamIsRefused) {
  const Bytes data = Text(3000);
  for (int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED}) {
    for (int level : {0, 9}) {
      const Bytes stream = zip_writer::Deflate(data, level, strategy);
      for (size_t cut = 0; cut < stream.size(); ++cut) {
        const Decoded decoded = Decode(Bytes(stream.begin(), stream.begin() + static_cast<long>(cut)), data.size());
        EXPECT_NE(decoded.result, Result::Done) << "level " << level << ", cut at " << cut;
        EXPECT_TRUE(std::equal(decoded.out.begin(), decoded.out.end(), data.begin())) << "cut at " << cut;
      }
    }
  }
}

TEST(Inflate, OutputStopsAtItsLimitWhateverTheStreamHolds) {
  // Ten megabytes of zeros pack to a few kilobytes; a megabyte of room takes no more.
  const Bytes bomb = zip_writer::Deflate(Bytes(10 << 20, 0), 9);
  ASSERT_LT(bomb.size(), 20000u);
  const Decoded stopped = Decode(bomb, 1 << 20);
  EXPECT_EQ(stopped.result, Result::TooLong);
  for (int level : {0, 1, 9}) {
    for (int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED, Z_RLE}) {
      const Bytes data = Text(5000);
      const Bytes stream = zip_writer::Deflate(data, level, strategy);
      for (size_t limit : {size_t{0}, size_t{1}, size_t{4095}, data.size() - 1}) {
        const Decoded decoded = Decode(stream, limit);
        EXPECT_EQ(decoded.result, Result::TooLong) << level << "/" << strategy << " into " << limit;
        EXPECT_TRUE(std::equal(decoded.out.begin(), decoded.out.end(), data.begin()));
      }
    }
  }
}

}  // namespace
