// The public import argument: the forms a user, a shortcut or a browser's "open with" writes,
// and every other command line left to the normal utility.
#include "utility/records/import_command.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ParseCase {
  const char* commandLine;
  bool import;
  bool quiet;
  const char* path;
};

TEST(ImportCommand, ParsesTheImportFormsAndNothingElse) {
  const ParseCase cases[] = {
      {"\"C:\\Pointrel\\Pointrel.EXE\" /import \"C:\\My packs\\Neon.zip\"", true, false, "C:\\My packs\\Neon.zip"},
      {"Pointrel.EXE /import C:\\packs\\install.inf /quiet", true, true, "C:\\packs\\install.inf"},
      {"Pointrel.EXE /quiet /import C:\\packs\\a.theme", true, true, "C:\\packs\\a.theme"},
      {"Pointrel.EXE -IMPORT \"C:\\a b\\c\" -Quiet", true, true, "C:\\a b\\c"},
      {"Pointrel.EXE   /import   x.zip   ", true, false, "x.zip"},
      {"\"C:\\Program Files\\P\\Pointrel.EXE\" /import C:\\\"a b\"\\c.inf", true, false, "C:\\a b\\c.inf"},
      // No import: nothing, a lone switch, a missing or empty path, an unknown or repeated word.
      {"Pointrel.EXE", false, false, ""},
      {"\"C:\\Pointrel\\Pointrel.EXE\"", false, false, ""},
      {"Pointrel.EXE /quiet", false, false, ""},
      {"Pointrel.EXE /import", false, false, ""},
      {"Pointrel.EXE /import   ", false, false, ""},
      {"Pointrel.EXE /import \"\"", false, false, ""},
      {"Pointrel.EXE /import \"C:\\unclosed", false, false, ""},
      {"Pointrel.EXE /import a.zip extra", false, false, ""},
      {"Pointrel.EXE /imports a.zip", false, false, ""},
      {"Pointrel.EXE import a.zip", false, false, ""},
      {"Pointrel.EXE /import a.zip /import b.zip", false, false, ""},
      {"Pointrel.EXE /import a.zip /quiet /quiet", false, false, ""},
      {"Pointrel.EXE --pointrel-guard=12", false, false, ""},
      {"Pointrel.EXE /import a.zip --pointrel-guard=12", false, false, ""},
      {"\"C:\\unclosed program /import a.zip", false, false, ""},
  };
  for (const ParseCase& c : cases) {
    const ImportCommand command = ParseImportCommand(c.commandLine);
    EXPECT_EQ(command.import, c.import) << c.commandLine;
    EXPECT_EQ(command.quiet, c.quiet) << c.commandLine;
    EXPECT_EQ(std::string(command.path), c.import ? c.path : "") << c.commandLine;
  }
  EXPECT_FALSE(ParseImportCommand(nullptr).import);
}

TEST(ImportCommand, APathThatDoesNotFitIsNoImport) {
  const std::string fits(kTextBufferSize - 1, 'p'), over(kTextBufferSize, 'p');
  const ImportCommand longest = ParseImportCommand(("P.EXE /import " + fits).c_str());
  EXPECT_TRUE(longest.import);
  EXPECT_EQ(std::string(longest.path), fits);
  EXPECT_FALSE(ParseImportCommand(("P.EXE /import " + over).c_str()).import);
  EXPECT_FALSE(ParseImportCommand(("P.EXE /import \"" + over + "\"").c_str()).import);
  // A program name longer than any path the platform gives: not read as an import.
  EXPECT_FALSE(ParseImportCommand(("\"" + over + "\" /import a.zip").c_str()).import);
}

}  // namespace
