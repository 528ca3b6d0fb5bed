// The installer's record as text: what it writes reads back the same, at every stage and size;
// and whatever else is read (cut short anywhere, a byte changed anywhere, edited lines with a
// check recomputed to match, paths that would lead outside the folder) is refused whole, never
// half taken.
#include "installer/install_record.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

std::string Compose(const InstallRecord& record) {
  std::string text(ComposeRecord(record, nullptr, 0), '\0');
  std::vector<char> buffer(text.size() + 1);
  EXPECT_EQ(text.size(), ComposeRecord(record, buffer.data(), buffer.size()));
  return std::string(buffer.data(), text.size());
}

RecordDamage Parse(const std::string& text, InstallRecord& record, int& line) {
  return ParseRecord(text.data(), text.size(), record, line);
}

// A record with every kind of line: many files (deep, Cyrillic, odd but allowed names), made
// folders, all three shortcuts.
void Fill(InstallRecord& record, RecordStage stage, int files) {
  ASSERT_TRUE(record.Reserve(files, 3));
  record.stage = stage;
  std::strcpy(record.folder, "C:\\Программы\\Pointrel");
  record.folderMade = stage != RecordStage::Done;
  ASSERT_TRUE(record.AddMadeFolder("NORMAL"));
  ASSERT_TRUE(record.AddMadeFolder("Schemes"));
  ASSERT_TRUE(record.AddMadeFolder("Schemes\\Ocean blue"));
  const char* names[] = {"Pointrel.EXE", "BUSY\\There is nothing wrong....ANI", "NORMAL\\Apollo (no flame).CUR",
                         "Schemes\\Ocean blue\\Курсор.cur", " leading space.CUR"};
  for (int index = 0; index < files; ++index) {
    const std::string path = index < 5 ? names[index] : "NORMAL\\cursor " + std::to_string(index) + ".CUR";
    const FileDigest digest{static_cast<std::uint64_t>(index) * 7919u, 0xFEDCBA9876543210ull ^ static_cast<std::uint64_t>(index)};
    ASSERT_TRUE(record.AddFile(path.c_str(), stage == RecordStage::Staging ? FileDigest{} : digest)) << path;
  }
  ASSERT_TRUE(record.SetShortcut(ShortcutKind::Desktop, "C:\\Users\\Łukasz\\Desktop\\Pointrel.LNK"));
  ASSERT_TRUE(record.SetShortcut(ShortcutKind::StartMenu, "C:\\Users\\Łukasz\\Start Menu\\Programs\\Pointrel.LNK"));
  ASSERT_TRUE(record.SetShortcut(ShortcutKind::Startup, "D:\\Start\\Pointrel.LNK"));
}

void ExpectSame(const InstallRecord& a, const InstallRecord& b) {
  EXPECT_EQ(a.stage, b.stage);
  EXPECT_STREQ(a.folder, b.folder);
  EXPECT_EQ(a.folderMade, b.folderMade);
  ASSERT_EQ(a.fileCount, b.fileCount);
  for (int i = 0; i < a.fileCount; ++i) {
    EXPECT_STREQ(a.files[i].path, b.files[i].path) << i;
    EXPECT_TRUE(a.files[i].digest == b.files[i].digest) << i;
  }
  ASSERT_EQ(a.madeFolderCount, b.madeFolderCount);
  for (int i = 0; i < a.madeFolderCount; ++i) EXPECT_STREQ(a.madeFolders[i], b.madeFolders[i]);
  for (int k = 0; k < kShortcutKinds; ++k) EXPECT_STREQ(a.shortcuts[k], b.shortcuts[k]) << k;
}

TEST(InstallRecord, ReadsBackWhatItWrote) {
  for (RecordStage stage : {RecordStage::Staging, RecordStage::Swapping, RecordStage::Undoing, RecordStage::Done}) {
    for (int files : {0, 1, 53, 600}) {
      InstallRecord written;
      Fill(written, stage, files);
      const std::string text = Compose(written);
      InstallRecord read;
      int line = -1;
      ASSERT_EQ(RecordDamage::None, Parse(text, read, line)) << "stage " << static_cast<int>(stage) << ", " << files
                                                             << " files, line " << line << "\n"
                                                             << text.substr(0, 400);
      ExpectSame(written, read);
      EXPECT_EQ(text, Compose(read)) << "composed again, the same bytes";
    }
  }
  // The empty record of a drive's root.
  InstallRecord root;
  ASSERT_TRUE(root.Reserve(0, 0));
  std::strcpy(root.folder, "D:\\");
  InstallRecord read;
  int line = 0;
  EXPECT_EQ(RecordDamage::None, Parse(Compose(root), read, line));
  EXPECT_STREQ("D:\\", read.folder);
}

