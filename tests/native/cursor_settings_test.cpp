#include "utility/records/cursor_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "utility/records/cursor_role_table.h"

namespace {

// A profile file in memory that records every call in order.
class FakeProfile : public ProfileStore {
 public:
  std::map<std::string, std::string> values;  // "section/key" -> text as stored
  std::vector<std::string> calls;

  void GetProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                        int size) override {
    calls.push_back(std::string("GetString ") + key);
    auto found = values.find(Name(section, key));
    const std::string& text = found == values.end() ? std::string(fallback) : found->second;
    std::snprintf(buffer, size, "%s", text.c_str());
  }
  int32_t GetProfileInt(const char* section, const char* key, int32_t fallback) override {
    calls.push_back(std::string("GetInt ") + key);
    auto found = values.find(Name(section, key));
    return found == values.end() ? fallback : static_cast<int32_t>(std::strtol(found->second.c_str(), nullptr, 10));
  }
  bool WriteProfileString(const char* section, const char* key, const char* value) override {
    calls.push_back(std::string("WriteString ") + key);
    if (refused == key) return false;
    values[Name(section, key)] = value;
    return true;
  }
  bool WriteProfileInt(const char* section, const char* key, int32_t value) override {
    calls.push_back(std::string("WriteInt ") + key);
    if (refused == key) return false;
    values[Name(section, key)] = std::to_string(value);
    return true;
  }
  std::string refused;  // the one key whose write fails

 private:
  static std::string Name(const char* section, const char* key) { return std::string(section) + "/" + key; }
};

// Every key, in the order the file holds them.
const std::vector<std::string> kKeyOrder = {
    "Normal",        "Appstart",       "Busy",          "Ibeam",          "Sizing", "Blink",   "BlkClr", "WhtClr",
    "MirrorNormal",  "MirrorAppstart", "HideMinimized", "StartMinimized", "HideTyping", "ShakeEnlarge",
    "Help",          "Cross",          "Pen",           "No",             "SizeAll", "UpArrow", "Hand",  "Pin",
    "Person",        "Scheme",         "DarkScheme",    "FollowDarkMode", "LeftHanded"};
bool IsNumberKey(const std::string& key) {
  return key == "Sizing" || key == "Blink" || key == "BlkClr" || key == "WhtClr" || key.compare(0, 6, "Mirror") == 0 ||
         key == "HideMinimized" || key == "StartMinimized" || key == "HideTyping" || key == "ShakeEnlarge" ||
         key == "FollowDarkMode" || key == "LeftHanded";
}
std::vector<std::string> Calls(const char* textCall, const char* numberCall) {
  std::vector<std::string> calls;
  for (const std::string& key : kKeyOrder) calls.push_back(std::string(IsNumberKey(key) ? numberCall : textCall) + " " + key);
  return calls;
}

bool SameSettings(const CursorSettings& a, const CursorSettings& b) {
  const bool texts = std::strcmp(a.Normal, b.Normal) == 0 && std::strcmp(a.Appstart, b.Appstart) == 0 &&
                     std::strcmp(a.Busy, b.Busy) == 0 && std::strcmp(a.Ibeam, b.Ibeam) == 0 &&
                     std::strcmp(a.Help, b.Help) == 0 && std::strcmp(a.Cross, b.Cross) == 0 &&
                     std::strcmp(a.Pen, b.Pen) == 0 && std::strcmp(a.No, b.No) == 0 &&
                     std::strcmp(a.SizeAll, b.SizeAll) == 0 && std::strcmp(a.UpArrow, b.UpArrow) == 0 &&
                     std::strcmp(a.Hand, b.Hand) == 0 && std::strcmp(a.Pin, b.Pin) == 0 &&
                     std::strcmp(a.Person, b.Person) == 0 && std::strcmp(a.Scheme, b.Scheme) == 0 &&
                     std::strcmp(a.DarkScheme, b.DarkScheme) == 0;
  return texts && a.Sizing == b.Sizing && a.Blink == b.Blink && a.BlkClr == b.BlkClr && a.WhtClr == b.WhtClr &&
         a.MirrorNormal == b.MirrorNormal && a.MirrorAppstart == b.MirrorAppstart && a.HideMinimized == b.HideMinimized &&
         a.StartMinimized == b.StartMinimized && a.HideTyping == b.HideTyping && a.ShakeEnlarge == b.ShakeEnlarge &&
         a.FollowDarkMode == b.FollowDarkMode && a.LeftHanded == b.LeftHanded;
}

