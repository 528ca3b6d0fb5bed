// Schemes as the roles use them: where each role's cursor lies, and when a choice makes the
// whole a "<Custom>" one.
#include "utility/cursor/schemes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "utility/cursor/shipped_schemes.h"

namespace {

// `settings` as a first start has them: every role on "<Default>", the default arrows.
CursorSettings FirstStart() {
  CursorSettings settings = {};
  for (size_t role = 0; role < kRoleCount; ++role) {
    if (char* choice = StoredChoice(settings, role)) std::strcpy(choice, kDefaultName);
  }
  std::strcpy(settings.Scheme, kNoSchemeName);
  return settings;
}

std::string PathOf(const Scheme& scheme, size_t role) {
  char path[kTextBufferSize] = "#";
  const bool found = SchemeCursorPath(scheme, role, path, sizeof path);
  EXPECT_EQ(found, path[0] != '\0') << role;
  return path;
}

TEST(Schemes, NoneLeavesEveryRoleToThePlatform) {
  Scheme scheme;
  NoScheme(&scheme);
  EXPECT_STREQ(scheme.name, "<None>");
  for (size_t role = 0; role < kRoleCount; ++role) EXPECT_EQ(PathOf(scheme, role), "") << role;
}

TEST(Schemes, AShippedSchemeIsFoundInAnyCaseAndItsFilesLieInTheRoleFolders) {
  Scheme scheme;
  ASSERT_TRUE(FindShippedScheme("POINTREL HIGH visibility", &scheme));
  EXPECT_STREQ(scheme.name, "Pointrel High Visibility");
  EXPECT_FALSE(scheme.own);
  for (size_t role = 0; role < kRoleCount; ++role) {
    EXPECT_EQ(PathOf(scheme, role), std::string(kCursorRoles[role].folder) + kShippedSchemes[1].files[role]) << role;
  }
  Scheme untouched;
  std::strcpy(untouched.name, "kept");
  EXPECT_FALSE(FindShippedScheme("Pointrel High", &untouched));
  EXPECT_FALSE(FindShippedScheme("", &untouched));
  EXPECT_STREQ(untouched.name, "kept");
}

TEST(Schemes, AnOwnSchemesFilesLieInItsFolderAndOnlyPlainNamesAreComposed) {
  SchemeFile file;
  std::strcpy(file.name, "Ocean");
  std::strcpy(file.files[kRoleNormal], "wave.cur");
  std::strcpy(file.files[kRoleBusy], "..\\..\\windows\\win.ini");  // a hand-edited file: never composed
  std::strcpy(file.files[kRoleHelp], "CON");
  Scheme scheme;
  ASSERT_TRUE(OwnScheme(file, "C:\\Users\\me\\AppData\\Roaming\\Pointrel\\Schemes\\Ocean\\", &scheme));
  EXPECT_TRUE(scheme.own);
  EXPECT_STREQ(scheme.name, "Ocean");
  EXPECT_EQ(PathOf(scheme, kRoleNormal), "C:\\Users\\me\\AppData\\Roaming\\Pointrel\\Schemes\\Ocean\\wave.cur");
  EXPECT_EQ(PathOf(scheme, kRoleBusy), "");
  EXPECT_EQ(PathOf(scheme, kRoleHelp), "");
  EXPECT_EQ(PathOf(scheme, kRolePerson), "") << "left to the platform";

  const std::string longFolder(kTextBufferSize, 'f');
  Scheme before = scheme;
  EXPECT_FALSE(OwnScheme(file, longFolder.c_str(), &scheme));
  EXPECT_STREQ(scheme.folder, before.folder) << "untouched";
  // A folder that leaves no room for the name: no path, never a cut one.
  const std::string nearlyFull(kTextBufferSize - 4, 'g');
  ASSERT_TRUE(OwnScheme(file, (nearlyFull + "\\").c_str(), &scheme));
  EXPECT_EQ(PathOf(scheme, kRoleNormal), "");
  char tiny[4] = "#";
  EXPECT_FALSE(SchemeCursorPath(scheme, kRoleNormal, tiny, sizeof tiny));
  EXPECT_STREQ(tiny, "");
}

TEST(Schemes, AChoiceDiffersUnlessItShowsTheSchemesOwnCursor) {
  Scheme pointrel, none, own;
  ASSERT_TRUE(FindShippedScheme("Pointrel", &pointrel));
  NoScheme(&none);
  SchemeFile file;
  std::strcpy(file.name, "Mine");
  std::strcpy(file.files[kRoleHelp], "Pointrel help.CUR");
  ASSERT_TRUE(OwnScheme(file, "C:\\S\\Mine\\", &own));
  struct Case {
    const Scheme* scheme;
    size_t role;
    const char* stored;
    bool differs;
  } cases[] = {
      {&pointrel, kRoleHelp, "<Default>", false},
      {&pointrel, kRoleHelp, "<DEFAULT>", false},
      {&pointrel, kRoleHelp, "Pointrel help.CUR", false},
      {&pointrel, kRoleHelp, "pointrel HELP.cur", false},
      {&pointrel, kRoleHelp, "High visibility help.CUR", true},
      {&pointrel, kRoleAppStarting, "<Same as Normal>", true},
      {&pointrel, kRoleNormal, "Medium size arrow.CUR", false},
      {&none, kRoleNormal, "<Default>", false},
      {&none, kRoleNormal, "Medium size arrow.CUR", true},
      // An own scheme's file lies in its folder, not the library: a list entry is another file.
      {&own, kRoleHelp, "Pointrel help.CUR", true},
      {&own, kRoleHelp, "<Default>", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChoiceDiffersFromScheme(*c.scheme, c.role, c.stored), c.differs) << c.scheme->name << " " << c.role << " " << c.stored;
  }
}

TEST(Schemes, LargeArrowsDifferUnlessTheSchemesArrowsAreTheLargeOnes) {
  Scheme pointrel, highVisibility, none;
  ASSERT_TRUE(FindShippedScheme("Pointrel", &pointrel));
  ASSERT_TRUE(FindShippedScheme("Pointrel High Visibility", &highVisibility));
  NoScheme(&none);
  for (const Scheme* scheme : {&pointrel, &highVisibility, &none}) EXPECT_FALSE(SizingDiffersFromScheme(*scheme, 0)) << scheme->name;
  EXPECT_FALSE(SizingDiffersFromScheme(pointrel, 1)) << "Pointrel's arrows are the large ones";
  EXPECT_FALSE(SizingDiffersFromScheme(pointrel, 7)) << "any value but 0 is Large";
  EXPECT_TRUE(SizingDiffersFromScheme(highVisibility, 1));
  EXPECT_TRUE(SizingDiffersFromScheme(none, 1));
}

TEST(Schemes, TheWholeIsCustomOnceAnyRoleDiffers) {
  Scheme pointrel;
  ASSERT_TRUE(FindShippedScheme("Pointrel", &pointrel));
  CursorSettings settings = FirstStart();
  EXPECT_FALSE(SettingsDifferFromScheme(pointrel, settings));
  for (size_t role = 0; role < kRoleCount; ++role) {
    char* choice = StoredChoice(settings, role);
    if (!choice) continue;
    std::strcpy(choice, "Some other.CUR");
    EXPECT_TRUE(SettingsDifferFromScheme(pointrel, settings)) << kCursorRoles[role].caption;
    std::strcpy(choice, kDefaultName);
  }
  settings.Sizing = 1;
  EXPECT_FALSE(SettingsDifferFromScheme(pointrel, settings));
  Scheme none;
  NoScheme(&none);
  EXPECT_TRUE(SettingsDifferFromScheme(none, settings));
}

}  // namespace
