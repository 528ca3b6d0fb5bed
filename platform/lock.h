// A lock for data that more than one thread of a program uses. Made as a namespace-scope object
// (constructed before WinMain, while the program has one thread) or as a member; never made as a
// function's static, which the programs build without thread-safe guards for.
#pragma once
#include <windows.h>

namespace platform {

class Lock {
 public:
  Lock() { ::InitializeCriticalSection(&section); }
  ~Lock() { ::DeleteCriticalSection(&section); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
  void Enter() { ::EnterCriticalSection(&section); }
  void Leave() { ::LeaveCriticalSection(&section); }

 private:
  CRITICAL_SECTION section;
};

// Holds `lock` for the rest of the scope.
class Locked {
 public:
  explicit Locked(Lock& lock) : lock(lock) { lock.Enter(); }
  ~Locked() { lock.Leave(); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  Lock& lock;
};

}  // namespace platform