TEST(InstallRecord, TheTextIsAsDocumented) {
  InstallRecord record;
  ASSERT_TRUE(record.Reserve(1, 0));
  std::strcpy(record.folder, "C:\\Pointrel");
  ASSERT_TRUE(record.AddFile("Pointrel.EXE", FileDigest{53248, 0x0f1e2d3c4b5a6978ull}));
  ASSERT_TRUE(record.SetShortcut(ShortcutKind::StartMenu, "C:\\Menu\\Pointrel.LNK"));
  const std::string text = Compose(record);
  const std::string body =
      "Pointrel installation record 1\r\nstage=done\r\nfolder=C:\\Pointrel\r\n"
      "file=53248 0f1e2d3c4b5a6978 Pointrel.EXE\r\nshortcut=start-menu C:\\Menu\\Pointrel.LNK\r\n";
  ASSERT_EQ(0u, text.find(body)) << text;
  char check[17];
  std::snprintf(check, sizeof check, "%016llx",
                static_cast<unsigned long long>(ContinueHash(kHashStart, body.data(), body.size())));
  EXPECT_EQ(body + "check=" + check + "\r\n", text);
}

TEST(InstallRecord, AddsOnlyPathsInsideItsFolder) {
  InstallRecord record;
  ASSERT_TRUE(record.Reserve(64, 8));
  for (const char* path : {"", "\\Pointrel.EXE", "C:\\Windows\\win.ini", "..\\x", "NORMAL\\..\\..\\x", "a\\\\b", "a\\",
                           ".", "NORMAL\\.", "CON", "NORMAL\\nul.txt", "Dot.", "Trail ", "a/b", "a:b", "a\tb", "a*",
                           "COM1", "lpt9.cur"}) {
    EXPECT_FALSE(record.AddFile(path, FileDigest{})) << path;
    EXPECT_FALSE(record.AddMadeFolder(path)) << path;
  }
  EXPECT_EQ(0, record.fileCount);
  EXPECT_TRUE(record.AddFile("CONSOLE.CUR", FileDigest{})) << "only the device names themselves";
  EXPECT_TRUE(record.AddFile("COM10", FileDigest{}));
  EXPECT_EQ(0, record.FindFile("console.cur")) << "names compare without regard to case";
  EXPECT_EQ(-1, record.FindFile("CONSOLE"));
}

// The record with one line replaced, and the check made to match again: what an editor (or
// another program) that knows the format could write.
std::string WithLine(const std::string& text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(std::string::npos, at) << from;
  std::string edited = text.substr(0, at) + to + text.substr(at + from.size());
  const std::size_t check = edited.rfind("check=");
  const std::string body = edited.substr(0, check);
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(ContinueHash(kHashStart, body.data(), body.size())));
  return body + "check=" + hex + "\r\n";
}

TEST(InstallRecord, EditedRecordsAreRefusedWhole) {
  InstallRecord written;
  Fill(written, RecordStage::Swapping, 6);  // lines: 4 folder-made, 5-7 made, 8-13 files, 14-16 shortcuts
  const std::string text = Compose(written);
  struct Case {
    const char* from;
    const char* to;
    int line;  // where the damage is reported
  };
  const Case cases[] = {
      {"file=0 ", "file=-1 ", 8},
      {"file=0 fedcba9876543210 ", "file=0 FEDCBA9876543210 ", 8},
      {"file=0 fedcba9876543210 ", "file=0 fedcba98765432 ", 8},
      {"file=0 fedcba9876543210 ", "file=00 fedcba9876543210 ", 8},
      {"file=0 fedcba9876543210 ", "file=99999999999999999999 fedcba9876543210 ", 8},
      {"file=0 fedcba9876543210 Pointrel.EXE", "file=0 fedcba9876543210 ..\\..\\Windows\\win.ini", 8},
      {"file=0 fedcba9876543210 Pointrel.EXE", "file=0 fedcba9876543210 C:\\Windows\\win.ini", 8},
      {"file=0 fedcba9876543210 Pointrel.EXE", "file=0 fedcba9876543210 \\Windows\\win.ini", 8},
      {"file=0 fedcba9876543210 Pointrel.EXE", "file=0 fedcba9876543210 NORMAL\\Apollo (no flame).CUR", 10},
      {"file=0 fedcba9876543210 Pointrel.EXE", "file=0 fedcba9876543210 normal\\APOLLO (NO FLAME).cur", 10},
      {"file=0 fedcba9876543210 Pointrel.EXE", "file=0 fedcba9876543210", 8},
      {"made=NORMAL", "made=..", 5},
      {"made=NORMAL", "made=C:\\NORMAL", 5},
      {"stage=swapping", "stage=finished", 2},
      {"stage=swapping", "stage=", 2},
      {"folder=C:\\Программы\\Pointrel", "folder=Pointrel", 3},
      {"folder=C:\\Программы\\Pointrel", "folder=C:\\Программы\\Pointrel\\", 3},
      {"folder=C:\\Программы\\Pointrel", "folder=C:/Программы/Pointrel", 3},
      {"shortcut=desktop ", "shortcut=desk ", 14},
      {"shortcut=desktop C:\\Users\\Łukasz\\Desktop\\Pointrel.LNK", "shortcut=desktop Pointrel.LNK", 14},
      {"shortcut=desktop C:\\Users\\Łukasz\\Desktop\\Pointrel.LNK", "shortcut=desktop C:\\", 14},
      {"shortcut=startup D:\\Start\\Pointrel.LNK", "shortcut=desktop D:\\Start\\Pointrel.LNK", 16},
      {"shortcut=startup D:\\Start\\Pointrel.LNK", "unknown=1", 16},
      {"folder-made=1", "folder-made=0", 4},
  };
  for (const Case& c : cases) {
    const std::string edited = WithLine(text, c.from, c.to);
    InstallRecord read;
    int line = -1;
    EXPECT_EQ(RecordDamage::Damaged, Parse(edited, read, line)) << c.to;
    EXPECT_EQ(c.line, line) << c.to;
    EXPECT_EQ(0, read.fileCount) << c.to;
    EXPECT_STREQ("", read.folder) << c.to;
  }
  // Not a record at all, or one of another version.
  InstallRecord read;
  int line = 0;
  EXPECT_EQ(RecordDamage::NotARecord, Parse("[Pointrel]\r\nWhtClr=4\r\n", read, line));
  EXPECT_EQ(RecordDamage::NotARecord, Parse(WithLine(text, "record 1", "record 2"), read, line));
  EXPECT_EQ(RecordDamage::NotARecord, Parse("", read, line));
  // Text after the check, a second check, no check, a NUL inside.
  EXPECT_EQ(RecordDamage::Damaged, Parse(text + "file=1 0000000000000000 x\r\n", read, line));
  EXPECT_EQ(RecordDamage::Damaged, Parse(text + text.substr(text.rfind("check=")), read, line));
  EXPECT_EQ(RecordDamage::Damaged, Parse(text.substr(0, text.rfind("check=")), read, line));
  std::string withNul = text;
  withNul[text.find("Pointrel.EXE") + 3] = '\0';
  EXPECT_EQ(RecordDamage::Damaged, Parse(withNul, read, line));
}

