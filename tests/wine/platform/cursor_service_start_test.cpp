// The system-cursor service made at its first use from several threads at once (a crash filter
// may make the first use on any thread, and the programs have no thread-safe statics): it is
// made once, and every thread is handed the same kept defaults. A program of its own, so that
// nothing has made the service before.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "platform/system_cursor.h"
#include "platform/system_cursor_ids.h"

namespace {

constexpr int kThreads = 8;
// Eight ids whose defaults the platform has.
constexpr uint32_t kIds[8] = {kIdNormal, kIdAppStarting, kIdBusy, kIdIBeam, kIdSizeNWSE, kIdSizeNESW, kIdSizeWE, kIdSizeNS};

struct Start {
  HANDLE go;
  volatile LONG* arrived;
  HCURSOR defaults[8];
};

DWORD WINAPI FirstUse(void* parameter) {
  Start* start = static_cast<Start*>(parameter);
  ::InterlockedIncrement(start->arrived);
  ::WaitForSingleObject(start->go, INFINITE);
  for (int i = 0; i < 8; ++i) start->defaults[i] = platform::SystemDefaultCursor(kIds[i]);
  return 0;
}

TEST(CursorServiceStart, ThreadsMeetingAtTheFirstUseShareOneService) {
  HANDLE go = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(go, nullptr);
  volatile LONG arrived = 0;
  std::vector<Start> starts(kThreads, Start{go, &arrived, {}});
  std::vector<HANDLE> threads;
  for (Start& start : starts) threads.push_back(::CreateThread(nullptr, 0, &FirstUse, &start, 0, nullptr));
  // Every thread at the gate before it opens.
  const DWORD began = ::GetTickCount();
  while (::InterlockedCompareExchange(&arrived, 0, 0) < kThreads) {
    ASSERT_LT(::GetTickCount() - began, 10000u) << "only " << arrived << " threads reached the gate";
    ::Sleep(1);
  }
  ::SetEvent(go);
  ASSERT_EQ(::WaitForMultipleObjects(kThreads, threads.data(), TRUE, 20000), WAIT_OBJECT_0);
  for (int i = 0; i < 8; ++i) {
    ASSERT_NE(starts[0].defaults[i], nullptr) << kIds[i];
    for (int t = 1; t < kThreads; ++t) {
      EXPECT_EQ(starts[t].defaults[i], starts[0].defaults[i]) << "thread " << t << ", id " << kIds[i];
    }
    EXPECT_EQ(platform::SystemDefaultCursor(kIds[i]), starts[0].defaults[i]);
  }
  for (HANDLE thread : threads) ::CloseHandle(thread);
  ::CloseHandle(go);
}

}  // namespace
