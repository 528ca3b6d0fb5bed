#include "platform/text_encoding.h"

#include <new>

namespace text {
namespace {

constexpr uint32_t kReplacement = 0xFFFD;

// Bytes 0x80 to 0xFF of code page 437.
constexpr uint16_t kCp437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

// Bytes 0x80 to 0x9F of Windows-1252; the rest of its upper half is Latin-1.
constexpr uint16_t kWindows1252C1[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsSurrogate(uint32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Writes one decoded character; NUL reads as a space, so the text stays one C string.
size_t Put(uint32_t codePoint, char* out) { return EncodeUtf8(codePoint == 0 ? ' ' : codePoint, out); }

size_t DecodeUtf16(const uint8_t* bytes, size_t size, bool bigEndian, char* out) {
  size_t length = 0;
  auto unit = [&](size_t at) -> uint32_t {
    return bigEndian ? (uint32_t{bytes[at]} << 8 | bytes[at + 1]) : (uint32_t{bytes[at + 1]} << 8 | bytes[at]);
  };
  for (size_t at = 0; at + 1 < size; at += 2) {
    uint32_t c = unit(at);
    if (c >= 0xD800 && c <= 0xDBFF && at + 3 < size) {
      const uint32_t low = unit(at + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        at += 2;
      }
    }
    length += Put(c, out + length);  // a lone surrogate becomes U+FFFD there
  }
  return length;
}

}  // namespace

size_t EncodeUtf8(uint32_t c, char* out) {
  if (IsSurrogate(c) || c > 0x10FFFF) c = kReplacement;
  if (c < 0x80) {
    out[0] = static_cast<char>(c);
    return 1;
  }
  if (c < 0x800) {
    out[0] = static_cast<char>(0xC0 | c >> 6);
    out[1] = static_cast<char>(0x80 | (c & 0x3F));
    return 2;
  }
  if (c < 0x10000) {
    out[0] = static_cast<char>(0xE0 | c >> 12);
    out[1] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out[2] = static_cast<char>(0x80 | (c & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | c >> 18);
  out[1] = static_cast<char>(0x80 | (c >> 12 & 0x3F));
  out[2] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
  out[3] = static_cast<char>(0x80 | (c & 0x3F));
  return 4;
}

int32_t DecodeUtf8(const uint8_t* bytes, size_t size, size_t* used) {
  *used = 1;
  if (size == 0) return -1;
  const uint8_t lead = bytes[0];
  if (lead < 0x80) return lead;
  size_t count;
  uint32_t c, least;
  if (lead >= 0xC2 && lead <= 0xDF) {
    count = 2, c = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    count = 3, c = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    count = 4, c = lead & 0x07, least = 0x10000;
  } else {
    return -1;
  }
  if (count > size) return -1;
  for (size_t i = 1; i < count; ++i) {
    if ((bytes[i] & 0xC0) != 0x80) return -1;
    c = c << 6 | (bytes[i] & 0x3F);
  }
  if (c < least || c > 0x10FFFF || IsSurrogate(c)) return -1;
  *used = count;
  return static_cast<int32_t>(c);
}

bool IsUtf8(const uint8_t* bytes, size_t size) {
  for (size_t at = 0, used = 0; at < size; at += used) {
    if (DecodeUtf8(bytes + at, size - at, &used) < 0) return false;
  }
  return true;
}

uint32_t Cp437CodePoint(uint8_t byte) { return byte < 0x80 ? byte : kCp437High[byte - 0x80]; }

uint32_t Windows1252CodePoint(uint8_t byte) {
  return (byte >= 0x80 && byte < 0xA0) ? kWindows1252C1[byte - 0x80] : byte;
}

bool DecodedText::Decode(const uint8_t* bytes, size_t size) {
  delete[] text_;
  text_ = nullptr;
  length_ = 0;
  encoding_ = Encoding::Utf8;
  if (!bytes) size = 0;
  if (size > kLargestTextFile) return false;
  // Every input byte makes at most three output bytes (a UTF-16 unit of two at most three).
  text_ = new (std::nothrow) char[3 * size + 1];
  if (!text_) return false;

  size_t skip = 0;
  if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    skip = 3;
  } else if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    encoding_ = Encoding::Utf16LittleEndian;
  } else if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
    encoding_ = Encoding::Utf16BigEndian;
  } else if (!IsUtf8(bytes, size)) {
    encoding_ = Encoding::Windows1252;
  }

  if (encoding_ == Encoding::Utf16LittleEndian || encoding_ == Encoding::Utf16BigEndian) {
    length_ = DecodeUtf16(bytes + 2, size - 2, encoding_ == Encoding::Utf16BigEndian, text_);
  } else if (encoding_ == Encoding::Windows1252) {
    for (size_t at = 0; at < size; ++at) length_ += Put(Windows1252CodePoint(bytes[at]), text_ + length_);
  } else {
    for (size_t at = skip, used = 0; at < size; at += used) {
      const int32_t c = DecodeUtf8(bytes + at, size - at, &used);
      length_ += Put(c < 0 ? kReplacement : static_cast<uint32_t>(c), text_ + length_);
    }
  }
  text_[length_] = '\0';
  return true;
}

}  // namespace text