// Cut short at every byte, and every byte changed (to every bit pattern in turn): never taken.
TEST(InstallRecord, EveryTruncationAndEveryChangedByteIsRefused) {
  InstallRecord written;
  Fill(written, RecordStage::Swapping, 8);
  const std::string text = Compose(written);
  for (std::size_t length = 0; length < text.size(); ++length) {
    InstallRecord read;
    int line = 0;
    ASSERT_NE(RecordDamage::None, Parse(text.substr(0, length), read, line)) << "cut at " << length;
    ASSERT_EQ(0, read.fileCount);
  }
  for (std::size_t at = 0; at < text.size(); ++at) {
    std::string changed = text;
    changed[at] = static_cast<char>(changed[at] ^ (1 << (at % 8)));
    InstallRecord read;
    int line = 0;
    ASSERT_NE(RecordDamage::None, Parse(changed, read, line)) << "byte " << at;
  }
}

// Random bytes, and random records spliced together: refused or read, never a crash or overrun
// (AddressSanitizer watches the heap copies).
TEST(InstallRecord, RandomTextIsNeverHalfTaken) {
  InstallRecord written;
  Fill(written, RecordStage::Done, 20);
  const std::string text = Compose(written);
  std::mt19937 random(28);
  for (int run = 0; run < 20000; ++run) {
    std::string garbage;
    if (run % 2 == 0) {
      garbage = text.substr(0, random() % text.size());
      const std::size_t length = random() % 64;
      for (std::size_t i = 0; i < length; ++i) garbage.push_back(static_cast<char>(random() % 256));
      garbage += text.substr(random() % text.size());
    } else {
      const std::size_t length = random() % 300;
      garbage = "Pointrel installation record 1\r\n";
      for (std::size_t i = 0; i < length; ++i) garbage.push_back("=\r\n \\:.0af"[random() % 11]);
    }
    std::unique_ptr<char[]> exact(new char[garbage.size() + 1]);
    std::memcpy(exact.get(), garbage.data(), garbage.size());
    InstallRecord read;
    int line = 0;
    if (ParseRecord(exact.get(), garbage.size(), read, line) == RecordDamage::None) {
      ASSERT_EQ(text, garbage) << "only the record itself reads";
    } else {
      ASSERT_EQ(0, read.fileCount);
    }
  }
}

TEST(InstallRecord, LimitsHold) {
  InstallRecord record;
  EXPECT_FALSE(record.Reserve(kMaxRecordFiles + 1, 0));
  EXPECT_FALSE(record.Reserve(0, kMaxRecordFolders + 1));
  ASSERT_TRUE(record.Reserve(2, 0));
  EXPECT_TRUE(record.AddFile("a", FileDigest{}));
  EXPECT_TRUE(record.AddFile("b", FileDigest{}));
  EXPECT_FALSE(record.AddFile("c", FileDigest{})) << "no room";
  EXPECT_FALSE(record.AddMadeFolder("d")) << "no room";
  const std::string big = "Pointrel installation record 1\r\n" + std::string(kMaxRecordBytes, 'x');
  int line = 0;
  EXPECT_EQ(RecordDamage::Damaged, ParseRecord(big.data(), big.size(), record, line));
}

}  // namespace
