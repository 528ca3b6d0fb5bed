// The .theme reader: the cursors section by role name, as the platform's own theme files and
// hand-made ones write it.
#include "utility/cursor/pack_theme.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/common/pack_fixtures.h"

namespace {

using Bytes = std::vector<uint8_t>;
using pack_fixtures::FromText;

// As the platform saves a theme: keys in alphabetical order, environment variables in paths,
// the scheme's name as the section's default value, other sections around it.
const char kSaved[] =
    "; Saved by the personalisation settings\r\n"
    "[Theme]\r\n"
    "DisplayName=Midnight\r\n"
    "[Control Panel\\Desktop]\r\n"
    "Wallpaper=%SystemRoot%\\web\\wallpaper\\night.jpg\r\n"
    "[Control Panel\\Cursors]\r\n"
    "AppStarting=%SystemRoot%\\cursors\\mid_working.ani\r\n"
    "Arrow=%SystemRoot%\\cursors\\mid_arrow.cur\r\n"
    "Crosshair=\r\n"
    "Hand=%SystemRoot%\\cursors\\mid_link.cur\r\n"
    "Help=%SystemRoot%\\cursors\\mid_helpsel.cur\r\n"
    "IBeam=\r\n"
    "No=%SystemRoot%\\cursors\\mid_unavail.cur\r\n"
    "NWPen=%SystemRoot%\\cursors\\mid_pen.cur\r\n"
    "Person=%SystemRoot%\\cursors\\mid_person.cur\r\n"
    "Pin=%SystemRoot%\\cursors\\mid_pin.cur\r\n"
    "SizeAll=%SystemRoot%\\cursors\\mid_move.cur\r\n"
    "SizeNESW=%SystemRoot%\\cursors\\mid_nesw.cur\r\n"
    "SizeNS=%SystemRoot%\\cursors\\mid_ns.cur\r\n"
    "SizeNWSE=%SystemRoot%\\cursors\\mid_nwse.cur\r\n"
    "SizeWE=%SystemRoot%\\cursors\\mid_ew.cur\r\n"
    "UpArrow=%SystemRoot%\\cursors\\mid_up.cur\r\n"
    "Wait=%SystemRoot%\\cursors\\mid_busy.ani\r\n"
    "DefaultValue=Midnight Cursors\r\n"
    "Scheme Source=2\r\n"
    "[VisualStyles]\r\n"
    "Path=%ResourceDir%\\Themes\\Aero\\Aero.msstyles\r\n";

// Made by hand: any letter case, quotes, blanks, a key given twice, paths of every kind.
const char kHandMade[] =
    "[control panel\\cursors]\n"
    "  arrow = \"C:\\My Cursors\\Pointer.cur\"\n"
    "ARROW=second.cur\n"
    "busy=..\\..\\windows\\win.ini\n"
    "Wait=%ThemeDir%\\busy.ani\n"
    "Hand=\\\\server\\share\\link.cur\n"
    "Pin=CON\n"
    "Unknown=whatever.cur\n"
    "[Other]\n"
    "Help=not this one.cur\n";

struct Shape {
  const char* name;
  Bytes bytes;
  bool found;
  std::string schemeName;
  std::vector<std::string> files;
};

TEST(PackTheme, CursorSectionsGiveEachRoleItsFile) {
  std::vector<std::string> saved = {"mid_arrow.cur", "mid_helpsel.cur", "mid_working.ani", "mid_busy.ani", "",
                                    "",              "mid_pen.cur",     "mid_unavail.cur", "mid_ns.cur",   "mid_ew.cur",
                                    "mid_nwse.cur",  "mid_nesw.cur",    "mid_move.cur",    "mid_up.cur",   "mid_link.cur",
                                    "mid_pin.cur",   "mid_person.cur"};
  std::vector<std::string> handMade(kRoleCount);
  handMade[kRoleNormal] = "Pointer.cur";
  handMade[kRoleBusy] = "busy.ani";
  handMade[kRoleLink] = "link.cur";
  handMade[kRoleLocation] = "CON";
  const Shape shapes[] = {
      {"as the platform saves it", FromText(kSaved), true, "Midnight Cursors", saved},
      {"saved as UTF-16", pack_fixtures::Utf16(kSaved), true, "Midnight Cursors", saved},
      {"made by hand", FromText(kHandMade), true, "", handMade},
      {"no cursors section", FromText("[Theme]\nDisplayName=Plain\n[Control Panel\\Colors]\nWindow=255 255 255\n"),
       false, "", {}},
      {"only a name", FromText("[Control Panel\\Cursors]\nDefaultValue=Nothing\n"), false, "", {}},
      {"nothing", {}, false, "", {}},
  };
  for (const Shape& shape : shapes) {
    auto read = std::make_unique<PackDescription>();
    EXPECT_EQ(ReadTheme(shape.bytes.data(), shape.bytes.size(), read.get()), shape.found) << shape.name;
    EXPECT_EQ(std::string(read->schemeName), shape.schemeName) << shape.name;
    for (size_t role = 0; role < kRoleCount; ++role) {
      const std::string expected = role < shape.files.size() ? shape.files[role] : "";
      EXPECT_EQ(std::string(read->files[role]), expected) << shape.name << ", " << kCursorRoles[role].registryName;
    }
    pack_fixtures::WriteSeed("pack_theme", shape.name, shape.bytes);
  }
}

TEST(PackTheme, ValuesTooLongAreMarkedCut) {
  const std::string theme = "[Control Panel\\Cursors]\nArrow=" + std::string(5000, 'a') + ".cur\nHelp=" +
                            std::string(600, 'h') + ".cur\nWait=w.ani\n";
  auto read = std::make_unique<PackDescription>();
  ASSERT_TRUE(ReadTheme(reinterpret_cast<const uint8_t*>(theme.data()), theme.size(), read.get()));
  EXPECT_TRUE(read->cut[kRoleNormal]);
  EXPECT_TRUE(read->cut[kRoleHelp]);
  EXPECT_FALSE(read->cut[kRoleBusy]);
  EXPECT_EQ(std::string(read->files[kRoleBusy]), "w.ani");
}

}  // namespace
