// Roles by the words of file names: folders named in the styles packs come in, whole words
// only, and each file and role used once, the better match first.
#include "utility/cursor/pack_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The file each role gets ("" for none), by registry name order.
std::vector<std::string> Matched(const std::vector<std::string>& files) {
  std::vector<const char*> names;
  for (const std::string& file : files) names.push_back(file.c_str());
  int fileOfRole[kRoleCount];
  MatchRolesByName(names.data(), names.size(), fileOfRole);
  std::vector<std::string> out;
  for (int file : fileOfRole) out.push_back(file >= 0 ? files[static_cast<size_t>(file)] : "");
  return out;
}

struct Folder {
  const char* name;
  std::vector<std::string> files;   // in the order a listing gives them
  std::vector<std::string> roles;   // expected, by role
};

TEST(PackNames, FoldersOfEveryNamingStyleFillTheirRoles) {
  const std::vector<std::string> captions = {
      "Normal Select.cur",     "Help Select.cur",        "Working in Background.ani", "Busy.ani",
      "Precision Select.cur",  "Text Select.cur",        "Handwriting.cur",           "Unavailable.cur",
      "Vertical Resize.cur",   "Horizontal Resize.cur",  "Diagonal Resize 1.cur",     "Diagonal Resize 2.cur",
      "Move.cur",              "Alternate Select.cur",   "Link Select.cur",           "Location Select.cur",
      "Person Select.cur"};
  const std::vector<std::string> platformStyle = {
      "aero_arrow.cur", "aero_helpsel.cur", "aero_working.ani", "aero_busy.ani", "cross_r.cur", "beam_r.cur",
      "aero_pen.cur",   "aero_unavail.cur", "aero_ns.cur",      "aero_ew.cur",   "aero_nwse.cur", "aero_nesw.cur",
      "aero_move.cur",  "aero_up.cur",      "aero_link.cur",    "aero_pin.cur",  "aero_person.cur"};
  const std::vector<std::string> registryNames = {
      "Arrow.cur",  "Help.cur",   "AppStarting.ani", "Wait.ani",  "Crosshair.cur", "IBeam.cur",
      "NWPen.cur",  "No.cur",     "SizeNS.cur",      "SizeWE.cur", "SizeNWSE.cur",  "SizeNESW.cur",
      "SizeAll.cur", "UpArrow.cur", "Hand.cur",      "Pin.cur",   "Person.cur"};
  const std::vector<std::string> camel = {
      "NormalSelect.cur",   "HelpSelect.cur",  "WorkingInBackground.ani", "BusyWait.ani",  "PrecisionSelect.cur",
      "TextSelect.cur",     "HandWriting.cur", "NotUnavailable.cur",      "VerticalResize.cur",
      "HorizontalResize.cur", "DiagonalResize1.cur", "DiagonalResize2.cur", "MoveAll.cur", "AlternateSelect.cur",
      "LinkSelect.cur",     "LocationSelect.cur", "PersonSelect.cur"};
  const std::vector<std::string> numbered = {
      "01-normal.cur",     "02-help.cur",       "03-working.ani",   "04-busy.ani",    "05-precision.cur",
      "06-text.cur",       "07-handwriting.cur", "08-unavailable.cur", "09-vertical.cur", "10-horizontal.cur",
      "11-diagonal_01.cur", "12-diagonal_02.cur", "13-move.cur",     "14-alternate.cur", "15-link.cur",
      "16-location.cur",   "17-person.cur"};
  std::vector<std::string> shuffled = captions;
  std::swap(shuffled[0], shuffled[16]);
  std::swap(shuffled[3], shuffled[11]);
  std::swap(shuffled[6], shuffled[14]);
  const Folder folders[] = {
      {"the platform's captions", captions, captions},
      {"the captions, listed in another order", shuffled, captions},
      {"the platform's own file names", platformStyle, platformStyle},
      {"registry names", registryNames, registryNames},
      {"camel case", camel, camel},
      {"numbered", numbered, numbered},
      {"fifteen roles, snake case, upper case (\"app_starting\" is two words of no role)",
       {"POINTER.CUR", "help_me.cur", "app_starting.ani", "please_wait.ani", "cross.cur", "i_beam.cur", "pen.cur",
        "no_entry.cur", "size_ns.cur", "size_we.cur", "diagonal_1.cur", "diagonal_2.cur", "move_it.cur", "up_arrow.cur",
        "hand_link.cur"},
       {"POINTER.CUR", "help_me.cur", "", "please_wait.ani", "cross.cur", "i_beam.cur", "pen.cur", "no_entry.cur",
        "size_ns.cur", "size_we.cur", "diagonal_1.cur", "diagonal_2.cur", "move_it.cur", "up_arrow.cur", "hand_link.cur", "", ""}},
      {"other languages: what holds no known word is left alone",
       {"Normal.cur", "Hilfe.cur", "Besch\xC3\xA4" "ftigt.ani", "\xE7\x9F\xA2\xE5\x8D\xB0.cur", "Texte.cur",
        "D\xC3\xA9placer.cur", "Lien.cur", "Vertical.cur", "Horizontal.cur"},
       {"Normal.cur", "", "", "", "", "", "", "", "Vertical.cur", "Horizontal.cur", "", "", "", "", "", "", ""}},
  };
  for (const Folder& folder : folders) EXPECT_EQ(Matched(folder.files), folder.roles) << folder.name;
}

