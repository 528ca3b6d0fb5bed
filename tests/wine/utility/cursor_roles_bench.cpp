// Benchmark, run by hand under Wine (not a test): filling the four library lists with 50, 500
// and 5,000 files in NORMAL\, beside the same fill that hands every file to the platform's
// loader unchecked; and one ApplyAllCursors with monochrome static cursors in every role (the
// sizing arrows on Large).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "tests/wine/support/wine_test_support.h"
#include "tests/wine/utility/bench_clock.h"
#include "tests/wine/utility/library_copy.h"
#include "tests/wine/utility/main_dialog_driver.h"
#include "utility/records/cursor_settings.h"
#include "utility/cursor/cursor_library_win.h"
#include "utility/cursor/library_entry.h"
#include "utility/resources/resource.h"

namespace {

// A list filled with the entries of a library folder, as the dialog fills its lists.
void FillCursorList(const char* folder, const CListBox& list) {
  ForEachLibraryEntry(
      folder, [](void* control, const char* text) { static_cast<const CListBox*>(control)->AddString(text); },
      const_cast<CListBox*>(&list));
}

using bench_clock::Median;
using bench_clock::Now;

INT_PTR CALLBACK InertDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The library's static monochrome NORMAL files, whose copies fill NORMAL\ to `count` files.
std::vector<std::string> MonochromeNormals() {
  return {"Giant white arrow.CUR", "Skinny arrow.CUR", "Black cross.CUR", "White dot.CUR", "Down arrow.CUR"};
}

void FillNormal(const std::string& root, int count) {
  const std::string normal = root + "\\NORMAL";
  library_copy::EmptyFolder(normal);
  const std::vector<std::string> sources = MonochromeNormals();
  for (int i = 0; i < count; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "\\cursor %05d.CUR", i);
    const std::string from = library_copy::GeneratedLibrary() + "/NORMAL/" + sources[i % sources.size()];
    ::CopyFileA(from.c_str(), (normal + name).c_str(), FALSE);
  }
}

