// The cursor-file reader: the files a sound loader takes are accepted, damaged ones refused.
#include "platform/cursor_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "installer/file_manifest.h"
#include "tests/common/riff_edits.h"
#include "tests/common/test_environment.h"
#include "tools/imagelib/cursor_encode.h"
#include "tools/imagelib/formats.h"

namespace {

using cursor_file::CheckCursorFile;
using cursor_file::Kind;
using Bytes = std::vector<uint8_t>;

Kind Check(const Bytes& file) { return CheckCursorFile(file.data(), file.size()); }

using cursor_file::Put16;
using cursor_file::Put32;
void Patch16(Bytes& file, size_t at, uint32_t v) {
  file[at] = static_cast<uint8_t>(v);
  file[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Patch32(Bytes& file, size_t at, uint32_t v) {
  Patch16(file, at, v & 0xFFFF);
  Patch16(file, at + 2, v >> 16);
}
// Offset of the first `tag` at or after `from`.
size_t Find(const Bytes& file, const char* tag, size_t from = 0) {
  for (size_t at = from; at + 4 <= file.size(); ++at) {
    if (std::memcmp(file.data() + at, tag, 4) == 0) return at;
  }
  ADD_FAILURE() << "no " << tag << " in the file";
  return 0;
}

imagelib::Canvas Arrow(int side) {
  imagelib::Canvas canvas(side, side);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x <= y / 2; ++x) canvas.Set(x, y, x == 0 || x == y / 2 ? imagelib::Opaque(0, 0, 0) : imagelib::Opaque(255, 255, 255));
  }
  return canvas;
}

Bytes StaticCursor(imagelib::CursorDepth depth = imagelib::CursorDepth::kMonochrome, int side = 32) {
  return imagelib::EncodeCur({Arrow(side), 1, 1}, depth);
}

// A directory of one image given whole.
Bytes Directory(uint16_t type, const Bytes& image) {
  Bytes out;
  Put16(out, 0);
  Put16(out, type);
  Put16(out, 1);
  out.insert(out.end(), {32, 32, 0, 0});
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, static_cast<uint32_t>(image.size()));
  Put32(out, 22);
  out.insert(out.end(), image.begin(), image.end());
  return out;
}

// A 32 x 32 image of 32-bit pixels with alpha, as newer tools write it: header, optional
// bit-field masks, colour rows, AND rows.
Bytes AlphaImage(uint32_t compression, size_t maskBytes) {
  Bytes image;
  Put32(image, 40);
  Put32(image, 32);
  Put32(image, 64);
  Put16(image, 1);
  Put16(image, 32);
  Put32(image, compression);
  for (int i = 0; i < 5; ++i) Put32(image, 0);
  for (size_t i = 0; i < maskBytes / 4; ++i) Put32(image, 0xFF000000u >> (8 * i));
  for (int i = 0; i < 32 * 32; ++i) Put32(image, i % 3 ? 0x80FF0000 : 0);
  image.insert(image.end(), 4 * 32, 0);
  return image;
}

// An old OS/2-style image: 12-byte core header, palette of three-byte entries.
Bytes CoreHeaderImage() {
  Bytes image;
  Put32(image, 12);
  Put16(image, 32);
  Put16(image, 64);
  Put16(image, 1);
  Put16(image, 1);
  image.insert(image.end(), {0, 0, 0, 255, 255, 255});
  image.insert(image.end(), 2 * 4 * 32, 0x55);
  return image;
}

imagelib::Animation Animation(bool sequence, bool rates, const std::string& title) {
  imagelib::Animation animation;
  for (int i = 0; i < 3; ++i) {
    animation.frames.push_back({{Arrow(32), i, i}, i == 1 ? imagelib::CursorDepth::kColour4 : imagelib::CursorDepth::kMonochrome});
  }
  if (sequence || rates) {
    animation.steps = sequence ? std::vector<imagelib::AniStep>{{0, 5}, {2, rates ? 9 : 5}, {1, 5}, {2, 5}}
                               : std::vector<imagelib::AniStep>{{0, 5}, {1, 9}, {2, 5}};
  }
  animation.title = title;
  animation.artist = "Pointrel";
  return animation;
}

// Its INFO title and artist have odd lengths, so their chunks are padded.
Bytes AnimatedCursor() { return imagelib::EncodeAni(Animation(true, true, "Odd!")); }

