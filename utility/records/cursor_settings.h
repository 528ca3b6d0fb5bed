// Every persisted choice of the utility, one field per key of section "Cursors", and the two
// process-wide records: `current` (shown and installed) and `saved` (last loaded or saved).
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/text_buffers.h"

// The two bracketed special values of the cursor choices.
constexpr char kDefaultName[] = "<Default>";
constexpr char kSameAsNormalName[] = "<Same as Normal>";

struct CursorSettings {
  char Normal[kProfileTextSize];
  char Appstart[kProfileTextSize];
  char Busy[kProfileTextSize];
  char Ibeam[kProfileTextSize];
  int32_t Sizing;
  int32_t Blink;
  int32_t BlkClr;
  int32_t WhtClr;
  int32_t MirrorNormal;
  int32_t MirrorAppstart;
  int32_t HideMinimized;
  int32_t StartMinimized;
  int32_t HideTyping;    // hide the pointer while the user types (any value but 0 is on)
  int32_t ShakeEnlarge;  // enlarge the pointer when the user shakes the mouse
  // The roles chosen in "More pointers...", stored as the list roles are.
  char Help[kProfileTextSize];
  char Cross[kProfileTextSize];
  char Pen[kProfileTextSize];
  char No[kProfileTextSize];
  char SizeAll[kProfileTextSize];
  char UpArrow[kProfileTextSize];
  char Hand[kProfileTextSize];
  char Pin[kProfileTextSize];
  char Person[kProfileTextSize];
  // The scheme whose cursors the roles on "<Default>" show: "<None>" (the platform's), a scheme
  // that ships with Pointrel or one of the user's own, by its name.
  char Scheme[kProfileTextSize];
  // While FollowDarkMode is on (any value but 0), the scheme in force while Windows' apps are
  // dark; Scheme stays the light one.
  char DarkScheme[kProfileTextSize];
  int32_t FollowDarkMode;
  // Every pointer that points or leans mirrored (the role table's leftHand column).
  int32_t LeftHanded;
};

// The scheme value that stands for none: every role on "<Default>" shows the platform's cursor.
constexpr char kNoSchemeName[] = "<None>";

extern CursorSettings current;
extern CursorSettings saved;

// The profile calls of the application object, as a seam so the store is testable natively.
class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  // Copies the value (or `fallback`) into `buffer` of `size` characters, cut to fit.
  virtual void GetProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                                int size) = 0;
  virtual int32_t GetProfileInt(const char* section, const char* key, int32_t fallback) = 0;
  // False when the value could not be written (a read-only file, a full disk).
  virtual bool WriteProfileString(const char* section, const char* key, const char* value) = 0;
  virtual bool WriteProfileInt(const char* section, const char* key, int32_t value) = 0;
};

// Fills `current` from the store, then makes `saved` equal to it. No value is corrected.
void LoadSettings(ProfileStore& store);
// Makes `saved` equal to `current`, then writes every key (the twelve of the first Pointrel,
// HideTyping and ShakeEnlarge, the nine roles of "More pointers...", Scheme, DarkScheme,
// FollowDarkMode and LeftHanded), each tried
// whatever became of the others: true when every one was written.
bool SaveSettings(ProfileStore& store);

// The choice of role `role` of the role table in `settings` (its settingsKey's field), or null
// for a role chosen otherwise (the sizing arrows' radios).
char* StoredChoice(CursorSettings& settings, size_t role);
const char* StoredChoice(const CursorSettings& settings, size_t role);
// Cancel: `current` becomes `saved` again; no file is touched.
void RevertSettings();

// The bracketed special values, recognised in any letter case.
bool IsDefaultName(const char* storedName);
bool IsSameAsNormalName(const char* storedName);