// FillCursorList as it was before files were checked: each file straight to the loader.
void FillUncheckedList(const char* folder, const CListBox& list) {
  if (!::SetCurrentDirectoryA(folder)) return;
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA("*.*", &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (IsDotOrDotDot(found.cFileName) || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
      char fullPath[kTextBufferSize];
      char* fileName = nullptr;
      const DWORD length = ::GetFullPathNameA(found.cFileName, sizeof fullPath, fullPath, &fileName);
      if (length == 0 || length >= sizeof fullPath || !fileName) continue;
      const CursorFileKind kind = ClassifyCursorFileName(fileName);
      if (kind == CursorFileKind::NotCursor) continue;
      HCURSOR cursor = ::LoadCursorFromFileA(fullPath);
      if (!cursor) continue;
      ICONINFO info = {};
      const bool described = ::GetIconInfo(cursor, &info) != FALSE;
      if (info.hbmColor) ::DeleteObject(info.hbmColor);
      if (info.hbmMask) ::DeleteObject(info.hbmMask);
      ::DestroyCursor(cursor);
      char entryText[kTextBufferSize];
      if (described && BuildEntryText(kind == CursorFileKind::Animated, info.hbmColor != nullptr, fileName, entryText,
                                      kTextBufferSize)) {
        list.AddString(entryText);
      }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  ::SetCurrentDirectoryA("..");
}

using FillList = void (*)(const char* folder, const CListBox& list);

// Dialog initialisation's list steps on a dialog of template 102: tab stops, the four folders
// and their fixed entries, each list filled by `fill`.
double TimeFillOnce(FillList fill) {
  HWND host = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr, &InertDialog, 0);
  CListBox normal, appStarting, busy, ibeam;
  normal.m_hWnd = ::GetDlgItem(host, IDC_LIST_NORMAL);
  appStarting.m_hWnd = ::GetDlgItem(host, IDC_LIST_APPSTART);
  busy.m_hWnd = ::GetDlgItem(host, IDC_LIST_BUSY);
  ibeam.m_hWnd = ::GetDlgItem(host, IDC_LIST_IBEAM);
  // As in the program, where the lists are filled before the dialog is first shown.
  ::ShowWindow(host, SW_HIDE);
  const double start = Now();
  for (const CListBox* list : {&normal, &appStarting, &busy, &ibeam}) list->SetTabStops(20);
  fill(kCursorRoles[kRoleNormal].folder, normal);
  normal.AddString(kDefaultName);
  fill(kCursorRoles[kRoleBusy].folder, busy);
  busy.AddString(kDefaultName);
  fill(kCursorRoles[kRoleAppStarting].folder, appStarting);
  appStarting.AddString(kDefaultName);
  appStarting.AddString(kSameAsNormalName);
  fill(kCursorRoles[kRoleIBeam].folder, ibeam);
  ibeam.AddString(kDefaultName);
  const double elapsed = Now() - start;
  ::DestroyWindow(host);
  return elapsed;
}

// The platform's own part: loading, describing and releasing each NORMAL\ file once.
double TimeLoaderOnce() {
  const double start = Now();
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA("NORMAL\\*.CUR", &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    HCURSOR cursor = ::LoadCursorFromFileA((std::string("NORMAL\\") + found.cFileName).c_str());
    ICONINFO info = {};
    if (cursor && ::GetIconInfo(cursor, &info)) {
      if (info.hbmColor) ::DeleteObject(info.hbmColor);
      ::DeleteObject(info.hbmMask);
    }
    if (cursor) ::DestroyCursor(cursor);
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return Now() - start;
}

// The reader's part alone: each NORMAL\ file read and checked once; and the opening alone.
double TimeCheckOnce(bool read) {
  const double start = Now();
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA("NORMAL\\*.CUR", &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    const std::string path = std::string("NORMAL\\") + found.cFileName;
    if (read) {
      platform::CheckCursorFile(path.c_str(), nullptr);
    } else {
      HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
      ::CloseHandle(file);
    }
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return Now() - start;
}

}  // namespace

int main() {
  const std::string root = wine_test::MakeTempFolder("pointrel-bench");
  if (library_copy::CopyGeneratedLibrary(root) != library_copy::kLibraryFiles) {
    std::fprintf(stderr, "the generated library is missing\n");
    return 1;
  }
  ::SetCurrentDirectoryA(root.c_str());
  // A monochrome static cursor for App Starting, which the library has none of.
  ::CopyFileA((root + "\\NORMAL\\Skinny arrow.CUR").c_str(), (root + "\\APPSTART\\Skinny arrow.CUR").c_str(), FALSE);
  std::printf("Filling the four lists (NORMAL\\ as given; APPSTART\\ 6, BUSY\\ 6, IBEAM\\ 5 files):\n");
  for (int count : {50, 500, 5000}) {
    FillNormal(root, count);
    const int runs = count >= 5000 ? 3 : 7;
    std::vector<double> times, unchecked, loader, checks, opens;
    // Interleaved, so both fills see the same state of the machine.
    for (int run = 0; run < runs; ++run) {
      times.push_back(TimeFillOnce(&FillCursorList));
      unchecked.push_back(TimeFillOnce(&FillUncheckedList));
      loader.push_back(TimeLoaderOnce());
      checks.push_back(TimeCheckOnce(true));
      opens.push_back(TimeCheckOnce(false));
    }
    std::printf("  %5d files: the reader's check alone %9.2f ms, opening and closing alone %9.2f ms\n", count,
                Median(checks), Median(opens));
    std::printf("  %5d files in NORMAL\\: median %9.2f ms, best %9.2f ms (%d runs); unchecked: median %9.2f ms, "
                "best %9.2f ms (%+.1f %% by the medians); the bare loader on NORMAL\\ alone: median %9.2f ms\n",
                count, Median(times), *std::min_element(times.begin(), times.end()), runs, Median(unchecked),
                *std::min_element(unchecked.begin(), unchecked.end()), 100.0 * (Median(times) / Median(unchecked) - 1),
                Median(loader));
  }

  FillNormal(root, 50);
  ::CopyFileA((library_copy::GeneratedLibrary() + "/NORMAL/Giant white arrow.CUR").c_str(),
              (root + "\\NORMAL\\Giant white arrow.CUR").c_str(), FALSE);
  dialog_driver::DefaultSettings();
  std::strcpy(current.Normal, "Giant white arrow.CUR");
  std::strcpy(current.Appstart, "Skinny arrow.CUR");
  std::strcpy(current.Busy, "Hamster on treadmill.CUR");
  std::strcpy(current.Ibeam, "Large I-beam.CUR");
  current.Sizing = 1;
  current.BlkClr = 1;
  current.WhtClr = 6;
  for (int mirror = 0; mirror < 2; ++mirror) {
    current.MirrorNormal = current.MirrorAppstart = mirror;
    std::vector<double> times;
    dialog_driver::RunMainDialog([&](MainDialog& dialog) {
      for (int round = 0; round < 300; ++round) {
        const double start = Now();
        dialog.ApplyAllCursors();
        times.push_back(Now() - start);
      }
    });
    std::printf("One ApplyAllCursors, 8 monochrome static cursors recoloured%s: median %.3f ms, best %.3f ms (300 runs)\n",
                mirror ? " and Normal/App Starting mirrored" : "", Median(times),
                *std::min_element(times.begin(), times.end()));
  }
  return 0;
}
