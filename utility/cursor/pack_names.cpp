#include "utility/cursor/pack_names.h"

#include <cstdint>
#include <cstring>

#include "platform/zip_reader.h"

namespace {

// The words that name each role, one row per word or phrase.
struct RoleWord {
  RoleIndex role;
  const char* word;
  const char* second;  // a phrase's second word, or null
  uint8_t weight;
};

constexpr RoleWord kRoleWords[] = {
    {kRoleNormal, "normal", nullptr, 2},
    {kRoleNormal, "arrow", nullptr, 1},
    {kRoleNormal, "pointer", nullptr, 1},
    {kRoleHelp, "help", nullptr, 2},
    {kRoleHelp, "helpsel", nullptr, 2},
    {kRoleAppStarting, "working", nullptr, 2},
    {kRoleAppStarting, "appstarting", nullptr, 2},
    {kRoleAppStarting, "appstart", nullptr, 2},
    {kRoleBusy, "busy", nullptr, 2},
    {kRoleBusy, "wait", nullptr, 2},
    {kRolePrecision, "precision", nullptr, 2},
    {kRolePrecision, "cross", nullptr, 2},
    {kRolePrecision, "crosshair", nullptr, 2},
    {kRoleIBeam, "text", nullptr, 2},
    {kRoleIBeam, "ibeam", nullptr, 2},
    {kRoleIBeam, "beam", nullptr, 2},
    {kRoleHandwriting, "handwriting", nullptr, 2},
    {kRoleHandwriting, "hand", "writing", 4},
    {kRoleHandwriting, "pen", nullptr, 2},
    {kRoleHandwriting, "nwpen", nullptr, 2},
    {kRoleUnavailable, "unavailable", nullptr, 2},
    {kRoleUnavailable, "unavail", nullptr, 2},
    {kRoleUnavailable, "no", nullptr, 2},
    {kRoleSizeNS, "vertical", nullptr, 2},
    {kRoleSizeNS, "ns", nullptr, 2},
    {kRoleSizeNS, "sizens", nullptr, 2},
    {kRoleSizeWE, "horizontal", nullptr, 2},
    {kRoleSizeWE, "ew", nullptr, 2},
    {kRoleSizeWE, "we", nullptr, 2},
    {kRoleSizeWE, "sizewe", nullptr, 2},
    {kRoleSizeNWSE, "diagonal", "1", 4},
    {kRoleSizeNWSE, "nwse", nullptr, 2},
    {kRoleSizeNWSE, "sizenwse", nullptr, 2},
    {kRoleSizeNESW, "diagonal", "2", 4},
    {kRoleSizeNESW, "nesw", nullptr, 2},
    {kRoleSizeNESW, "sizenesw", nullptr, 2},
    {kRoleMove, "move", nullptr, 2},
    {kRoleMove, "sizeall", nullptr, 2},
    {kRoleAlternate, "alternate", nullptr, 2},
    {kRoleAlternate, "up", nullptr, 2},
    {kRoleAlternate, "uparrow", nullptr, 2},
    {kRoleLink, "link", nullptr, 2},
    {kRoleLink, "hand", nullptr, 2},
    {kRoleLocation, "location", nullptr, 2},
    {kRoleLocation, "pin", nullptr, 2},
    {kRolePerson, "person", nullptr, 2},
};

// Longer words match no row; a name's words past this many are not read.
constexpr size_t kWordSize = 16;
constexpr size_t kMostWords = 64;

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(char c) { return (c >= 'a' && c <= 'z') || static_cast<unsigned char>(c) >= 0x80; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsWordChar(char c) { return IsUpper(c) || IsLower(c) || IsDigit(c); }

class Words {
 public:
  explicit Words(const char* name);
  bool Has(const char* word) const {
    for (size_t i = 0; i < count_; ++i) {
      if (std::strcmp(words_[i], word) == 0) return true;
    }
    return false;
  }

 private:
  void Add(const char* begin, const char* end);

  char words_[kMostWords][kWordSize];
  size_t count_ = 0;
};

// A piece ends where a lower-case letter meets a capital ("Link|Select"), where the last of
// several capitals starts a word ("I|Beam"), and where letters meet digits ("diagonal|1").
bool PieceBreak(const char* at, const char* end) {
  const char before = at[-1], here = at[0];
  if (IsDigit(before) != IsDigit(here)) return true;
  if (IsLower(before) && IsUpper(here)) return true;
  return IsUpper(before) && IsUpper(here) && at + 1 < end && IsLower(at[1]) && !IsDigit(at[1]);
}

Words::Words(const char* name) {
  const char* end = std::strrchr(name, '.');
  if (!end) end = name + std::strlen(name);
  for (const char* at = name; at < end;) {
    if (!IsWordChar(*at)) {
      ++at;
      continue;
    }
    const char* run = at;
    while (at < end && IsWordChar(*at)) ++at;
    Add(run, at);
    const char* piece = run;
    for (const char* cut = run + 1; cut < at; ++cut) {
      if (!PieceBreak(cut, at)) continue;
      Add(piece, cut);
      piece = cut;
    }
    if (piece != run) Add(piece, at);
  }
}

void Words::Add(const char* begin, const char* end) {
  if (IsDigit(*begin)) {
    while (end - begin > 1 && *begin == '0') ++begin;  // "01" is "1"
  }
  const size_t length = static_cast<size_t>(end - begin);
  if (count_ == kMostWords || length >= kWordSize) return;
  for (size_t i = 0; i < length; ++i) words_[count_][i] = IsUpper(begin[i]) ? static_cast<char>(begin[i] - 'A' + 'a') : begin[i];
  words_[count_++][length] = '\0';
}

int Score(const Words& words, size_t role) {
  int score = 0;
  for (const RoleWord& row : kRoleWords) {
    if (row.role == role && words.Has(row.word) && (!row.second || words.Has(row.second))) score += row.weight;
  }
  return score;
}

}  // namespace

int RoleNameScore(const char* name, size_t role) { return Score(Words(name), role); }

void MatchRolesByName(const char* const* names, size_t count, int (&fileOfRole)[kRoleCount]) {
  for (int& file : fileOfRole) file = -1;
  if (count > zip::kMostFiles) count = zip::kMostFiles;
  uint8_t scores[zip::kMostFiles][kRoleCount];
  size_t lengths[zip::kMostFiles];
  bool taken[zip::kMostFiles] = {};
  for (size_t file = 0; file < count; ++file) {
    const Words words(names[file]);
    for (size_t role = 0; role < kRoleCount; ++role) scores[file][role] = static_cast<uint8_t>(Score(words, role));
    lengths[file] = std::strlen(names[file]);
  }
  // Does the pair (file a, role ra) come before (file b, role rb)?
  auto before = [&](size_t a, size_t ra, size_t b, size_t rb) {
    if (scores[a][ra] != scores[b][rb]) return scores[a][ra] > scores[b][rb];
    if (lengths[a] != lengths[b]) return lengths[a] < lengths[b];
    const int order = std::strcmp(names[a], names[b]);
    if (order != 0) return order < 0;
    return ra != rb ? ra < rb : a < b;
  };
  for (;;) {
    size_t bestFile = count, bestRole = 0;
    for (size_t file = 0; file < count; ++file) {
      if (taken[file]) continue;
      for (size_t role = 0; role < kRoleCount; ++role) {
        if (fileOfRole[role] >= 0 || scores[file][role] == 0) continue;
        if (bestFile == count || before(file, role, bestFile, bestRole)) bestFile = file, bestRole = role;
      }
    }
    if (bestFile == count) return;
    fileOfRole[bestRole] = static_cast<int>(bestFile);
    taken[bestFile] = true;
  }
}
