// The zip reader: archives written by the test's own writer and by Info-ZIP list and unpack
// to what went in; every damaged, hostile or oversized shape is refused with its reason, and
// unpacking never writes past the size the archive declares.
#include "platform/zip_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/common/pack_fixtures.h"
#include "tests/common/zip_writer.h"

namespace {

using Bytes = std::vector<uint8_t>;
using zip::Problem;
using zip_writer::File;
using zip_writer::Member;
using zip_writer::Patch16;
using zip_writer::Patch32;

struct Opened {
  Problem problem;
  std::unique_ptr<zip::Archive> archive;
};

Opened Open(const Bytes& bytes) {
  Opened opened{Problem::None, std::make_unique<zip::Archive>()};
  opened.problem = zip::OpenZip(bytes.data(), bytes.size(), opened.archive.get());
  return opened;
}

// Unpacks into a buffer of the declared size followed by guard bytes that must stay untouched.
Problem UnpackChecked(const zip::Entry& entry, Bytes* out) {
  Bytes buffer(entry.size + 64, 0x5A);
  const Problem problem = zip::Unpack(entry, buffer.data());
  for (size_t i = entry.size; i < buffer.size(); ++i) {
    if (buffer[i] != 0x5A) ADD_FAILURE() << "unpacked past the declared size of " << entry.path;
  }
  buffer.resize(entry.size);
  *out = buffer;
  return problem;
}

Bytes Random(size_t size, unsigned seed) {
  Bytes out(size);
  for (size_t i = 0; i < size; ++i) out[i] = static_cast<uint8_t>((i * 2654435761u + seed) >> 13);
  return out;
}

struct Expected {
  std::string path;
  Bytes data;
};

// The archive lists exactly the expected files (in that order unless `anyOrder`), each
// unpacking to its bytes.
void ExpectFiles(const Bytes& archive, std::vector<Expected> expected, const char* name, bool anyOrder = false) {
  const Opened opened = Open(archive);
  ASSERT_EQ(opened.problem, Problem::None) << name;
  ASSERT_EQ(opened.archive->count, expected.size()) << name;
  uint64_t total = 0;
  for (size_t i = 0; i < expected.size(); ++i) {
    const zip::Entry& entry = opened.archive->entries[i];
    if (anyOrder) {
      for (size_t j = i; j < expected.size(); ++j) {
        if (expected[j].path == entry.path) std::swap(expected[i], expected[j]);
      }
    }
    EXPECT_EQ(std::string(entry.path), expected[i].path) << name;
    Bytes data;
    EXPECT_EQ(UnpackChecked(entry, &data), Problem::None) << name << ": " << entry.path;
    EXPECT_TRUE(data == expected[i].data) << name << ": " << entry.path;
    total += expected[i].data.size();
  }
  EXPECT_EQ(opened.archive->totalSize, total) << name;
}

TEST(ZipReader, ArchivesOfEveryShapeListAndUnpackWhatWentIn) {
  const Bytes inf = zip_writer::FromText("[Version]\r\nSignature=\"$CHICAGO$\"\r\n");
  const Bytes cursor = pack_fixtures::SmallCursor(2);
  const Bytes noise = Random(70000, 3);
  Member descriptor = File("Pack/Cursors/busy.ani", noise);
  descriptor.descriptor = true;
  Member storedDescriptor = File("Pack/Cursors/wait.cur", cursor, 0);
  storedDescriptor.descriptor = true;
  Member utf8 = File("Pack/\xD0\xA1\xD1\x82\xD1\x80\xD0\xB5\xD0\xBB\xD0\xBA\xD0\xB0.cur", cursor);
  utf8.flags = 1 << 11;
  Member withExtra = File("Pack/extra.cur", cursor);
  withExtra.extra = {0x55, 0x54, 5, 0, 1, 0, 0, 0, 0};  // a time stamp field
  const std::vector<Member> members = {
      File("Pack/", {}, 0),
      File("Pack/install.inf", inf),
      File("Pack/Cursors/", {}, 0),
      File("Pack/Cursors/arrow.cur", cursor, 0),
      descriptor,
      storedDescriptor,
      File("Pack/empty.txt", {}),
      File("Pack/empty stored.txt", {}, 0),
      utf8,
      File("Pack/\x81" "ber \xE1.cur", cursor),  // code page 437: u-umlaut, sharp s
      File("Pack\\Windows\\x.cur", cursor),
      withExtra,
  };
  const std::vector<Expected> expected = {
      {"Pack/install.inf", inf},
      {"Pack/Cursors/arrow.cur", cursor},
      {"Pack/Cursors/busy.ani", noise},
      {"Pack/Cursors/wait.cur", cursor},
      {"Pack/empty.txt", {}},
      {"Pack/empty stored.txt", {}},
      {"Pack/\xD0\xA1\xD1\x82\xD1\x80\xD0\xB5\xD0\xBB\xD0\xBA\xD0\xB0.cur", cursor},
      {"Pack/\xC3\xBC" "ber \xC3\x9F.cur", cursor},
      {"Pack/Windows/x.cur", cursor},
      {"Pack/extra.cur", cursor},
  };
  ExpectFiles(zip_writer::Write(members).bytes, expected, "no comment");
  ExpectFiles(zip_writer::Write(members, "Cursors for everyone; see readme").bytes, expected, "a comment");
  // A comment holding an end record's signature is still the comment.
  ExpectFiles(zip_writer::Write(members, "the end record starts with " + std::string("PK\x05\x06", 4) + " in a zip").bytes,
              expected, "a comment with the end record's signature");
  ExpectFiles(zip_writer::Write({}).bytes, {}, "nothing in it");
  pack_fixtures::WriteSeed("zip_reader", "every_shape", zip_writer::Write(members, "seed").bytes);
}

TEST(ZipReader, InfoZipArchivesAreRead) {
  namespace fs = std::filesystem;
  const fs::path work = fs::temp_directory_path() / ("zip_reader_test." + std::to_string(::getpid()));
  fs::remove_all(work);
  fs::create_directories(work / "Pack" / "Cursors");
  const Bytes readme = zip_writer::FromText(std::string(3000, 'r'));
  const Bytes cursor = pack_fixtures::SmallCursor(5);
  const Bytes noise = Random(40000, 9);
  auto write = [&](const char* path, const Bytes& bytes) {
    std::ofstream(work / path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  };
  write("Pack/readme.txt", readme);
  write("Pack/Cursors/arrow.cur", cursor);
  write("Pack/Cursors/busy.ani", noise);
  const std::vector<Expected> expected = {
      {"Pack/Cursors/arrow.cur", cursor}, {"Pack/Cursors/busy.ani", noise}, {"Pack/readme.txt", readme}};
  // Deflated, stored, and streamed through a pipe (sizes in data descriptors).
  const char* commands[] = {"zip -q -r -D out.zip Pack/Cursors Pack/readme.txt",
                            "zip -q -r -D -0 out.zip Pack/Cursors Pack/readme.txt",
                            "zip -q -r -D - Pack/Cursors Pack/readme.txt | cat > out.zip"};
  for (const char* command : commands) {
    fs::remove(work / "out.zip");
    const std::string line = "cd '" + work.string() + "' && " + command;
    ASSERT_EQ(std::system(line.c_str()), 0) << line;
    std::ifstream in(work / "out.zip", std::ios::binary);
    const Bytes archive((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ExpectFiles(archive, expected, command, true);
    pack_fixtures::WriteSeed("zip_reader", command, archive);
  }
  fs::remove_all(work);
}

// A good archive of three files (stored, deflated, deflated with a data descriptor), to damage.
zip_writer::Layout Good() {
  Member described = File("c.cur", Random(5000, 1));
  described.descriptor = true;
  return zip_writer::Write({File("a.cur", pack_fixtures::SmallCursor(1), 0), File("b.txt", Random(20000, 2)), described});
}

struct Damage {
  const char* name;
  std::function<void(zip_writer::Layout&)> edit;
  Problem expected;
};

TEST(ZipReader, DamagedAndHostileArchivesAreRefusedWithTheirReason) {
  namespace c = zip_writer::central;
  namespace l = zip_writer::local;
  namespace e = zip_writer::end;
  const Damage cases[] = {
      {"no end record", [](zip_writer::Layout& z) { z.bytes.resize(z.end); }, Problem::NotZip},
      {"bytes after the end record", [](zip_writer::Layout& z) { z.bytes.push_back(0); }, Problem::NotZip},
      {"a comment longer than what follows",
       [](zip_writer::Layout& z) { Patch16(z.bytes, z.end + e::kCommentLength, 1); }, Problem::NotZip},
      {"a few bytes only", [](zip_writer::Layout& z) { z.bytes = {'P', 'K', 5, 6}; }, Problem::NotZip},
      {"a ZIP64 locator",
       [](zip_writer::Layout& z) {
         Bytes locator = {'P', 'K', 6, 7};
         locator.resize(20);
         z.bytes.insert(z.bytes.begin() + static_cast<long>(z.end), locator.begin(), locator.end());
       },
       Problem::Zip64},
      {"65,535 entries", [](zip_writer::Layout& z) { Patch16(z.bytes, z.end + e::kEntries, 0xFFFF); }, Problem::Zip64},
      {"a directory offset for ZIP64",
       [](zip_writer::Layout& z) { Patch32(z.bytes, z.end + e::kDirectoryAt, 0xFFFFFFFF); }, Problem::Zip64},
      {"a size for ZIP64", [](zip_writer::Layout& z) { Patch32(z.bytes, z.central[1] + c::kSize, 0xFFFFFFFF); },
       Problem::Zip64},
      {"a local offset for ZIP64",
       [](zip_writer::Layout& z) { Patch32(z.bytes, z.central[2] + c::kOffset, 0xFFFFFFFF); }, Problem::Zip64},
      {"a second disk", [](zip_writer::Layout& z) { Patch16(z.bytes, z.end + e::kThisDisk, 1); }, Problem::Spanned},
      {"fewer entries on this disk",
       [](zip_writer::Layout& z) { Patch16(z.bytes, z.end + e::kEntriesHere, 2); }, Problem::Spanned},
      {"a file on another disk", [](zip_writer::Layout& z) { Patch16(z.bytes, z.central[0] + c::kDisk, 2); },
       Problem::Spanned},
      {"an encrypted file",
       [](zip_writer::Layout& z) {
         Patch16(z.bytes, z.central[1] + c::kFlags, 1);
         Patch16(z.bytes, z.local[1] + l::kFlags, 1);
       },
       Problem::Encrypted},
      {"strong encryption", [](zip_writer::Layout& z) { Patch16(z.bytes, z.central[0] + c::kFlags, 0x41); },
       Problem::Encrypted},
      {"AES (method 99)", [](zip_writer::Layout& z) { Patch16(z.bytes, z.central[1] + c::kMethod, 99); },
       Problem::Encrypted},
      {"encrypted in the local header only",
       [](zip_writer::Layout& z) { Patch16(z.bytes, z.local[1] + l::kFlags, 1); }, Problem::Encrypted},
      {"bzip2 (method 12)",
       [](zip_writer::Layout& z) {
         Patch16(z.bytes, z.central[1] + c::kMethod, 12);
         Patch16(z.bytes, z.local[1] + l::kMethod, 12);
       },
       Problem::Method},
      {"imploded (method 6)", [](zip_writer::Layout& z) { Patch16(z.bytes, z.central[2] + c::kMethod, 6); },
       Problem::Method},
      {"a stored file whose sizes differ",
       [](zip_writer::Layout& z) {
         Patch32(z.bytes, z.central[0] + c::kSize, 7);
         Patch32(z.bytes, z.local[0] + l::kSize, 7);
       },
       Problem::SizesDisagree},
      {"local and directory sizes differ",
       [](zip_writer::Layout& z) { Patch32(z.bytes, z.local[1] + l::kSize, 19999); }, Problem::SizesDisagree},
      {"local and directory CRCs differ",
       [](zip_writer::Layout& z) { Patch32(z.bytes, z.local[0] + l::kCrc, 0); }, Problem::SizesDisagree},
      {"local and directory methods differ",
       [](zip_writer::Layout& z) { Patch16(z.bytes, z.local[1] + l::kMethod, 0); }, Problem::SizesDisagree},
      {"two entries of one file",
       [](zip_writer::Layout& z) {
         z = zip_writer::Write({File("a.cur", Random(100, 4)), File("a.cur", Random(100, 4))});
         Patch32(z.bytes, z.central[1] + c::kOffset, static_cast<uint32_t>(z.local[0]));
       },
       Problem::Overlap},
      {"a local header that is not one",
       [](zip_writer::Layout& z) { Patch32(z.bytes, z.central[1] + c::kOffset, static_cast<uint32_t>(z.local[1] + 1)); },
       Problem::Damaged},
      {"a local header inside the directory",
       [](zip_writer::Layout& z) { Patch32(z.bytes, z.central[1] + c::kOffset, static_cast<uint32_t>(z.directory)); },
       Problem::Damaged},
      {"packed data running into the directory",
       [](zip_writer::Layout& z) {
         const uint32_t size = static_cast<uint32_t>(z.directory - z.local[2]);
         Patch32(z.bytes, z.central[2] + c::kPacked, size);
       },
       Problem::Damaged},
      {"local names differ", [](zip_writer::Layout& z) { z.bytes[z.local[1] + 30] = 'B'; }, Problem::Damaged},
      {"a directory entry that is not one", [](zip_writer::Layout& z) { z.bytes[z.central[1]] = 'Q'; }, Problem::Damaged},
      {"more entries than the directory holds",
       [](zip_writer::Layout& z) {
         Patch16(z.bytes, z.end + e::kEntries, 4);
         Patch16(z.bytes, z.end + e::kEntriesHere, 4);
       },
       Problem::Damaged},
      {"a directory past the end record",
       [](zip_writer::Layout& z) { Patch32(z.bytes, z.end + e::kDirectorySize, static_cast<uint32_t>(z.end)); },
       Problem::Damaged},
      {"a name running out of the directory",
       [](zip_writer::Layout& z) { Patch16(z.bytes, z.central[2] + c::kNameLength, 500); }, Problem::Damaged},
      {"an empty name",
       [](zip_writer::Layout& z) {
         z = zip_writer::Write({File("", Random(10, 1))});
       },
       Problem::Damaged},
      {"a name with a NUL", [](zip_writer::Layout& z) { z = zip_writer::Write({File(std::string("a\0b", 3), {1})}); },
       Problem::Damaged},
      {"a UTF-8 name that is not",
       [](zip_writer::Layout& z) {
         Member m = File("\xC0\xAF.cur", {1});
         m.flags = 1 << 11;
         z = zip_writer::Write({m});
       },
       Problem::Damaged},
      {"a ZIP64 extra field",
       [](zip_writer::Layout& z) {
         Member m = File("a.cur", {1});
         m.extra = {1, 0, 16, 0};
         m.extra.resize(20);
         z = zip_writer::Write({m});
       },
       Problem::Zip64},
      {"a name of 512 bytes", [](zip_writer::Layout& z) { z = zip_writer::Write({File(std::string(512, 'n'), {1})}); },
       Problem::LongName},
      {"a name that grows past 512 bytes as UTF-8",
       [](zip_writer::Layout& z) { z = zip_writer::Write({File(std::string(200, '\xB0'), {1})}); }, Problem::LongName},
      {"more than 20 MB declared",
       [](zip_writer::Layout& z) {
         Patch32(z.bytes, z.central[1] + c::kSize, 21u << 20);
         Patch32(z.bytes, z.local[1] + l::kSize, 21u << 20);
       },
       Problem::TooLarge},
      {"20 MB declared by each of two files",
       [](zip_writer::Layout& z) {
         for (size_t i : {1, 2}) Patch32(z.bytes, z.central[i] + c::kSize, 10u << 20);
         Patch32(z.bytes, z.local[1] + l::kSize, 10u << 20);
       },
       Problem::TooLarge},
      {"an archive larger than 20 MB",
       [](zip_writer::Layout& z) {
         z.bytes.insert(z.bytes.begin(), (20u << 20) - z.bytes.size() + 1, 0);
       },
       Problem::TooLarge},
  };
  for (const Damage& damage : cases) {
    zip_writer::Layout layout = Good();
    damage.edit(layout);
    const Opened opened = Open(layout.bytes);
    EXPECT_EQ(opened.problem, damage.expected) << damage.name;
    if (opened.problem != Problem::None) {
      EXPECT_EQ(opened.archive->count, 0u) << damage.name;
    }
    pack_fixtures::WriteSeed("zip_reader", damage.name, layout.bytes);
  }
  EXPECT_EQ(Open(Good().bytes).problem, Problem::None);
  EXPECT_EQ(zip::OpenZip(nullptr, 0, Open({}).archive.get()), Problem::NotZip);
}

TEST(ZipReader, SixtyFourFilesAtMostFoldersAside) {
  std::vector<Member> members;
  for (int i = 0; i < 64; ++i) {
    members.push_back(File("f" + std::to_string(i) + ".cur", {static_cast<uint8_t>(i)}));
    members.push_back(File("folder" + std::to_string(i) + "/", {}, 0));
  }
  const Opened sixtyFour = Open(zip_writer::Write(members).bytes);
  EXPECT_EQ(sixtyFour.problem, Problem::None);
  EXPECT_EQ(sixtyFour.archive->count, 64u);
  members.push_back(File("one more.cur", {1}));
  EXPECT_EQ(Open(zip_writer::Write(members).bytes).problem, Problem::TooManyFiles);
}

TEST(ZipReader, UnpackingChecksTheBytesAndStopsAtTheDeclaredSize) {
  const Bytes data = Random(30000, 6);
  struct Case {
    const char* name;
    uint32_t declared;  // in both headers
    bool crcWrong;
    uint16_t method;
    Problem expected;
  };
  const Case cases[] = {
      {"as declared", 30000, false, 8, Problem::None},
      {"declared smaller", 29999, false, 8, Problem::SizesDisagree},
      {"declared larger", 30001, false, 8, Problem::SizesDisagree},
      {"another CRC", 30000, true, 8, Problem::CrcMismatch},
      {"stored, another CRC", 30000, true, 0, Problem::CrcMismatch},
  };
  for (const Case& c : cases) {
    zip_writer::Layout z = zip_writer::Write({File("x.cur", data, c.method)});
    Patch32(z.bytes, z.central[0] + zip_writer::central::kSize, c.declared);
    Patch32(z.bytes, z.local[0] + zip_writer::local::kSize, c.declared);
    if (c.crcWrong) {
      Patch32(z.bytes, z.central[0] + zip_writer::central::kCrc, 1);
      Patch32(z.bytes, z.local[0] + zip_writer::local::kCrc, 1);
    }
    const Opened opened = Open(z.bytes);
    ASSERT_EQ(opened.problem, Problem::None) << c.name;
    Bytes out;
    EXPECT_EQ(UnpackChecked(opened.archive->entries[0], &out), c.expected) << c.name;
  }
  // A file that inflates to ten megabytes while declaring one stops at one.
  zip_writer::Layout bomb = zip_writer::Write({File("bomb.cur", Bytes(10 << 20, 0))});
  Patch32(bomb.bytes, bomb.central[0] + zip_writer::central::kSize, 1 << 20);
  Patch32(bomb.bytes, bomb.local[0] + zip_writer::local::kSize, 1 << 20);
  const Opened opened = Open(bomb.bytes);
  ASSERT_EQ(opened.problem, Problem::None);
  Bytes out;
  EXPECT_EQ(UnpackChecked(opened.archive->entries[0], &out), Problem::SizesDisagree);
  // Damaged deflate data.
  zip_writer::Layout broken = zip_writer::Write({File("x.cur", data)});
  broken.bytes[broken.local[0] + 30 + 5] ^= 0xFF;
  broken.bytes[broken.local[0] + 30 + 6] ^= 0xFF;
  const Opened damaged = Open(broken.bytes);
  ASSERT_EQ(damaged.problem, Problem::None);
  EXPECT_NE(UnpackChecked(damaged.archive->entries[0], &out), Problem::None);
}

}  // namespace
