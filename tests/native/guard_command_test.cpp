// The guard's private command line: only the exact forms start a starter or a guard; anything
// else a user may type starts the normal utility.
#include "utility/records/guard_command.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct ParseCase {
  const char* commandLine;
  GuardRole role;
  uint32_t process;
};

TEST(GuardCommand, ParsesOnlyTheExactPrivateForms) {
  const ParseCase cases[] = {
      {"\"C:\\Pointrel\\Pointrel.EXE\" --pointrel-guard=1234", GuardRole::Guard, 1234},
      {"\"C:\\Pointrel\\Pointrel.EXE\" --pointrel-guard-start=77", GuardRole::Starter, 77},
      {"Pointrel.EXE --pointrel-guard-late=31", GuardRole::Guard, 31},
      {"Pointrel.EXE --pointrel-guard-start-late=32", GuardRole::Starter, 32},
      {"Pointrel.EXE --pointrel-guard-late=", GuardRole::None, 0},
      {"Pointrel.EXE --pointrel-guard-later=5", GuardRole::None, 0},
      {"Pointrel.EXE --pointrel-guard-late-start=5", GuardRole::None, 0},
      {"Pointrel.EXE --pointrel-guard=4294967295", GuardRole::Guard, 4294967295u},
      {"Pointrel.EXE   --pointrel-guard=9  ", GuardRole::Guard, 9},
      {"\"C:\\Program Files\\P\\Pointrel.EXE\" --pointrel-guard=5", GuardRole::Guard, 5},
      {"Pointrel.EXE", GuardRole::None, 0},
      {"\"C:\\Pointrel\\Pointrel.EXE\"", GuardRole::None, 0},
      {"Pointrel.EXE /guard", GuardRole::None, 0},
      {"Pointrel.EXE --pointrel-guard=", GuardRole::None, 0},
      {"Pointrel.EXE --pointrel-guard=0", GuardRole::None, 0},
      {"Pointrel.EXE --pointrel-guard=4294967296", GuardRole::None, 0},
      {"Pointrel.EXE --pointrel-guard=99999999999999999999999", GuardRole::None, 0},
      {"Pointrel.EXE --pointrel-guard=-5", GuardRole::None, 0},
      {"Pointrel.EXE --pointrel-guard=12x", GuardRole::None, 0},
      {"Pointrel.EXE --pointrel-guard=12 extra", GuardRole::None, 0},
      {"Pointrel.EXE extra --pointrel-guard=12", GuardRole::None, 0},
      {"Pointrel.EXE --POINTREL-GUARD=12", GuardRole::None, 0},
      {"\"C:\\Pointrel\\Pointrel.EXE --pointrel-guard=12", GuardRole::None, 0},
      {"", GuardRole::None, 0},
  };
  for (const ParseCase& c : cases) {
    const GuardCommand command = ParseGuardCommand(c.commandLine);
    EXPECT_EQ(command.role, c.role) << c.commandLine;
    EXPECT_EQ(command.utilityProcess, c.process) << c.commandLine;
    EXPECT_EQ(command.late, std::string(c.commandLine).find("-late=") != std::string::npos && c.role != GuardRole::None)
        << c.commandLine;
  }
  EXPECT_EQ(ParseGuardCommand(nullptr).role, GuardRole::None);
}

TEST(GuardCommand, FormattedArgumentsParseBack) {
  for (GuardRole role : {GuardRole::Starter, GuardRole::Guard}) {
    for (bool late : {false, true}) {
      for (uint32_t process : {1u, 4242u, 4294967295u}) {
        char argument[64];
        ASSERT_TRUE(FormatGuardArgument(role, late, process, argument, sizeof argument));
        const GuardCommand command = ParseGuardCommand(("\"C:\\P\\Pointrel.EXE\" " + std::string(argument)).c_str());
        EXPECT_EQ(command.role, role) << argument;
        EXPECT_EQ(command.late, late) << argument;
        EXPECT_EQ(command.utilityProcess, process) << argument;
      }
    }
  }
  char small[8] = "x";
  EXPECT_FALSE(FormatGuardArgument(GuardRole::Guard, false, 1, small, sizeof small));
  EXPECT_STREQ(small, "");
  EXPECT_FALSE(FormatGuardArgument(GuardRole::None, false, 1, small, sizeof small));
}

TEST(GuardCommand, EventNamesCarryTheProcessId) {
  char name[64];
  ASSERT_TRUE(FormatGuardEventName(kDefaultsRestoredEvent, 314, name, sizeof name));
  EXPECT_STREQ(name, "PointrelDefaultsRestored.314");
  ASSERT_TRUE(FormatGuardEventName(kGuardReadyEvent, 314, name, sizeof name));
  EXPECT_STREQ(name, "PointrelGuardReady.314");
  char tight[10];
  EXPECT_FALSE(FormatGuardEventName(kGuardReadyEvent, 314, tight, sizeof tight));
}

TEST(GuardCommand, TheHandedDefaultsFolderIsNamedForTheUtility) {
  char folder[64];
  ASSERT_TRUE(ComposeHandedDefaultsFolder("C:\\Temp\\", 314, folder, sizeof folder));
  EXPECT_STREQ(folder, "C:\\Temp\\Pointrel defaults 314");
  ASSERT_TRUE(ComposeHandedDefaultsFolder("C:\\Temp", 314, folder, sizeof folder));
  EXPECT_STREQ(folder, "C:\\Temp\\Pointrel defaults 314");
  EXPECT_FALSE(ComposeHandedDefaultsFolder("", 314, folder, sizeof folder));
  EXPECT_STREQ(folder, "");
  // Exactly fitting, and one short: never cut.
  const std::string base = std::string(sizeof folder - 1 - 1 - 21, 'f');
  ASSERT_TRUE(ComposeHandedDefaultsFolder(base.c_str(), 314, folder, sizeof folder));
  EXPECT_EQ(std::strlen(folder), sizeof folder - 1);
  EXPECT_FALSE(ComposeHandedDefaultsFolder((base + "g").c_str(), 314, folder, sizeof folder));
  EXPECT_STREQ(folder, "");
}

}  // namespace
