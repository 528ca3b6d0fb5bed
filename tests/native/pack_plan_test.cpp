// The import plan: packs as folders and as archives, each role's file found where the rules
// say and checked as a cursor, the reason named when it cannot serve, hostile names kept inside
// the pack, the limits, the scheme's name numbered when taken, and the scheme file it makes.
#include "utility/cursor/pack_plan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/file_names.h"
#include "tests/common/pack_fixtures.h"
#include "tests/common/zip_writer.h"

namespace {

using Bytes = std::vector<uint8_t>;
using pack_fixtures::FromText;
using pack_fixtures::MemoryPack;
using pack_fixtures::SmallCursor;

const std::vector<std::string> kCaptions = {
    "Normal Select.cur",    "Help Select.cur",       "Working in Background.ani", "Busy.ani",
    "Precision Select.cur", "Text Select.cur",       "Handwriting.cur",           "Unavailable.cur",
    "Vertical Resize.cur",  "Horizontal Resize.cur", "Diagonal Resize 1.cur",     "Diagonal Resize 2.cur",
    "Move.cur",             "Alternate Select.cur",  "Link Select.cur",           "Location Select.cur",
    "Person Select.cur"};

// An install .inf whose scheme line names `files` by position (through variables named after
// nothing in particular) under the scheme name `name`.
std::string Inf(const std::string& name, const std::vector<std::string>& files) {
  std::string line, strings;
  for (size_t i = 0; i < files.size(); ++i) {
    line += (i ? "," : "") + std::string("%10%\\%CUR_DIR%\\%v") + std::to_string(i) + "%";
    strings += "v" + std::to_string(i) + " = \"" + files[i] + "\"\r\n";
  }
  return "[DefaultInstall]\r\nAddReg = Scheme.Reg\r\n[Scheme.Reg]\r\nHKCU,\"Control Panel\\Cursors\\Schemes\",\"" + name +
         "\",,\"" + line + "\"\r\n[Strings]\r\nCUR_DIR = \"Cursors\\" + name + "\"\r\n" + strings;
}

struct Planned {
  std::unique_ptr<PackListing> listing = std::make_unique<PackListing>();
  std::unique_ptr<ImportPlan> plan = std::make_unique<ImportPlan>();
  bool planned = false;
};

Planned Plan(MemoryPack& pack, const std::vector<std::string>& existing = {}, int describer = -1,
             const char* packName = "Pack") {
  Planned out;
  pack.List(out.listing.get());
  std::vector<const char*> names;
  for (const std::string& name : existing) names.push_back(name.c_str());
  out.planned = PlanImport(*out.listing, pack, describer, packName, {names.data(), names.size()}, out.plan.get());
  for (size_t index : pack.reads) EXPECT_LT(index, out.listing->count()) << "read outside the listing";
  return out;
}

// The path of the file each role got ("" for none).
std::vector<std::string> Chosen(const Planned& p) {
  std::vector<std::string> out;
  for (const PlannedRole& role : p.plan->roles) out.push_back(role.file >= 0 ? (*p.listing)[role.file].path : "");
  return out;
}

std::vector<std::string> InFolder(const std::string& folder, const std::vector<std::string>& names) {
  std::vector<std::string> out;
  for (const std::string& name : names) out.push_back(name.empty() ? "" : folder + name);
  return out;
}

TEST(PackPlan, AFolderWithAnInfGetsEveryRoleFromItsSchemeLine) {
  MemoryPack pack;
  pack.Add("Ocean Breeze/readme.txt", FromText("Enjoy"));
  pack.Add("Ocean Breeze/install.inf", pack_fixtures::Utf16(Inf("Ocean Breeze", kCaptions)));
  for (size_t i = 0; i < kCaptions.size(); ++i) pack.Add("Ocean Breeze/" + kCaptions[i], SmallCursor(i));
  const Planned p = Plan(pack);
  ASSERT_TRUE(p.planned);
  EXPECT_EQ(p.plan->source, PackSource::Inf);
  EXPECT_EQ(p.plan->describer, 1);
  EXPECT_STREQ(p.plan->folder, "Ocean Breeze");
  EXPECT_STREQ(p.plan->schemeName, "Ocean Breeze");
  EXPECT_EQ(Chosen(p), InFolder("Ocean Breeze/", kCaptions));
  for (size_t role = 0; role < kRoleCount; ++role) {
    EXPECT_EQ(p.plan->roles[role].problem, RoleProblem::None) << role;
    EXPECT_EQ(std::string(p.plan->roles[role].target), kCaptions[role]);
  }
}

TEST(PackPlan, AnArchiveWithFoldersPicksTheInfThatFindsMostAndLooksInItsFolderFirst) {
  // Two sizes of one pack, each with its .inf; a third .inf in the top folder names files the
  // pack lacks; a .theme finds as many as the small .inf but loses to it.
  std::vector<zip_writer::Member> members;
  members.push_back(zip_writer::File("Pack/", {}, 0));
  members.push_back(zip_writer::File("Pack/broken.inf", FromText(Inf("Broken", {"gone.cur", "away.cur"}))));
  members.push_back(zip_writer::File("Pack/Small/install.inf", FromText(Inf("Ocean Small", {"arrow.cur", "help.cur"}))));
  members.push_back(zip_writer::File("Pack/Small/arrow.cur", SmallCursor(1)));
  members.push_back(zip_writer::File("Pack/Small/help.cur", SmallCursor(2)));
  members.push_back(
      zip_writer::File("Pack/Large/install.inf", FromText(Inf("Ocean Large", {"arrow.cur", "help.cur", "busy.ani"}))));
  members.push_back(zip_writer::File("Pack/Large/arrow.cur", SmallCursor(3)));
  members.push_back(zip_writer::File("Pack/Large/help.cur", SmallCursor(4), 0));
  // busy.ani lies only in the small folder: found there when the large folder lacks it.
  members.push_back(zip_writer::File("Pack/Small/busy.ani", SmallCursor(5)));
  members.push_back(zip_writer::File(
      "Pack/ocean.theme", FromText("[Control Panel\\Cursors]\nArrow=%ThemeDir%\\arrow.cur\nHelp=help.cur\n")));
  const Bytes archive = zip_writer::Write(members).bytes;
  pack_fixtures::WriteSeed("zip_reader", "pack of two sizes", archive);

  auto opened = std::make_unique<zip::Archive>();
  ASSERT_EQ(zip::OpenZip(archive.data(), archive.size(), opened.get()), zip::Problem::None);
  ZipPack pack(*opened);
  auto listing = std::make_unique<PackListing>();
  pack.List(listing.get());
  ASSERT_EQ(listing->count(), 9u);
  auto plan = std::make_unique<ImportPlan>();
  ASSERT_TRUE(PlanImport(*listing, pack, -1, "ocean.zip", {nullptr, 0}, plan.get()));
  EXPECT_EQ(plan->source, PackSource::Inf);
  EXPECT_STREQ((*listing)[plan->describer].path, "Pack/Large/install.inf");
  EXPECT_STREQ(plan->folder, "Pack/Large");
  EXPECT_STREQ(plan->schemeName, "Ocean Large");
  const char* expected[] = {"Pack/Large/arrow.cur", "Pack/Large/help.cur", "Pack/Small/busy.ani", ""};
  for (size_t role = 0; role < 4; ++role) {
    const int file = plan->roles[role].file;
    EXPECT_EQ(file >= 0 ? std::string((*listing)[file].path) : "", expected[role]) << role;
  }

  // With the large .inf gone, the small one and the .theme both find two: the .inf wins.
  members.erase(members.begin() + 5);
  const Bytes smaller = zip_writer::Write(members).bytes;
  ASSERT_EQ(zip::OpenZip(smaller.data(), smaller.size(), opened.get()), zip::Problem::None);
  pack.List(listing.get());
  ASSERT_TRUE(PlanImport(*listing, pack, -1, "ocean.zip", {nullptr, 0}, plan.get()));
  EXPECT_STREQ((*listing)[plan->describer].path, "Pack/Small/install.inf");
  // The user may name the .theme; its names are then looked up from the top folder.
  int theme = -1;
  for (size_t i = 0; i < listing->count(); ++i) {
    if (std::string((*listing)[i].path) == "Pack/ocean.theme") theme = static_cast<int>(i);
  }
  ASSERT_TRUE(PlanImport(*listing, pack, theme, "ocean.zip", {nullptr, 0}, plan.get()));
  EXPECT_EQ(plan->source, PackSource::Theme);
  EXPECT_STREQ(plan->schemeName, "ocean.zip");
  // Not in the top folder: the one in the fewest folders, the first listed among equals.
  EXPECT_STREQ((*listing)[plan->roles[kRoleNormal].file].path, "Pack/Small/arrow.cur");
}

TEST(PackPlan, HostileNamesNeverLeaveThePackAndEachProblemIsNamed) {
  MemoryPack pack;
  const std::vector<std::string> named = {
      "..\\..\\windows\\win.ini",           // Normal: no cursor file
      "C:\\Windows\\Cursors\\arrow.cur",    // Help: the pack's own arrow.cur
      "%10%\\..\\x",                        // AppStarting: no cursor file
      "\\\\server\\share\\evil.cur",        // Busy: not in the pack
      "CON.cur",                            // Precision: a device
      "%24%\\damaged.cur",                  // IBeam: damaged
      "%10%\\Cursors\\large.ani",           // Handwriting: too large to be a cursor
      "unreadable.cur",                     // Unavailable: cannot be read
      "readme.txt",                         // SizeNS: in the pack, but no cursor file
      "",                                   // SizeWE: the platform's
      "/etc/arrow.cur"};                    // SizeNWSE: the pack's arrow.cur again
  pack.Add("install.inf", FromText(Inf("..\\..\\Evil", named)));
  pack.Add("arrow.cur", SmallCursor(1));
  pack.Add("damaged.cur", FromText("not a cursor at all"));
  pack.Add("readme.txt", FromText("hello"));
  pack.Add("unreadable.cur", SmallCursor(2));
  pack.Add("CON.cur", SmallCursor(3));
  pack.Add("win.ini", FromText("[windows]"));
  Planned p;
  pack.List(p.listing.get());
  p.listing->Add("large.ani", cursor_file::kLargestFile + 1);  // listed, never read
  struct FailingPack : PackReader {
    MemoryPack& inner;
    explicit FailingPack(MemoryPack& pack) : inner(pack) {}
    bool Read(size_t index, uint8_t* out) override {
      reads.push_back(index);
      return index != 4 && index != 7 && inner.Read(index, out);
    }
    std::vector<size_t> reads;
  } failing(pack);
  ASSERT_TRUE(PlanImport(*p.listing, failing, -1, "Evil Pack", {nullptr, 0}, p.plan.get()));
  EXPECT_EQ(p.plan->source, PackSource::Inf);
  struct Expected {
    RoleProblem problem;
    const char* named;
    const char* file;
  };
  const Expected expected[] = {
      {RoleProblem::NotCursorName, "win.ini", ""},   {RoleProblem::None, "arrow.cur", "arrow.cur"},
      {RoleProblem::NotCursorName, "x", ""},         {RoleProblem::Missing, "evil.cur", ""},
      {RoleProblem::NotPlainName, "CON.cur", ""},    {RoleProblem::Damaged, "damaged.cur", ""},
      {RoleProblem::TooLarge, "large.ani", ""},      {RoleProblem::Unreadable, "unreadable.cur", ""},
      {RoleProblem::NotCursorName, "readme.txt", ""}, {RoleProblem::None, "", ""},
      {RoleProblem::None, "arrow.cur", "arrow.cur"},
  };
  for (size_t role = 0; role < kRoleCount; ++role) {
    const PlannedRole& planned = p.plan->roles[role];
    const Expected e = role < std::size(expected) ? expected[role] : Expected{RoleProblem::None, "", ""};
    EXPECT_EQ(planned.problem, e.problem) << kCursorRoles[role].registryName;
    EXPECT_STREQ(planned.named, e.named) << kCursorRoles[role].registryName;
    EXPECT_EQ(planned.file >= 0 ? std::string((*p.listing)[planned.file].path) : "", e.file);
    if (planned.problem != RoleProblem::None) {
      EXPECT_EQ(planned.file, -1);
    }
    EXPECT_STRNE(RoleProblemText(planned.problem), planned.problem == RoleProblem::None ? "x" : "");
  }
  // The .inf, the files it names that the pack holds, and nothing else, each once; the file
  // too large to be a cursor is never read.
  EXPECT_EQ(std::multiset<size_t>(failing.reads.begin(), failing.reads.end()), (std::multiset<size_t>{0, 1, 2, 4}));
  EXPECT_STREQ(p.plan->schemeName, "..\\..\\Evil");
  char folder[kSchemeNameSize];
  SchemeFolderName(p.plan->schemeName, folder);
  EXPECT_STREQ(folder, ".._.._Evil");
}

TEST(PackPlan, AnArchivesOwnPathsComeDownToPlainNamesInTheSchemeFolder) {
  const std::vector<zip_writer::Member> members = {
      zip_writer::File("install.inf", FromText(Inf("Paths", {"Normal.cur", "Help.cur", "Busy.ani", "CON.cur", "x.cur"}))),
      zip_writer::File("../../Normal.cur", SmallCursor(1)),
      zip_writer::File("/abs/Help.cur", SmallCursor(2)),
      zip_writer::File("C:Busy.ani", SmallCursor(3)),
      zip_writer::File("Cursors/CON.cur", SmallCursor(4)),
      zip_writer::File("sub\\..\\x.cur", SmallCursor(5)),
  };
  const Bytes archive = zip_writer::Write(members).bytes;
  pack_fixtures::WriteSeed("zip_reader", "paths of every kind", archive);
  auto opened = std::make_unique<zip::Archive>();
  ASSERT_EQ(zip::OpenZip(archive.data(), archive.size(), opened.get()), zip::Problem::None);
  ZipPack pack(*opened);
  auto listing = std::make_unique<PackListing>();
  pack.List(listing.get());
  auto plan = std::make_unique<ImportPlan>();
  ASSERT_TRUE(PlanImport(*listing, pack, -1, "paths", {nullptr, 0}, plan.get()));
  struct Expected {
    const char* path;
    const char* target;
    RoleProblem problem;
  };
  const Expected expected[] = {{"../../Normal.cur", "Normal.cur", RoleProblem::None},
                               {"/abs/Help.cur", "Help.cur", RoleProblem::None},
                               {"", "", RoleProblem::Missing},  // "C:Busy.ani" is no file of that name
                               {"", "", RoleProblem::NotPlainName},
                               {"sub/../x.cur", "x.cur", RoleProblem::None}};
  for (size_t role = 0; role < std::size(expected); ++role) {
    const PlannedRole& planned = plan->roles[role];
    EXPECT_EQ(planned.file >= 0 ? std::string((*listing)[planned.file].path) : "", expected[role].path) << role;
    EXPECT_STREQ(planned.target, expected[role].target) << role;
    EXPECT_EQ(planned.problem, expected[role].problem) << role;
    if (planned.target[0]) {
      EXPECT_TRUE(IsPlainFileName(planned.target));
    }
  }
}

TEST(PackPlan, PacksOfNoInfAreMatchedByNameInTheirCursorFolder) {
  MemoryPack pack;
  pack.Add("Ocean/preview.png", FromText("png"));
  pack.Add("Ocean/Extras/Normal Select.cur", SmallCursor(9));
  for (size_t i = 0; i < kCaptions.size(); ++i) pack.Add("Ocean/Cursors/" + kCaptions[i], SmallCursor(i));
  pack.Add("Ocean/Cursors/Busy (large).ani", SmallCursor(20));
  pack.Add("Ocean/Cursors/notes.inf", FromText("; no scheme here\n"));
  const Planned p = Plan(pack, {}, -1, "Ocean");
  ASSERT_TRUE(p.planned);
  EXPECT_EQ(p.plan->source, PackSource::Names);
  EXPECT_STREQ(p.plan->folder, "Ocean/Cursors");
  EXPECT_STREQ(p.plan->schemeName, "Ocean");
  EXPECT_EQ(Chosen(p), InFolder("Ocean/Cursors/", kCaptions));

  // An .inf naming files the pack lacks gives way to the names, unless the user named it.
  MemoryPack stale;
  stale.Add("install.inf", FromText(Inf("Stale", {"old arrow.cur", "old help.cur"})));
  stale.Add("Normal.cur", SmallCursor(1));
  stale.Add("Help.cur", SmallCursor(2));
  const Planned byNames = Plan(stale);
  EXPECT_EQ(byNames.plan->source, PackSource::Names);
  EXPECT_EQ(Chosen(byNames)[kRoleHelp], "Help.cur");
  EXPECT_STREQ(byNames.plan->schemeName, "Pack");
  const Planned asNamed = Plan(stale, {}, 0);
  EXPECT_EQ(asNamed.plan->source, PackSource::Inf);
  EXPECT_STREQ(asNamed.plan->schemeName, "Stale");
  EXPECT_EQ(asNamed.plan->roles[kRoleNormal].problem, RoleProblem::Missing);
  EXPECT_STREQ(asNamed.plan->roles[kRoleHelp].named, "old help.cur");
}

TEST(PackPlan, PacksBeyondTheLimitsOrWithoutCursorsAreRefused) {
  MemoryPack many;
  for (int i = 0; i < 65; ++i) many.Add("f" + std::to_string(i) + ".cur", SmallCursor(i));
  EXPECT_FALSE(Plan(many).planned);
  EXPECT_EQ(Plan(many).plan->refusal, PackRefusal::TooManyFiles);
  EXPECT_TRUE(many.reads.empty());

  Planned large;
  large.listing->Add("a.cur", kMostPackBytes / 2);
  large.listing->Add("b.cur", kMostPackBytes / 2 + 1);
  MemoryPack unread;
  EXPECT_FALSE(PlanImport(*large.listing, unread, -1, "Big", {nullptr, 0}, large.plan.get()));
  EXPECT_EQ(large.plan->refusal, PackRefusal::TooLarge);
  EXPECT_TRUE(unread.reads.empty());
  large.listing->Clear();
  large.listing->Add("a.cur", kMostPackBytes / 2);
  large.listing->Add("b.cur", kMostPackBytes / 2);
  EXPECT_TRUE(PlanImport(*large.listing, unread, -1, "Big", {nullptr, 0}, large.plan.get()));

  MemoryPack none;
  none.Add("install.inf", FromText(Inf("Nothing", {"a.png"})));
  none.Add("a.png", FromText("png"));
  EXPECT_FALSE(Plan(none).planned);
  EXPECT_EQ(Plan(none).plan->refusal, PackRefusal::NoCursorFiles);
  for (PackRefusal refusal : {PackRefusal::TooManyFiles, PackRefusal::TooLarge, PackRefusal::NoCursorFiles}) {
    EXPECT_STRNE(PackRefusalText(refusal), "");
  }
}

TEST(PackPlan, NamesAreNumberedWhenTakenAndFilesKeepApartInTheSchemeFolder) {
  // One file serving six roles is read and copied once; a path naming a subfolder is reduced
  // to its name, found in the .inf's folder.
  MemoryPack pack;
  pack.Add("install.inf",
           FromText(Inf("Blocks", {"pointer.cur", "Big/pointer.cur", "grab.cur", "grab.cur", "GRAB.CUR", "grab.cur",
                                   "grab.cur", "grab.cur"})));
  pack.Add("pointer.cur", SmallCursor(1));
  pack.Add("grab.cur", SmallCursor(2));
  pack.Add("Big/Pointer.cur", SmallCursor(3));
  const Planned first = Plan(pack, {"Pointrel", "Blocks"});
  ASSERT_TRUE(first.planned);
  EXPECT_STREQ(first.plan->schemeName, "Blocks (2)");
  const char* targets[] = {"pointer.cur", "pointer.cur", "grab.cur", "grab.cur", "grab.cur", "grab.cur", "grab.cur",
                           "grab.cur"};
  for (size_t role = 0; role < std::size(targets); ++role) EXPECT_STREQ(first.plan->roles[role].target, targets[role]);
  EXPECT_EQ(first.plan->roles[kRoleHelp].file, first.plan->roles[kRoleNormal].file);
  EXPECT_EQ(std::count(pack.reads.begin(), pack.reads.end(), 2u), 1) << "grab.cur read once";
  // Importing again gives a third name.
  EXPECT_STREQ(Plan(pack, {"Pointrel", "Blocks", "Blocks (2)"}).plan->schemeName, "Blocks (3)");

  // The user gives Help the big pointer: two files of one name, told apart.
  MemoryPack again = pack;
  Planned p = Plan(again);
  ChooseRoleFile(*p.listing, again, kRoleHelp, 3, p.plan.get());
  EXPECT_EQ(p.plan->roles[kRoleHelp].file, 3);
  EXPECT_STREQ(p.plan->roles[kRoleHelp].named, "Pointer.cur");
  EXPECT_STREQ(p.plan->roles[kRoleHelp].target, "Pointer (2).cur");
  // ...a file that is no cursor: refused with its reason; then none at all.
  ChooseRoleFile(*p.listing, again, kRoleBusy, 0, p.plan.get());
  EXPECT_EQ(p.plan->roles[kRoleBusy].problem, RoleProblem::NotCursorName);
  EXPECT_EQ(p.plan->roles[kRoleBusy].file, -1);
  ChooseRoleFile(*p.listing, again, kRoleNormal, -1, p.plan.get());
  EXPECT_EQ(p.plan->roles[kRoleNormal].file, -1);
  EXPECT_STREQ(p.plan->roles[kRoleNormal].target, "");
  EXPECT_STREQ(p.plan->roles[kRoleHelp].target, "Pointer.cur");  // no longer a second of its name

  // The scheme file of the plan names each role's target, and reads back.
  auto scheme = std::make_unique<SchemeFile>();
  PlannedSchemeFile(*p.plan, scheme.get());
  std::vector<char> text(kLargestSchemeFile);
  const size_t length = WriteSchemeFile(*scheme, text.data(), text.size());
  ASSERT_GT(length, 0u);
  auto read = std::make_unique<SchemeFile>();
  auto ignored = std::make_unique<SchemeFileIgnored>();
  ASSERT_TRUE(ReadSchemeFile(reinterpret_cast<const uint8_t*>(text.data()), length, read.get(), ignored.get()));
  EXPECT_STREQ(read->name, "Blocks");
  for (size_t role = 0; role < kRoleCount; ++role) {
    EXPECT_STREQ(read->files[role], p.plan->roles[role].target) << role;
    if (read->files[role][0]) {
      EXPECT_TRUE(IsPlainFileName(read->files[role]));
    }
  }
}

TEST(PackPlan, TheCheckedBytesAreTheFilesOwn) {
  MemoryPack pack;
  const Bytes cursor = SmallCursor(7);
  pack.Add("a.cur", cursor);
  pack.Add("b.cur", FromText("RIFF....ACON"));
  auto listing = std::make_unique<PackListing>();
  pack.List(listing.get());
  PackCursor loaded;
  ASSERT_EQ(loaded.Load(*listing, pack, 0), RoleProblem::None);
  EXPECT_EQ(Bytes(loaded.bytes(), loaded.bytes() + loaded.size()), cursor);
  EXPECT_EQ(loaded.checked().kind, cursor_file::Kind::Static);
  EXPECT_EQ(loaded.Load(*listing, pack, 1), RoleProblem::Damaged);
  EXPECT_EQ(loaded.bytes(), nullptr);
  EXPECT_EQ(loaded.size(), 0u);
}

TEST(PackPlan, ZipProblemsHaveTheirOwnWords) {
  std::set<std::string> texts;
  for (int problem = static_cast<int>(zip::Problem::NotZip); problem <= static_cast<int>(zip::Problem::CrcMismatch);
       ++problem) {
    const std::string text = ZipProblemText(static_cast<zip::Problem>(problem));
    EXPECT_FALSE(text.empty()) << problem;
    texts.insert(text);
  }
  EXPECT_EQ(texts.size(), static_cast<size_t>(zip::Problem::CrcMismatch));
}

}  // namespace