struct GoodFile {
  const char* name;
  std::function<Bytes()> make;
  Kind kind;
};

void PrintTo(const GoodFile& file, std::ostream* out) { *out << file.name; }

class GoodFiles : public ::testing::TestWithParam<GoodFile> {};

TEST_P(GoodFiles, AreAccepted) {
  const Bytes file = GetParam().make();
  EXPECT_EQ(Check(file), GetParam().kind);
}

const GoodFile kGoodFiles[] = {
        GoodFile{"Monochrome", [] { return StaticCursor(); }, Kind::Static},
        GoodFile{"Colour4", [] { return StaticCursor(imagelib::CursorDepth::kColour4); }, Kind::Static},
        GoodFile{"Colour24", [] { return StaticCursor(imagelib::CursorDepth::kColour24); }, Kind::Static},
        GoodFile{"Side48", [] { return StaticCursor(imagelib::CursorDepth::kColour24, 48); }, Kind::Static},
        GoodFile{"Side256", [] { return StaticCursor(imagelib::CursorDepth::kMonochrome, 256); }, Kind::Static},
        GoodFile{"MultiImageIcon", [] { return imagelib::EncodeIco({Arrow(16), Arrow(32), Arrow(48), Arrow(64)}); }, Kind::Static},
        GoodFile{"Alpha32", [] { return Directory(2, AlphaImage(0, 0)); }, Kind::Static},
        GoodFile{"Alpha32BitFields", [] { return Directory(2, AlphaImage(3, 12)); }, Kind::Static},
        GoodFile{"PngEntry", [] { return Directory(1, imagelib::EncodePng(Arrow(32))); }, Kind::Static},
        GoodFile{"CoreHeader", [] { return Directory(2, CoreHeaderImage()); }, Kind::Static},
        GoodFile{"TrailingBytes", [] { Bytes f = StaticCursor(); f.insert(f.end(), 7, 0xAA); return f; }, Kind::Static},
        GoodFile{"AnimatedPlain", [] { return imagelib::EncodeAni(Animation(false, false, "")); }, Kind::Animated},
        GoodFile{"AnimatedRates", [] { return imagelib::EncodeAni(Animation(false, true, "Even")); }, Kind::Animated},
        GoodFile{"AnimatedSequenceOddInfo", [] { return AnimatedCursor(); }, Kind::Animated},
        GoodFile{"AnimatedUnknownChunk",
                 [] {
                   Bytes f = AnimatedCursor();
                   const size_t at = Find(f, "anih");
                   const Bytes extra = {'j', 'u', 'n', 'k', 3, 0, 0, 0, 1, 2, 3, 0};
                   f.insert(f.begin() + static_cast<long>(at), extra.begin(), extra.end());
                   Patch32(f, 4, static_cast<uint32_t>(f.size() - 8));
                   return f;
                 },
                 Kind::Animated},
        GoodFile{"AnimatedLastChunkUnpadded",
                 [] {
                   Bytes f = AnimatedCursor();
                   const Bytes tail = {'n', 'o', 't', 'e', 1, 0, 0, 0, '!'};
                   f.insert(f.end(), tail.begin(), tail.end());
                   Patch32(f, 4, static_cast<uint32_t>(f.size() - 8));
                   return f;
                 },
                 Kind::Animated}};

INSTANTIATE_TEST_SUITE_P(
    Reader, GoodFiles, ::testing::ValuesIn(kGoodFiles),
    [](const ::testing::TestParamInfo<GoodFile>& info) { return std::string(info.param.name); });

// Every file of the library as the generator draws them.
TEST(Reader, AcceptsEveryLibraryFile) {
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(RequiredEnvironment("CURSOR_ART_DIR") + "/library")) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const Bytes file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string extension = entry.path().extension().string();
    EXPECT_EQ(Check(file), extension == ".ANI" ? Kind::Animated : Kind::Static) << entry.path();
    ++files;
  }
  EXPECT_EQ(files, kManifestRows - kFirstCursorRow);
}

