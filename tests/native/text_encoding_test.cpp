// Text from other programs as UTF-8: both code pages agree with the C library's converters, the
// byte-order marks pick the encoding, and malformed input becomes U+FFFD, never a crash.
#include "platform/text_encoding.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <vector>

#include "tests/common/pack_fixtures.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The code point the C library's converter gives one byte of `codePage`, or 0 when it has none.
uint32_t LibraryCodePoint(const char* codePage, uint8_t byte) {
  iconv_t converter = iconv_open("UTF-32LE", codePage);
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    ADD_FAILURE() << "no converter for " << codePage;
    return 0;
  }
  char in = static_cast<char>(byte);
  char out[8] = {};
  char* inAt = &in;
  char* outAt = out;
  size_t inLeft = 1, outLeft = sizeof out;
  const size_t result = iconv(converter, &inAt, &inLeft, &outAt, &outLeft);
  iconv_close(converter);
  if (result == static_cast<size_t>(-1)) return 0;
  return static_cast<uint8_t>(out[0]) | static_cast<uint8_t>(out[1]) << 8 | static_cast<uint32_t>(static_cast<uint8_t>(out[2])) << 16;
}

TEST(TextEncoding, CodePagesAgreeWithTheLibrary) {
  for (int byte = 0x80; byte < 0x100; ++byte) {
    EXPECT_EQ(text::Cp437CodePoint(static_cast<uint8_t>(byte)), LibraryCodePoint("CP437", static_cast<uint8_t>(byte)))
        << "CP437 byte " << byte;
    const uint32_t library = LibraryCodePoint("CP1252", static_cast<uint8_t>(byte));
    // The library leaves the five unassigned bytes out; the platform keeps their own values.
    EXPECT_EQ(text::Windows1252CodePoint(static_cast<uint8_t>(byte)), library ? library : static_cast<uint32_t>(byte))
        << "Windows-1252 byte " << byte;
  }
  for (int byte = 0; byte < 0x80; ++byte) {
    EXPECT_EQ(text::Cp437CodePoint(static_cast<uint8_t>(byte)), static_cast<uint32_t>(byte));
    EXPECT_EQ(text::Windows1252CodePoint(static_cast<uint8_t>(byte)), static_cast<uint32_t>(byte));
  }
}

TEST(TextEncoding, OnlyWellFormedUtf8IsUtf8) {
  struct Case {
    std::string bytes;
    bool wellFormed;
  };
  const Case cases[] = {
      {"plain", true},
      {"caf\xC3\xA9", true},
      {"\xE2\x82\xAC", true},
      {"\xF0\x9F\x98\x80", true},
      {"\xF4\x8F\xBF\xBF", true},       // U+10FFFF
      {"caf\xE9", false},               // Windows-1252
      {"\xC0\xAF", false},              // overlong '/'
      {"\xE0\x80\xAF", false},          // overlong
      {"\xED\xA0\x80", false},          // a surrogate
      {"\xF4\x90\x80\x80", false},      // past U+10FFFF
      {"\xE2\x82", false},              // cut short
      {"\x80", false},                  // a lone continuation
      {"\xF8\x88\x80\x80\x80", false},  // five bytes
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text::IsUtf8(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size()), c.wellFormed) << c.bytes;
  }
}

std::string Decoded(const Bytes& bytes, text::Encoding* encoding = nullptr) {
  text::DecodedText decoded;
  EXPECT_TRUE(decoded.Decode(bytes.data(), bytes.size()));
  if (encoding) *encoding = decoded.encoding();
  EXPECT_EQ(std::string(decoded.text()).size(), decoded.length());
  return decoded.text();
}

TEST(TextEncoding, FilesAreReadInTheEncodingTheirMarkOrBytesSay) {
  using text::Encoding;
  const std::string utf8 = "[Strings]\r\nName = \"Fl\xC3\xA8" "che \xE2\x82\xAC \xF0\x9F\x98\x80\"\r\n";
  struct Case {
    const char* name;
    Bytes bytes;
    std::string text;
    Encoding encoding;
  };
  const Case cases[] = {
      {"UTF-8", pack_fixtures::FromText(utf8), utf8, Encoding::Utf8},
      {"UTF-8 with its mark", pack_fixtures::FromText("\xEF\xBB\xBF" + utf8), utf8, Encoding::Utf8},
      {"UTF-16LE", pack_fixtures::Utf16(utf8), utf8, Encoding::Utf16LittleEndian},
      {"UTF-16BE", pack_fixtures::Utf16(utf8, true), utf8, Encoding::Utf16BigEndian},
      {"Windows-1252", pack_fixtures::FromText("Fl\xE8" "che \x80 \x93quoted\x94"),
       "Fl\xC3\xA8" "che \xE2\x82\xAC \xE2\x80\x9Cquoted\xE2\x80\x9D", Encoding::Windows1252},
      {"nothing", {}, "", Encoding::Utf8},
      {"a NUL", {'a', 0, 'b'}, "a b", Encoding::Utf8},
      {"UTF-16 with a NUL", {0xFF, 0xFE, 'a', 0, 0, 0, 'b', 0}, "a b", Encoding::Utf16LittleEndian},
      {"UTF-16 with a lone high surrogate", {0xFF, 0xFE, 0x00, 0xD8, 'x', 0}, "\xEF\xBF\xBDx", Encoding::Utf16LittleEndian},
      {"UTF-16 with a lone low surrogate", {0xFF, 0xFE, 0x00, 0xDC}, "\xEF\xBF\xBD", Encoding::Utf16LittleEndian},
      {"UTF-16 cut at a high surrogate", {0xFF, 0xFE, 'x', 0, 0x00, 0xD8}, "x\xEF\xBF\xBD", Encoding::Utf16LittleEndian},
      {"UTF-16 of an odd length", {0xFF, 0xFE, 'x', 0, 'y'}, "x", Encoding::Utf16LittleEndian},
      {"a UTF-8 mark before Windows-1252", {0xEF, 0xBB, 0xBF, 'F', 'l', 0xE8}, "Fl\xEF\xBF\xBD", Encoding::Utf8},
  };
  for (const Case& c : cases) {
    text::Encoding encoding;
    EXPECT_EQ(Decoded(c.bytes, &encoding), c.text) << c.name;
    EXPECT_EQ(encoding, c.encoding) << c.name;
  }
}

TEST(TextEncoding, LargerFilesAreRefusedWhole) {
  const Bytes largest(text::kLargestTextFile, 'a');
  text::DecodedText decoded;
  EXPECT_TRUE(decoded.Decode(largest.data(), largest.size()));
  EXPECT_EQ(decoded.length(), largest.size());
  const Bytes larger(text::kLargestTextFile + 1, 'a');
  EXPECT_FALSE(decoded.Decode(larger.data(), larger.size()));
  EXPECT_STREQ(decoded.text(), "");
  // The worst growth: every byte of a Windows-1252 file three bytes of UTF-8.
  const Bytes euros(text::kLargestTextFile, 0x80);
  EXPECT_TRUE(decoded.Decode(euros.data(), euros.size()));
  EXPECT_EQ(decoded.length(), 3 * euros.size());
}

}  // namespace