TEST(LoadSettings, EmptyFileGivesTheDefaultsInBothRecords) {
  FakeProfile profile;
  std::memset(&current, 0x55, sizeof current);
  LoadSettings(profile);
  EXPECT_STREQ(current.Normal, "<Default>");
  EXPECT_STREQ(current.Appstart, "<Default>");
  EXPECT_STREQ(current.Busy, "<Default>");
  EXPECT_STREQ(current.Ibeam, "<Default>");
  EXPECT_EQ(current.Sizing, 0);
  EXPECT_EQ(current.BlkClr, 15);
  EXPECT_EQ(current.WhtClr, 0);
  EXPECT_EQ(current.Blink, 0);
  EXPECT_EQ(current.MirrorNormal, 0);
  EXPECT_EQ(current.MirrorAppstart, 0);
  EXPECT_EQ(current.HideMinimized, 0);
  EXPECT_EQ(current.StartMinimized, 0);
  EXPECT_EQ(current.HideTyping, 0) << "a file without the key reads 0";
  EXPECT_EQ(current.ShakeEnlarge, 0);
  for (const char* role : {current.Help, current.Cross, current.Pen, current.No, current.SizeAll, current.UpArrow,
                           current.Hand, current.Pin, current.Person}) {
    EXPECT_STREQ(role, "<Default>");
  }
  EXPECT_STREQ(current.Scheme, "<None>") << "no scheme: the platform's cursors, as before";
  EXPECT_STREQ(current.DarkScheme, "<None>");
  EXPECT_EQ(current.FollowDarkMode, 0) << "pointers stay as they are when Windows turns dark";
  EXPECT_EQ(current.LeftHanded, 0);
  EXPECT_TRUE(SameSettings(current, saved));
  EXPECT_TRUE(profile.values.empty()) << "loading must write nothing";
}

TEST(LoadSettings, ReadsTheKeysInTheirOrder) {
  FakeProfile profile;
  LoadSettings(profile);
  EXPECT_EQ(profile.calls, Calls("GetString", "GetInt"));
}

TEST(LoadSettings, TakesHandEditedValuesAsTheyAre) {
  FakeProfile profile;
  const std::string longName(600, 'x');
  profile.values = {{"Cursors/Normal", "<DEFAULT>"}, {"Cursors/Busy", longName + ".CUR"},
                    {"Cursors/Blink", "9"},          {"Cursors/BlkClr", "99"},
                    {"Cursors/WhtClr", "-3"},        {"Cursors/Sizing", "7"}};
  LoadSettings(profile);
  EXPECT_STREQ(current.Normal, "<DEFAULT>");
  EXPECT_EQ(std::string(current.Busy), longName + ".CUR");
  EXPECT_EQ(current.Blink, 9);
  EXPECT_EQ(current.BlkClr, 99);
  EXPECT_EQ(current.WhtClr, -3);
  EXPECT_EQ(current.Sizing, 7);
  EXPECT_TRUE(IsDefaultName(current.Normal));
}

TEST(LoadSettings, CutsATextLongerThanTheBufferWithoutOverrun) {
  FakeProfile profile;
  profile.values["Cursors/Ibeam"] = std::string(10000, 'y');
  LoadSettings(profile);
  EXPECT_EQ(std::strlen(current.Ibeam), static_cast<size_t>(kProfileTextSize - 1));
}

TEST(SaveSettings, WritesEveryKeyInOrderAndUpdatesSaved) {
  FakeProfile profile;
  LoadSettings(profile);
  std::snprintf(current.Normal, kProfileTextSize, "%s", "Inflated arrow.CUR");
  current.Blink = 3;
  current.WhtClr = 1;
  current.ShakeEnlarge = 1;
  profile.calls.clear();
  EXPECT_TRUE(SaveSettings(profile));
  EXPECT_EQ(profile.calls, Calls("WriteString", "WriteInt"));
  EXPECT_EQ(profile.values["Cursors/Normal"], "Inflated arrow.CUR");
  EXPECT_EQ(profile.values["Cursors/Blink"], "3");
  EXPECT_EQ(profile.values["Cursors/WhtClr"], "1");
  EXPECT_EQ(profile.values["Cursors/HideTyping"], "0");
  EXPECT_EQ(profile.values["Cursors/ShakeEnlarge"], "1");
  EXPECT_TRUE(SameSettings(current, saved));
}

// One refused write, first, in the middle or last: every key is still tried and the save says
// it failed, so OK can tell the user.
TEST(SaveSettings, ReportsAFailedWriteAfterTryingEveryKey) {
  for (const char* key : {"Normal", "Blink", "StartMinimized", "ShakeEnlarge", "Pin", "Scheme", "LeftHanded"}) {
    FakeProfile profile;
    LoadSettings(profile);
    profile.refused = key;
    profile.calls.clear();
    EXPECT_FALSE(SaveSettings(profile)) << key;
    EXPECT_EQ(profile.calls.size(), kKeyOrder.size()) << key;
    EXPECT_EQ(profile.values.size(), kKeyOrder.size() - 1) << key;
    EXPECT_TRUE(SameSettings(current, saved)) << key;
  }
}