// Every prefix of a good file is cut off inside some structure the loader would read.
TEST(Reader, RefusesEveryTruncation) {
  for (const Bytes& file : {StaticCursor(imagelib::CursorDepth::kColour4), imagelib::EncodeIco({Arrow(16), Arrow(32)}),
                            Directory(1, imagelib::EncodePng(Arrow(32))), AnimatedCursor()}) {
    for (size_t length = 0; length < file.size(); ++length) {
      const Bytes cut(file.begin(), file.begin() + static_cast<long>(length));
      ASSERT_EQ(Check(cut), Kind::Refused) << "cut to " << length << " of " << file.size() << " bytes";
    }
  }
}

TEST(Reader, RefusesNothingAndTheOversized) {
  EXPECT_EQ(CheckCursorFile(nullptr, 0), Kind::Refused);
  Bytes huge = StaticCursor();
  huge.resize(cursor_file::kLargestFile + 1);
  EXPECT_EQ(Check(huge), Kind::Refused);
}

struct Damage {
  const char* name;
  std::function<Bytes()> make;
};

// The static file's fields: directory at 0, its one entry at 6, the image header at 22.
Bytes StaticWith(const std::function<void(Bytes&)>& damage, imagelib::CursorDepth depth = imagelib::CursorDepth::kColour4) {
  Bytes file = StaticCursor(depth);
  damage(file);
  return file;
}

// The animated file, with `damage` given the file and the offset of one chunk's tag.
Bytes AnimatedWith(const char* tag, const std::function<void(Bytes&, size_t)>& damage) {
  Bytes file = AnimatedCursor();
  damage(file, Find(file, tag));
  return file;
}

void PrintTo(const Damage& damage, std::ostream* out) { *out << damage.name; }

class DamagedFiles : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedFiles, AreRefused) { EXPECT_EQ(Check(GetParam().make()), Kind::Refused); }