TEST(PackNames, WordsMatchOnlyWholeWords) {
  struct Case {
    const char* name;
    RoleIndex role;
    bool matches;
  };
  const Case cases[] = {
      {"normal.cur", kRoleUnavailable, false},    // "no" is no word of it
      {"No.cur", kRoleUnavailable, true},
      {"no-go.cur", kRoleUnavailable, true},
      {"pickup.cur", kRoleAlternate, false},      // nor "up" of "pickup"
      {"PickUp.cur", kRoleAlternate, true},       // but a capital starts a word
      {"handwriting.cur", kRoleLink, false},
      {"hand.cur", kRoleLink, true},
      {"textured.cur", kRoleIBeam, false},
      {"penguin.cur", kRoleHandwriting, false},
      {"webbed.cur", kRoleSizeWE, false},
      {"diagonal.cur", kRoleSizeNWSE, false},     // which diagonal is not said
      {"diagonal 10.cur", kRoleSizeNWSE, false},
      {"diagonal 01.cur", kRoleSizeNWSE, true},
      {"Diagonal1.cur", kRoleSizeNWSE, true},
      {"1 diagonal.cur", kRoleSizeNWSE, true},
      {"diagonal 1.cur", kRoleSizeNESW, false},
      {"move.cur.bak", kRoleMove, true},          // the last extension only is dropped
      {"help.move", kRoleMove, false},
      {"IBeam.cur", kRoleIBeam, true},
      {"working.ani", kRoleBusy, false},
  };
  for (const Case& c : cases) EXPECT_EQ(RoleNameScore(c.name, c.role) > 0, c.matches) << c.name;
}

TEST(PackNames, EachFileAndRoleIsUsedOnceTheBetterMatchFirst) {
  const Folder folders[] = {
      // "Up Arrow" is Alternate (up weighs more than arrow); "Arrow" alone is Normal.
      {"arrows", {"Up Arrow.cur", "Arrow.cur"}, {"Arrow.cur", "", "", "", "", "", "", "", "", "", "", "", "", "Up Arrow.cur"}},
      // The general "pointer" gives way to the word that names a role.
      {"pointer prefixes", {"Pointer Busy.ani", "Pointer Help.cur", "Pointer.cur"},
       {"Pointer.cur", "Pointer Help.cur", "", "Pointer Busy.ani"}},
      // Handwriting beats link for "hand writing"; the link file then gets Link.
      {"hand writing", {"hand writing.cur", "hand.cur"},
       {"", "", "", "", "", "", "hand writing.cur", "", "", "", "", "", "", "", "hand.cur"}},
      // Two files for one role: the shorter name, then the first in byte order.
      {"two of one role", {"Busy (large).ani", "Busy.cur", "Busy.ani"}, {"", "", "", "Busy.ani"}},
      // One file fitting two roles equally goes to the first of them in the roles' order.
      {"one file, two roles", {"busy working.ani"}, {"", "", "busy working.ani"}},
      // ...unless a better file takes that role first.
      {"one file, two roles, one taken", {"busy working.ani", "working.ani"}, {"", "", "working.ani", "busy working.ani"}},
      {"no words at all", {".cur", "___.cur", "123.ani"}, {}},
  };
  for (const Folder& folder : folders) {
    std::vector<std::string> expected = folder.roles;
    expected.resize(kRoleCount);
    EXPECT_EQ(Matched(folder.files), expected) << folder.name;
  }
}

}  // namespace
