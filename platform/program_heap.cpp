// The shipped programs' global operator new and delete, over the C runtime's heap. The C++
// library's own throws std::bad_alloc, which links its whole unwinder and type machinery into
// programs that catch nothing; here a program out of memory ends at once, as it would have
// ended on the uncaught exception.
#include <cstdlib>
#include <new>

namespace {
void* Allocate(std::size_t size) noexcept { return std::malloc(size ? size : 1); }
void* AllocateOrEnd(std::size_t size) {
  void* block = Allocate(size);
  if (!block) std::abort();
  return block;
}
}  // namespace

void* operator new(std::size_t size) { return AllocateOrEnd(size); }
void* operator new[](std::size_t size) { return AllocateOrEnd(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