const Damage kDamagedFiles[] = {
        Damage{"ReservedNotZero", [] { return StaticWith([](Bytes& f) { Patch16(f, 0, 1); }); }},
        Damage{"TypeThree", [] { return StaticWith([](Bytes& f) { Patch16(f, 2, 3); }); }},
        Damage{"CountZero", [] { return StaticWith([](Bytes& f) { Patch16(f, 4, 0); }); }},
        Damage{"CountPastTheFile", [] { return StaticWith([](Bytes& f) { Patch16(f, 4, 0xFFFF); }); }},
        Damage{"EntrySizeZero", [] { return StaticWith([](Bytes& f) { Patch32(f, 14, 0); }); }},
        Damage{"EntrySizeAll", [] { return StaticWith([](Bytes& f) { Patch32(f, 14, 0xFFFFFFFF); }); }},
        Damage{"EntrySizeOneTooMany", [] { return StaticWith([](Bytes& f) { Patch32(f, 14, static_cast<uint32_t>(f.size() - 22 + 1)); }); }},
        Damage{"OffsetAll", [] { return StaticWith([](Bytes& f) { Patch32(f, 18, 0xFFFFFFFF); }); }},
        Damage{"OffsetPastTheEnd", [] { return StaticWith([](Bytes& f) { Patch32(f, 18, static_cast<uint32_t>(f.size())); }); }},
        Damage{"HeaderSizeUnknown", [] { return StaticWith([](Bytes& f) { Patch32(f, 22, 41); }); }},
        Damage{"HeaderSizeAll", [] { return StaticWith([](Bytes& f) { Patch32(f, 22, 0xFFFFFFFF); }); }},
        Damage{"WidthZero", [] { return StaticWith([](Bytes& f) { Patch32(f, 26, 0); }); }},
        Damage{"WidthAll", [] { return StaticWith([](Bytes& f) { Patch32(f, 26, 0xFFFFFFFF); }); }},
        Damage{"WidthPastTheRows", [] { return StaticWith([](Bytes& f) { Patch32(f, 26, 40); }); }},
        Damage{"HeightZero", [] { return StaticWith([](Bytes& f) { Patch32(f, 30, 0); }); }},
        Damage{"HeightNegative", [] { return StaticWith([](Bytes& f) { Patch32(f, 30, static_cast<uint32_t>(-64)); }); }},
        Damage{"HeightHuge", [] { return StaticWith([](Bytes& f) { Patch32(f, 30, 0x7FFFFFFF); }); }},
        Damage{"PlanesTwo", [] { return StaticWith([](Bytes& f) { Patch16(f, 34, 2); }); }},
        Damage{"BitCountThree", [] { return StaticWith([](Bytes& f) { Patch16(f, 36, 3); }); }},
        Damage{"BitCountDeeperThanTheRows", [] { return StaticWith([](Bytes& f) { Patch16(f, 36, 8); }); }},
        Damage{"CompressedRle", [] { return StaticWith([](Bytes& f) { Patch32(f, 38, 2); }); }},
        Damage{"ColoursUsedAll", [] { return StaticWith([](Bytes& f) { Patch32(f, 54, 0xFFFFFFFF); }); }},
        Damage{"ColoursUsedPastTheDepth", [] { return StaticWith([](Bytes& f) { Patch32(f, 54, 17); }); }},
        Damage{"PngWithoutHeader", [] { Bytes png = imagelib::EncodePng(Arrow(32)); png.resize(16); return Directory(1, png); }},
        Damage{"PngHeaderLengthWrong", [] { Bytes png = imagelib::EncodePng(Arrow(32)); png[11] = 12; return Directory(1, png); }},
        Damage{"PngWidthZero", [] { Bytes png = imagelib::EncodePng(Arrow(32)); png[19] = 0; return Directory(1, png); }},
        Damage{"RiffSizeAll", [] { return AnimatedWith("RIFF", [](Bytes& f, size_t at) { Patch32(f, at + 4, 0xFFFFFFFF); }); }},
        Damage{"RiffSizeOneTooMany", [] { return AnimatedWith("RIFF", [](Bytes& f, size_t at) { Patch32(f, at + 4, static_cast<uint32_t>(f.size() - 8 + 1)); }); }},
        Damage{"RiffSizeZero", [] { return AnimatedWith("RIFF", [](Bytes& f, size_t at) { Patch32(f, at + 4, 0); }); }},
        Damage{"NotAcon", [] { return AnimatedWith("ACON", [](Bytes& f, size_t at) { f[at] = 'X'; }); }},
        Damage{"HeaderSizeWrong", [] { return AnimatedWith("anih", [](Bytes& f, size_t at) { Patch32(f, at + 8, 32); }); }},
        Damage{"HeaderChunkShort", [] { return AnimatedWith("anih", [](Bytes& f, size_t at) { Patch32(f, at + 4, 32); }); }},
        Damage{"HeaderChunkAll", [] { return AnimatedWith("anih", [](Bytes& f, size_t at) { Patch32(f, at + 4, 0xFFFFFFFF); }); }},
        Damage{"HeaderMissing", [] { return AnimatedWith("anih", [](Bytes& f, size_t at) { f[at] = 'x'; }); }},
        Damage{"HeaderTwice",
               [] {
                 return AnimatedWith("anih", [](Bytes& f, size_t at) {
                   const Bytes copy(f.begin() + static_cast<long>(at), f.begin() + static_cast<long>(at + 44));
                   f.insert(f.begin() + static_cast<long>(at), copy.begin(), copy.end());
                   Patch32(f, 4, static_cast<uint32_t>(f.size() - 8));
                 });
               }},
        Damage{"FramesZero", [] { return AnimatedWith("anih", [](Bytes& f, size_t at) { Patch32(f, at + 12, 0); }); }},
        Damage{"FramesAll", [] { return AnimatedWith("anih", [](Bytes& f, size_t at) { Patch32(f, at + 12, 0xFFFFFFFF); }); }},
        Damage{"FramesMoreThanTheList", [] { return AnimatedWith("anih", [](Bytes& f, size_t at) { Patch32(f, at + 12, 4); }); }},
        Damage{"FramesFewerThanTheList", [] { return AnimatedWith("anih", [](Bytes& f, size_t at) { Patch32(f, at + 12, 2); }); }},
        Damage{"FramesFewerThanTheListHolds",
               [] {
                 Bytes f = imagelib::EncodeAni(Animation(false, false, ""));
                 const size_t at = Find(f, "anih");
                 Patch32(f, at + 12, 2);
                 Patch32(f, at + 16, 2);
                 return f;
               }},
        Damage{"StepsZero", [] { return AnimatedWith("anih", [](Bytes& f, size_t at) { Patch32(f, at + 16, 0); }); }},
        Damage{"StepsAll", [] { return AnimatedWith("anih", [](Bytes& f, size_t at) { Patch32(f, at + 16, 0xFFFFFFFF); }); }},
        Damage{"StepsDisagreeWithTheSequence", [] { return AnimatedWith("anih", [](Bytes& f, size_t at) { Patch32(f, at + 16, 5); }); }},
        Damage{"RawBitmapFrames", [] { return AnimatedWith("anih", [](Bytes& f, size_t at) { Patch32(f, at + 40, 2); }); }},
        Damage{"SequencePastTheLastFrame", [] { return AnimatedWith("seq ", [](Bytes& f, size_t at) { Patch32(f, at + 12, 3); }); }},
        Damage{"SequenceEntryAll", [] { return AnimatedWith("seq ", [](Bytes& f, size_t at) { Patch32(f, at + 8, 0xFFFFFFFF); }); }},
        Damage{"SequenceShort", [] { return AnimatedWith("seq ", [](Bytes& f, size_t at) { Patch32(f, at + 4, 12); }); }},
        Damage{"SequencePastItsParent", [] { return AnimatedWith("seq ", [](Bytes& f, size_t at) { Patch32(f, at + 4, 0x7FFFFFF0); }); }},
        Damage{"RatesShort", [] { return AnimatedWith("rate", [](Bytes& f, size_t at) { Patch32(f, at + 4, 12); }); }},
        Damage{"FrameListPastTheRiff", [] { return AnimatedWith("fram", [](Bytes& f, size_t at) { Patch32(f, at - 4, 0xFFFFFFF0); }); }},
        Damage{"FrameListEmpty", [] { return AnimatedWith("fram", [](Bytes& f, size_t at) { Patch32(f, at - 4, 4); }); }},
        Damage{"IconChunkPastTheList", [] { return AnimatedWith("icon", [](Bytes& f, size_t at) { Patch32(f, at + 4, 0x00FFFFFF); }); }},
        Damage{"IconChunkEmpty", [] { return AnimatedWith("icon", [](Bytes& f, size_t at) { Patch32(f, at + 4, 0); }); }},
        Damage{"FrameNotACursor", [] { return AnimatedWith("icon", [](Bytes& f, size_t at) { Patch16(f, at + 8 + 2, 7); }); }},
        Damage{"FrameImageDamaged", [] { return AnimatedWith("icon", [](Bytes& f, size_t at) { Patch32(f, at + 8 + 22, 99); }); }},
        Damage{"FrameIsARiff",
               [] {
                 return AnimatedWith("icon", [](Bytes& f, size_t at) {
                   const char nested[] = "RIFF\x04\0\0\0ACON";
                   std::memcpy(f.data() + at + 8, nested, 12);
                 });
               }},
        Damage{"InfoListPastTheRiff", [] { return AnimatedWith("INFO", [](Bytes& f, size_t at) { Patch32(f, at - 4, 0x7FFFFFFF); }); }},
        Damage{"GarbageAfterTheHeader",
               [] {
                 return AnimatedWith("anih", [](Bytes& f, size_t at) {
                   for (size_t i = 0; i < 12; ++i) f.insert(f.begin() + static_cast<long>(at), static_cast<uint8_t>(0xF0 + i));
                   Patch32(f, 4, static_cast<uint32_t>(f.size() - 8));
                 });
               }}};