TEST(SaveSettings, RoundTripsHandEditedValuesUnchanged) {
  FakeProfile profile;
  const std::string longName(600, 'z');
  profile.values = {{"Cursors/Normal", "<DEFAULT>"}, {"Cursors/Appstart", "<same AS normal>"},
                    {"Cursors/Busy", longName},      {"Cursors/Blink", "9"},
                    {"Cursors/BlkClr", "99"},        {"Cursors/HideTyping", "7"},
                    {"Cursors/Pin", "..\\..\\windows\\x.cur"}, {"Cursors/Scheme", "A scheme gone since"},
                    {"Cursors/DarkScheme", "<none>"},        {"Cursors/FollowDarkMode", "-1"},
                    {"Cursors/LeftHanded", "2"}};
  LoadSettings(profile);
  EXPECT_EQ(current.FollowDarkMode, -1);
  EXPECT_EQ(current.LeftHanded, 2);
  SaveSettings(profile);
  EXPECT_EQ(profile.values["Cursors/DarkScheme"], "<none>");
  EXPECT_EQ(profile.values["Cursors/FollowDarkMode"], "-1");
  EXPECT_EQ(profile.values["Cursors/LeftHanded"], "2");
  EXPECT_EQ(profile.values["Cursors/Pin"], "..\\..\\windows\\x.cur") << "a name that is no file name, kept as it stood";
  EXPECT_EQ(profile.values["Cursors/Scheme"], "A scheme gone since");
  EXPECT_EQ(profile.values["Cursors/HideTyping"], "7");
  EXPECT_EQ(profile.values["Cursors/Normal"], "<DEFAULT>");
  EXPECT_EQ(profile.values["Cursors/Appstart"], "<same AS normal>");
  EXPECT_EQ(profile.values["Cursors/Busy"], longName);
  EXPECT_EQ(profile.values["Cursors/Blink"], "9");
  EXPECT_EQ(profile.values["Cursors/BlkClr"], "99");
  EXPECT_EQ(profile.values.size(), kKeyOrder.size());
}

// Each role's stored choice is the field of its key; the sizing arrows have none of their own.
TEST(StoredChoice, EveryRoleOfAListOrOfMorePointersHasItsField) {
  CursorSettings settings = {};
  const std::map<std::string, char*> fields = {
      {"Normal", settings.Normal}, {"Appstart", settings.Appstart}, {"Busy", settings.Busy},
      {"Ibeam", settings.Ibeam},   {"Help", settings.Help},         {"Cross", settings.Cross},
      {"Pen", settings.Pen},       {"No", settings.No},             {"SizeAll", settings.SizeAll},
      {"UpArrow", settings.UpArrow}, {"Hand", settings.Hand},       {"Pin", settings.Pin},
      {"Person", settings.Person}};
  size_t withField = 0;
  for (size_t role = 0; role < kRoleCount; ++role) {
    const CursorRoleInfo& info = kCursorRoles[role];
    char* field = StoredChoice(settings, role);
    if (info.choice == RoleChoice::Sizing) {
      EXPECT_EQ(field, nullptr) << info.caption;
      continue;
    }
    ++withField;
    ASSERT_EQ(fields.count(info.settingsKey), 1u) << info.settingsKey;
    EXPECT_EQ(field, fields.at(info.settingsKey)) << info.caption;
    EXPECT_EQ(StoredChoice(static_cast<const CursorSettings&>(settings), role), field);
  }
  EXPECT_EQ(withField, fields.size());
  EXPECT_EQ(StoredChoice(settings, kRoleCount), nullptr);
}

TEST(RevertSettings, CopiesSavedBackIntoCurrentOnly) {
  FakeProfile profile;
  profile.values["Cursors/Busy"] = "Abacus.CUR";
  LoadSettings(profile);
  std::snprintf(current.Busy, kProfileTextSize, "%s", "Stop Watch.ANI");
  current.HideMinimized = 1;
  current.BlkClr = 2;
  profile.calls.clear();
  RevertSettings();
  EXPECT_STREQ(current.Busy, "Abacus.CUR");
  EXPECT_EQ(current.HideMinimized, 0);
  EXPECT_EQ(current.BlkClr, 15);
  EXPECT_TRUE(profile.calls.empty());
}

TEST(SpecialNames, MatchInAnyLetterCaseAndOnlyWhole) {
  struct Case {
    const char* text;
    bool isDefault;
    bool isSame;
  } cases[] = {
      {"<Default>", true, false},        {"<DEFAULT>", true, false},       {"<default>", true, false},
      {"<Default", false, false},        {"<Default>x", false, false},     {"Default", false, false},
      {"<Same as Normal>", false, true}, {"<SAME AS NORMAL>", false, true}, {"<Same as Normal", false, false},
      {"", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsDefaultName(c.text), c.isDefault) << c.text;
    EXPECT_EQ(IsSameAsNormalName(c.text), c.isSame) << c.text;
  }
}

}  // namespace
