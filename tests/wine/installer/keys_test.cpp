// Keys typed as a person types them, twice and three times in a row, on every page of the real
// WENDSET.EXE: each moves on by one page at most, nothing but the copy's own end or Cancel ends
// the copy page, and the last page says "complete" only once everything is in place.
#include "tests/wine/installer/installer_driver.h"

using namespace installer_driver;

namespace {



class Keys : public Installer {
 protected:
  // Started (from the medium, or `from`): the destination page, reached by Enter twice.
  Seen ToDestination(const std::string& from = "") {
    Start(from);
    Seen welcome = WaitFor(Screen::Welcome);
    return welcome.window ? Type(welcome, VK_RETURN, 2, Screen::Destination) : welcome;
  }
  // The page after `page` once `count` presses of `key` went to it; checks that no further page
  // follows within a while.
  Seen Type(const Seen& page, WORD key, int count, Screen next) {
    LetThePageSettle();
    TypeKeys(page.window, key, count);
    Seen seen = WaitFor(next, page.window);
    if (next != Screen::None && next != Screen::Finish) {
      LetThePageSettle();
      EXPECT_EQ(seen.window, Current(*program).window) << "a further key went on to " << Name(Current(*program).screen);
    }
    return seen;
  }
  // Everything in place: the files, the uninstaller and its record, the chosen shortcuts, the entry.
  void ExpectComplete(const std::string& from = "") {
    ExpectRowsInstalled("C:\\Pointrel", kManifestRows, from);
    EXPECT_EQ(ReadFile(kInstallerExe), ReadFile("C:\\Pointrel\\Uninstall.EXE"));
    EXPECT_TRUE(FileExists("C:\\Pointrel\\Uninstall.DAT"));
    EXPECT_TRUE(FileExists(desktopLink));
    EXPECT_TRUE(FileExists(startMenuLink));
    EXPECT_TRUE(EntryExists());
  }
};

// Enter twice on the welcome page, three times on the destination page and on the copy page:
// one page at a time, and the copy runs to its end; the finish page shows only once all is in
// place; Escape three times there ends it.
TEST_F(Keys, RepeatedEnterMovesOnePageAndNeverEndsTheCopy) {
  Seen destination = ToDestination();
  ASSERT_NE(nullptr, destination.window);
  Seen progress = Type(destination, VK_RETURN, 3, Screen::Progress);
  ASSERT_NE(nullptr, progress.window);
  LetThePageSettle();
  TypeKeys(progress.window, VK_RETURN, 3);
  Seen finish;
  bool sawCompleteOnlyAtTheEnd = true;
  wine_test::WaitFor(
      [&] {
        finish = Current(*program);
        if (finish.screen != Screen::Finish) return program->HasExited();
        // The moment the finish page is there, everything is.
        sawCompleteOnlyAtTheEnd = FileExists("C:\\Pointrel\\Uninstall.DAT") && EntryExists();
        return true;
      },
      60000);
  ASSERT_EQ(Screen::Finish, finish.screen) << "the copy page ended otherwise";
  EXPECT_TRUE(sawCompleteOnlyAtTheEnd);
  ExpectComplete();
  LetThePageSettle();
  TypeKeys(finish.window, VK_ESCAPE, 3);
  EXPECT_TRUE(program->WaitForExit(10000));
  ExpectComplete();
}

// A double click on Continue: the second click lands where the next page's Continue is, and is
// the first page's, not the next one's.
TEST_F(Keys, ADoubleClickMovesOnePage) {
  Start();
  Seen welcome = WaitFor(Screen::Welcome);
  ASSERT_NE(nullptr, welcome.window);
  LetThePageSettle();
  ClickTwice(::GetDlgItem(welcome.window, IDOK));
  Seen destination = WaitFor(Screen::Destination, welcome.window);
  ASSERT_NE(nullptr, destination.window);
  LetThePageSettle();
  EXPECT_EQ(destination.window, Current(*program).window) << "the second click went on to " << Name(Current(*program).screen);
  Press(destination.window, IDCANCEL);
  ExpectMessagesThenEnd({});
}

// Escape twice on the welcome page, three times on the destination page, twice on the copy page
// (its Cancel): the installer ends each time, and a first installation leaves nothing.
TEST_F(Keys, EscapeOnEveryPageLeavesNothing) {
  const std::vector<std::string> rootBefore = Listing("C:");
  for (int page = 0; page < 3; ++page) {
    Start();
    Seen welcome = WaitFor(Screen::Welcome);
    ASSERT_NE(nullptr, welcome.window);
    if (page == 0) {
      Type(welcome, VK_ESCAPE, 2, Screen::None);
    } else {
      Seen destination = Type(welcome, VK_RETURN, 1, Screen::Destination);
      ASSERT_NE(nullptr, destination.window);
      if (page == 1) {
        Type(destination, VK_ESCAPE, 3, Screen::None);
      } else {
        Seen progress = Type(destination, VK_RETURN, 1, Screen::Progress);
        ASSERT_NE(nullptr, progress.window);
        // Once a few files are copied.
        ASSERT_TRUE(wine_test::WaitFor([&] { return !TextOf(progress.window, IDC_SHOWN_SOURCE).empty(); }, 10000));
        Type(progress, VK_ESCAPE, 2, Screen::None);
      }
    }
    ExpectMessagesThenEnd({});
    EXPECT_EQ(rootBefore, Listing("C:")) << "page " << page;
    EXPECT_FALSE(EntryExists()) << "page " << page;
    EXPECT_FALSE(FileExists(desktopLink)) << "page " << page;
  }
}

// With Pointrel running: Enter three times at the destination page reaches the question (a
// stray Enter may answer it: Yes is what was asked for anyway); Escape twice on the copy page
// cancels it, the installation is as it was and Pointrel runs again; then the same to the end,
// and Pointrel runs again from the new installation.
TEST_F(Keys, WithPointrelRunningItRunsAgainAfterEveryEnd) {
  ASSERT_EQ(0u, QuietInstall("/desktop", kBuiltMedium));
  for (bool cancel : {true, false}) {
    Program utility("C:\\Pointrel\\Pointrel.EXE", "C:\\Pointrel");
    ASSERT_NE(nullptr, utility.WaitForWindow("Pointrel")) << "cancel " << cancel;
    const std::string record = ReadFile("C:\\Pointrel\\Uninstall.DAT");
    Seen destination = ToDestination(kBuiltMedium);
    ASSERT_NE(nullptr, destination.window);
    LetThePageSettle();
    TypeKeys(destination.window, VK_RETURN, 3);
    Seen next;
    wine_test::WaitFor([&] {
      next = Current(*program);
      return next.screen == Screen::Message || next.screen == Screen::Progress;
    });
    if (next.screen == Screen::Message) {
      EXPECT_EQ("Pointrel is running. Close it and continue?", next.text);
      Type(next, VK_RETURN, 2, Screen::Progress);
    }
    Seen progress = WaitFor(Screen::Progress);
    ASSERT_NE(nullptr, progress.window);
    EXPECT_TRUE(utility.WaitForExit(10000)) << "ended for the copy";
    if (cancel) {
      Type(progress, VK_ESCAPE, 2, Screen::None);
      ExpectMessagesThenEnd({});
      EXPECT_EQ(record, ReadFile("C:\\Pointrel\\Uninstall.DAT")) << "the installation as it was";
    } else {
      Seen finish = WaitFor(Screen::Finish, nullptr, 60000);
      ASSERT_NE(nullptr, finish.window);
      Type(finish, VK_RETURN, 2, Screen::None);
      EXPECT_TRUE(program->WaitForExit(10000));
    }
    ExpectComplete(kBuiltMedium);
    HWND again = nullptr;
    ASSERT_TRUE(wine_test::WaitFor([&] { return (again = InstalledUtilityWindow(utility.id())) != nullptr; }))
        << "Pointrel is not running again after " << (cancel ? "the Cancel" : "the installation");
    CloseUtility(again);
  }
}

}  // namespace
