#include "utility/records/cursor_settings.h"

#include <cstring>

CursorSettings current;
CursorSettings saved;

namespace {
const char kSection[] = "Cursors";

bool EqualsIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    char x = *a, y = *b;
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return *a == *b;
}
}  // namespace

void LoadSettings(ProfileStore& store) {
  store.GetProfileString(kSection, "Normal", kDefaultName, current.Normal, kProfileTextSize);
  store.GetProfileString(kSection, "Appstart", kDefaultName, current.Appstart, kProfileTextSize);
  store.GetProfileString(kSection, "Busy", kDefaultName, current.Busy, kProfileTextSize);
  store.GetProfileString(kSection, "Ibeam", kDefaultName, current.Ibeam, kProfileTextSize);
  current.Sizing = store.GetProfileInt(kSection, "Sizing", 0);
  current.BlkClr = store.GetProfileInt(kSection, "BlkClr", 15);
  current.WhtClr = store.GetProfileInt(kSection, "WhtClr", 0);
  current.Blink = store.GetProfileInt(kSection, "Blink", 0);
  current.MirrorNormal = store.GetProfileInt(kSection, "MirrorNormal", 0);
  current.MirrorAppstart = store.GetProfileInt(kSection, "MirrorAppstart", 0);
  current.HideMinimized = store.GetProfileInt(kSection, "HideMinimized", 0);
  current.StartMinimized = store.GetProfileInt(kSection, "StartMinimized", 0);
  current.HideTyping = store.GetProfileInt(kSection, "HideTyping", 0);
  current.ShakeEnlarge = store.GetProfileInt(kSection, "ShakeEnlarge", 0);
  saved = current;
}

bool SaveSettings(ProfileStore& store) {
  saved = current;
  bool written = true;
  written &= store.WriteProfileString(kSection, "Normal", current.Normal);
  written &= store.WriteProfileString(kSection, "Appstart", current.Appstart);
  written &= store.WriteProfileString(kSection, "Busy", current.Busy);
  written &= store.WriteProfileString(kSection, "Ibeam", current.Ibeam);
  written &= store.WriteProfileInt(kSection, "Sizing", current.Sizing);
  written &= store.WriteProfileInt(kSection, "Blink", current.Blink);
  written &= store.WriteProfileInt(kSection, "BlkClr", current.BlkClr);
  written &= store.WriteProfileInt(kSection, "WhtClr", current.WhtClr);
  written &= store.WriteProfileInt(kSection, "MirrorNormal", current.MirrorNormal);
  written &= store.WriteProfileInt(kSection, "MirrorAppstart", current.MirrorAppstart);
  written &= store.WriteProfileInt(kSection, "HideMinimized", current.HideMinimized);
  written &= store.WriteProfileInt(kSection, "StartMinimized", current.StartMinimized);
  written &= store.WriteProfileInt(kSection, "HideTyping", current.HideTyping);
  written &= store.WriteProfileInt(kSection, "ShakeEnlarge", current.ShakeEnlarge);
  return written;
}

void RevertSettings() { current = saved; }

bool IsDefaultName(const char* storedName) { return EqualsIgnoringCase(storedName, kDefaultName); }

bool IsSameAsNormalName(const char* storedName) { return EqualsIgnoringCase(storedName, kSameAsNormalName); }
