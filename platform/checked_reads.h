// Readers of untrusted bytes check every offset before they read. Test and fuzz builds
// (ASSERT_READS) also stop at the first read a checked span does not hold, so a slip in a
// reader fails loudly there instead of reading a neighbour's bytes; the programs skip it.
// Each reader's own file includes this, so everything here has internal linkage.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {
#ifdef ASSERT_READS
inline void Require(bool inside) {
  if (!inside) std::abort();
}
#else
inline void Require(bool) {}
#endif

// A run of bytes that every read is checked against. Offsets and lengths are compared with
// what is left, never added to a pointer first, so no sum can wrap.
struct Span {
  const uint8_t* data;
  size_t size;

  bool Has(size_t at, size_t length) const { return at <= size && length <= size - at; }
  uint16_t U16(size_t at) const {
    Require(Has(at, 2));
    return static_cast<uint16_t>(data[at] | data[at + 1] << 8);
  }
  uint32_t U32(size_t at) const {
    Require(Has(at, 4));
    return static_cast<uint32_t>(data[at]) | static_cast<uint32_t>(data[at + 1]) << 8 |
           static_cast<uint32_t>(data[at + 2]) << 16 | static_cast<uint32_t>(data[at + 3]) << 24;
  }
  uint32_t U32BigEndian(size_t at) const {
    Require(Has(at, 4));
    return static_cast<uint32_t>(data[at]) << 24 | static_cast<uint32_t>(data[at + 1]) << 16 |
           static_cast<uint32_t>(data[at + 2]) << 8 | static_cast<uint32_t>(data[at + 3]);
  }
  bool TagAt(size_t at, const char* tag) const {
    Require(Has(at, 4));
    return std::memcmp(data + at, tag, 4) == 0;
  }
  bool StartsWith(const uint8_t* bytes, size_t length) const {
    return Has(0, length) && std::memcmp(data, bytes, length) == 0;
  }
  Span Sub(size_t at, size_t length) const {
    Require(Has(at, length));
    return {data + at, length};
  }
};
}  // namespace
