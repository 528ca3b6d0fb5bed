// Readers of untrusted bytes check every offset before they read. Test and fuzz builds
// (ASSERT_READS) also stop at the first read a checked span does not hold, so a slip in a
// reader fails loudly there instead of reading a neighbour's bytes; the programs skip it.
#pragma once
#include <cstdlib>

namespace {
#ifdef ASSERT_READS
inline void Require(bool inside) {
  if (!inside) std::abort();
}
#else
inline void Require(bool) {}
#endif
}  // namespace
