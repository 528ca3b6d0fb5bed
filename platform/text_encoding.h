// Text written by other programs (an .inf, a .theme, a scheme file, a name in an archive) turned
// into UTF-8, without any platform call: the byte-order marks, UTF-16 in either byte order,
// UTF-8, and the two single-byte code pages such files come in (Windows-1252 for text files,
// code page 437 for archive names).
#pragma once
#include <cstddef>
#include <cstdint>

namespace text {

// Larger text files are refused whole: real ones are a few kilobytes.
constexpr size_t kLargestTextFile = 1 << 20;

// Writes the UTF-8 of `codePoint` (surrogates and values past U+10FFFF become U+FFFD) into
// `out`, which has room for 4 bytes; returns how many it wrote.
size_t EncodeUtf8(uint32_t codePoint, char* out);

// The code point of the sequence at `bytes` (`size` bytes left) and its length in `used`, or -1
// with `used` 1 when it is no well-formed sequence (overlong forms, surrogates and values past
// U+10FFFF included).
int32_t DecodeUtf8(const uint8_t* bytes, size_t size, size_t* used);

// Whether the bytes are well-formed UTF-8 throughout.
bool IsUtf8(const uint8_t* bytes, size_t size);

// The code point of a byte in code page 437 (the old DOS page, archive names) and in
// Windows-1252 (the "ANSI" page; its five unassigned bytes keep their own values, as the
// platform maps them).
uint32_t Cp437CodePoint(uint8_t byte);
uint32_t Windows1252CodePoint(uint8_t byte);

enum class Encoding : uint8_t { Utf8, Utf16LittleEndian, Utf16BigEndian, Windows1252 };

// A text file's bytes as one NUL-terminated UTF-8 text in storage of its own. The encoding is
// the byte-order mark's (UTF-8, UTF-16LE, UTF-16BE), else UTF-8 when the bytes are well-formed
// UTF-8, else Windows-1252. A NUL reads as a space; what cannot be decoded (a lone surrogate,
// a stray byte after a UTF-8 mark) reads as U+FFFD.
class DecodedText {
 public:
  DecodedText() = default;
  ~DecodedText() { delete[] text_; }
  DecodedText(const DecodedText&) = delete;
  DecodedText& operator=(const DecodedText&) = delete;

  // False, with an empty text, when the file is larger than kLargestTextFile or no memory is
  // left.
  bool Decode(const uint8_t* bytes, size_t size);

  const char* text() const { return text_ ? text_ : ""; }
  size_t length() const { return length_; }
  Encoding encoding() const { return encoding_; }

 private:
  char* text_ = nullptr;
  size_t length_ = 0;
  Encoding encoding_ = Encoding::Utf8;
};

}  // namespace text
