// Folders of the build that CTest hands a test through its environment, not compiled in: the
// objects then do not depend on where the tree lies, and the compiler cache serves any clone.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>

// The value of `name`; a test started without it (by hand, outside CTest) stops and says so.
inline std::string RequiredEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value && *value) return value;
  std::fprintf(stderr, "%s is not set: run this test through ctest, which sets it\n", name);
  std::exit(2);
}