INSTANTIATE_TEST_SUITE_P(
    Reader, DamagedFiles, ::testing::ValuesIn(kDamagedFiles),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

// What the check found, for the later steps to read through.
cursor_file::CheckedFile Found(const Bytes& file) {
  cursor_file::CheckedFile found;
  CheckCursorFile(file.data(), file.size(), &found);
  return found;
}

// The first image is where the directory says, of the first frame for an animation; a refused
// file has none.
TEST(Reader, FirstImageIsTheFirstEntryOfTheFirstFrame) {
  const uint8_t* image = nullptr;
  size_t length = 0;
  const Bytes two = imagelib::EncodeIco({Arrow(16), Arrow(32)});
  ASSERT_TRUE(cursor_file::FirstImage(Found(two), &image, &length));
  EXPECT_EQ(image, two.data() + 6 + 2 * 16);
  EXPECT_EQ(length, static_cast<size_t>(two[14] | two[15] << 8));

  const Bytes animated = AnimatedCursor();
  ASSERT_TRUE(cursor_file::FirstImage(Found(animated), &image, &length));
  const size_t frame = Find(animated, "icon") + 8;
  EXPECT_EQ(image, animated.data() + frame + 22);
  EXPECT_EQ(std::vector<uint8_t>(image, image + 4), (std::vector<uint8_t>{40, 0, 0, 0}));

  Bytes cut = animated;
  cut.resize(cut.size() - 1);
  const cursor_file::CheckedFile refused = Found(cut);
  EXPECT_EQ(refused.kind, Kind::Refused);
  EXPECT_EQ(refused.imageCount, 0u) << "a refused file leaves nothing recorded";
  EXPECT_FALSE(cursor_file::FirstImage(refused, &image, &length));
}

// Short chunks before, inside and after the frame list: the file is accepted exactly when a
// loader would take it, and every step after the check reads the real first frame. Among them,
// a "LIST" of three bytes "fra" padded with "m" before the real list, which a second walk with
// its own rules once took for the frame list and read about 4 GiB past.
TEST(Reader, ShortChunksAroundTheFrameListNeverMisleadTheLaterSteps) {
  const Bytes good = AnimatedCursor();
  const uint8_t* wanted = nullptr;
  size_t wantedLength = 0;
  ASSERT_TRUE(cursor_file::FirstImage(Found(good), &wanted, &wantedLength));
  const Bytes wantedImage(wanted, wanted + wantedLength);
  int accepted = 0, refused = 0;
  for (const riff_edits::ShortChunkFile& kin : riff_edits::ShortChunkFiles(good)) {
    const cursor_file::CheckedFile found = Found(kin.file);
    ASSERT_EQ(found.kind, kin.acceptable ? Kind::Animated : Kind::Refused) << kin.name;
    const uint8_t* image = nullptr;
    size_t imageLength = 0;
    if (!kin.acceptable) {
      EXPECT_FALSE(cursor_file::FirstImage(found, &image, &imageLength)) << kin.name;
      ++refused;
      continue;
    }
    ASSERT_TRUE(cursor_file::FirstImage(found, &image, &imageLength)) << kin.name;
    ASSERT_GE(image, kin.file.data()) << kin.name;
    ASSERT_LE(image + imageLength, kin.file.data() + kin.file.size()) << kin.name;
    EXPECT_EQ(Bytes(image, image + imageLength), wantedImage) << kin.name;
    EXPECT_EQ(found.frameCount, 3u) << kin.name;
    ++accepted;
  }
  EXPECT_EQ(accepted, 40);
  EXPECT_EQ(refused, 8);
}

// Whatever the check accepted, every part it recorded lies inside the file.
TEST(Reader, TheRecordLiesInsideTheFile) {
  for (const Bytes& file : {StaticCursor(), imagelib::EncodeIco({Arrow(16), Arrow(32), Arrow(48)}), AnimatedCursor(),
                            Directory(1, imagelib::EncodePng(Arrow(32)))}) {
    const cursor_file::CheckedFile found = Found(file);
    ASSERT_NE(found.kind, Kind::Refused);
    ASSERT_GE(found.imageCount, 1u);
    for (size_t i = 0; i < found.imageCount; ++i) {
      const cursor_file::CheckedImage& image = found.images[i];
      EXPECT_GE(image.bytes, file.data());
      EXPECT_LE(image.bytes + image.length, file.data() + file.size());
      EXPECT_GE(image.side, 1);
    }
    if (found.kind == Kind::Animated) {
      EXPECT_GE(found.images[0].bytes, found.firstFrame);
      EXPECT_LE(found.images[0].bytes + found.images[0].length, found.firstFrame + found.firstFrameLength);
    }
  }
}

// A directory of more images than any real file carries is refused, not read in part.
TEST(Reader, RefusesMoreImagesThanARealFileCarries) {
  std::vector<imagelib::Canvas> images(cursor_file::kMostImages, Arrow(16));
  EXPECT_EQ(Check(imagelib::EncodeIco(images)), Kind::Static);
  images.push_back(Arrow(16));
  EXPECT_EQ(Check(imagelib::EncodeIco(images)), Kind::Refused);
}

// A cursor in the sizes given (in that order), each with its hotspot at (side / 4, 1).
Bytes CursorOfSizes(std::initializer_list<int> sides) {
  std::vector<imagelib::Cursor> images;
  for (int side : sides) images.push_back({Arrow(side), side / 4, 1});
  return imagelib::EncodeCur(images, imagelib::CursorDepth::kMonochrome);
}

TEST(Reader, BestCursorImageIsTheOneTheLoaderTakes) {
  struct Case {
    std::initializer_list<int> sides;
    int32_t wanted, expected;
  } cases[] = {
      {{32, 48, 64}, 32, 32}, {{32, 48, 64}, 48, 48}, {{64, 48, 32}, 64, 64},  // exact, in any order
      {{32, 48, 64}, 40, 32}, {{32, 64}, 56, 32},     {{32, 48, 64}, 96, 64},  // largest smaller
      {{32, 48, 64}, 24, 32}, {{64, 48}, 16, 48},                              // else smallest larger
      {{32}, 64, 32},         {{16, 256}, 255, 16},
  };
  for (const Case& c : cases) {
    const Bytes file = CursorOfSizes(c.sides);
    cursor_file::CursorImage image;
    ASSERT_TRUE(cursor_file::BestCursorImage(Found(file), c.wanted, &image)) << c.wanted;
    EXPECT_EQ(image.side, c.expected) << c.wanted;
    EXPECT_EQ(image.hotspotX, c.expected / 4) << c.wanted;
    EXPECT_EQ(image.hotspotY, 1) << c.wanted;
    // The bytes are the chosen entry's: a DIB whose header gives its width.
    ASSERT_GE(image.length, 40u);
    ASSERT_GE(image.bytes, file.data());
    ASSERT_LE(image.bytes + image.length, file.data() + file.size());
    EXPECT_EQ(image.bytes[4] | image.bytes[5] << 8, c.expected) << c.wanted;
  }
}

TEST(Reader, BestCursorImageOnlyForStaticCursorFiles) {
  cursor_file::CursorImage image;
  const Bytes icon = imagelib::EncodeIco({Arrow(32)});
  EXPECT_FALSE(cursor_file::BestCursorImage(Found(icon), 32, &image)) << "an icon file has no hotspot";
  const Bytes animated = AnimatedCursor();
  EXPECT_FALSE(cursor_file::BestCursorImage(Found(animated), 32, &image));
  Bytes cut = CursorOfSizes({32, 48});
  cut.resize(cut.size() - 1);
  EXPECT_FALSE(cursor_file::BestCursorImage(Found(cut), 32, &image));
  const Bytes png = Directory(2, imagelib::EncodePng(Arrow(48)));
  ASSERT_TRUE(cursor_file::BestCursorImage(Found(png), 32, &image));
  EXPECT_EQ(image.side, 48) << "a PNG entry's side comes from its header";
}

// Each damaged file above differs from an accepted one in one field; the good originals pass.
TEST(Reader, AcceptsTheUndamagedOriginals) {
  EXPECT_EQ(Check(StaticWith([](Bytes&) {})), Kind::Static);
  EXPECT_EQ(Check(AnimatedWith("anih", [](Bytes&, size_t) {})), Kind::Animated);
  EXPECT_EQ(Check(Directory(1, imagelib::EncodePng(Arrow(32)))), Kind::Static);
}

// The files of these tables, good and damaged, seed the fuzzer beside the library's.
TEST(Reader, WritesItsFilesAsFuzzSeeds) {
  const std::filesystem::path folder = RequiredEnvironment("FUZZ_SEED_DIR");
  std::filesystem::create_directories(folder);
  int written = 0;
  auto write = [&](const std::string& name, const Bytes& file) {
    std::ofstream out(folder / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    ASSERT_TRUE(out.good()) << name;
    ++written;
  };
  for (const GoodFile& file : kGoodFiles) write(std::string("good-") + file.name, file.make());
  for (const Damage& damage : kDamagedFiles) write(std::string("damaged-") + damage.name, damage.make());
  const std::vector<riff_edits::ShortChunkFile> kin = riff_edits::ShortChunkFiles(AnimatedCursor());
  for (const riff_edits::ShortChunkFile& file : kin) write("short-" + file.name, file.file);
  EXPECT_EQ(written, static_cast<int>(std::size(kGoodFiles) + std::size(kDamagedFiles) + kin.size()));
}

}  // namespace
