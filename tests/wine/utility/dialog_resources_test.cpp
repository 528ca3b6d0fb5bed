// The utility's resources as the program carries them (this test links the same compiled .rc):
// the main dialog and About box templates control by control, string 101, the icons and the
// 64 colour button bitmaps.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tests/wine/utility/main_template_rows.h"
#include "utility/resources/resource.h"

using template_rows::ControlRow;
using template_rows::Kind;

namespace {

const uint8_t* ResourceBytes(const char* name, const char* type, DWORD* size = nullptr) {
  HMODULE module = ::GetModuleHandleA(nullptr);
  HRSRC found = ::FindResourceA(module, name, type);
  if (!found) return nullptr;
  if (size) *size = ::SizeofResource(module, found);
  return static_cast<const uint8_t*>(::LockResource(::LoadResource(module, found)));
}

// A classic (not extended) dialog template, read field by field.
struct TemplateItem {
  DWORD style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  int id = 0;
  std::string className;  // "Button", "Edit", "Static", "ListBox", ... or a class name
  std::string caption;    // text, or "#<n>" for a resource ordinal
};
struct DialogTemplate {
  DWORD style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::string caption;
  int pointSize = 0;
  std::string fontName;
  std::vector<TemplateItem> items;
};

class Reader {
 public:
  explicit Reader(const uint8_t* at) : at(at) {}
  uint16_t Word() {
    uint16_t value;
    std::memcpy(&value, at, 2);
    at += 2;
    return value;
  }
  DWORD Dword() { return Word() | (static_cast<DWORD>(Word()) << 16); }
  int Short() { return static_cast<int16_t>(Word()); }
  std::string Text() {
    std::string text;
    for (uint16_t c = Word(); c; c = Word()) text.push_back(static_cast<char>(c));
    return text;
  }
  // A string or an ordinal (0xFFFF then the number).
  std::string TextOrOrdinal() {
    uint16_t first;
    std::memcpy(&first, at, 2);
    if (first == 0xFFFF) {
      Word();
      return "#" + std::to_string(Word());
    }
    return Text();
  }
  void AlignDword(const uint8_t* base) {
    while ((at - base) % 4) ++at;
  }

  const uint8_t* at;
};

std::string ClassFromOrdinal(const std::string& name) {
  if (name == "#128") return "Button";
  if (name == "#129") return "Edit";
  if (name == "#130") return "Static";
  if (name == "#131") return "ListBox";
  if (name == "#133") return "ComboBox";
  return name;
}

bool ReadTemplate(int id, DialogTemplate* out) {
  const uint8_t* base = ResourceBytes(MAKEINTRESOURCEA(id), RT_DIALOG);
  if (!base) return false;
  Reader r(base);
  out->style = r.Dword();
  if ((out->style & 0xFFFF) == 0x0001 && (out->style >> 16) == 0xFFFF) return false;  // extended: not ours
  r.Dword();  // extended style
  const int count = r.Word();
  out->x = r.Short();
  out->y = r.Short();
  out->cx = r.Short();
  out->cy = r.Short();
  r.TextOrOrdinal();  // menu
  r.TextOrOrdinal();  // class
  out->caption = r.Text();
  if (out->style & DS_SETFONT) {
    out->pointSize = r.Word();
    out->fontName = r.Text();
  }
  for (int i = 0; i < count; ++i) {
    r.AlignDword(base);
    TemplateItem item;
    item.style = r.Dword();
    r.Dword();
    item.x = r.Short();
    item.y = r.Short();
    item.cx = r.Short();
    item.cy = r.Short();
    item.id = static_cast<int16_t>(r.Word());
    item.className = ClassFromOrdinal(r.TextOrOrdinal());
    item.caption = r.TextOrOrdinal();
    r.at += r.Word();  // creation data
    out->items.push_back(item);
  }
  return true;
}

TEST(MainTemplate, DialogHeaderStyleCaptionFontAndSize) {
  DialogTemplate t;
  ASSERT_TRUE(ReadTemplate(IDD_MAIN, &t));
  EXPECT_EQ(t.style & (WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU), DWORD(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU));
  EXPECT_EQ(t.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u) << "no minimise or maximise box";
  EXPECT_EQ(t.caption, "Pointrel");
  EXPECT_EQ(t.pointSize, 8);
  EXPECT_EQ(t.fontName, "MS Sans Serif");
  EXPECT_EQ(t.cx, 402);
  EXPECT_EQ(t.cy, 322);
}

TEST(MainTemplate, EveryControlInTemplateOrder) {
  DialogTemplate t;
  ASSERT_TRUE(ReadTemplate(IDD_MAIN, &t));
  const std::vector<ControlRow> rows = template_rows::AllRows();
  ASSERT_EQ(t.items.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const ControlRow& want = rows[i];
    const TemplateItem& got = t.items[i];
    SCOPED_TRACE("control " + std::to_string(i) + " \"" + want.caption + "\" (" + template_rows::KindName(want.kind) + ")");
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(got.caption, want.caption);
    EXPECT_TRUE(template_rows::HasKind(got.className.c_str(), got.style, want.kind))
        << "class " << got.className << " style " << std::hex << got.style;
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.cx, want.cx);
    EXPECT_EQ(got.cy, want.cy);
    EXPECT_TRUE(got.style & WS_VISIBLE);
    if (want.kind == Kind::AutoRadio || want.kind == Kind::OwnerDraw) {
      EXPECT_EQ((got.style & WS_GROUP) != 0, want.startsGroup);
    }
  }
}

TEST(AboutTemplate, FrameFontTextAndOkButton) {
  DialogTemplate t;
  ASSERT_TRUE(ReadTemplate(IDD_ABOUT, &t));
  EXPECT_EQ(t.style & (DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU), DWORD(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU));
  EXPECT_EQ(t.caption, "About Pointrel");
  EXPECT_EQ(t.pointSize, 12);
  EXPECT_EQ(t.fontName, "Times New Roman");
  EXPECT_EQ(t.x, 34);
  EXPECT_EQ(t.y, 22);
  EXPECT_EQ(t.cx, 215);
  EXPECT_EQ(t.cy, 137);
  bool icon = false, version = false, ok = false;
  for (const TemplateItem& item : t.items) {
    if (item.className == "Static" && (item.style & SS_TYPEMASK) == SS_ICON) {
      icon = true;
      EXPECT_EQ(item.caption, "#" + std::to_string(IDI_MAIN));
      EXPECT_EQ(item.x, 15);
      EXPECT_EQ(item.y, 10);
    }
    if (item.caption == "Pointrel Version 2.0") {
      version = true;
      EXPECT_EQ(item.className, "Static");
      EXPECT_EQ(item.style & SS_TYPEMASK, DWORD(SS_CENTER)) << "centred";
      EXPECT_TRUE(item.style & SS_SUNKEN) << "in a sunken frame";
      EXPECT_EQ(item.x, 50);
      EXPECT_EQ(item.y, 5);
      EXPECT_EQ(item.cx, 113);
      EXPECT_EQ(item.cy, 9);
    }
    if (item.caption == "OK") {
      ok = true;
      EXPECT_EQ(item.id, IDOK);
      EXPECT_EQ(item.style & 0x0F, DWORD(BS_DEFPUSHBUTTON));
      EXPECT_EQ(item.x, 91);
      EXPECT_EQ(item.y, 115);
      EXPECT_EQ(item.cx, 32);
      EXPECT_EQ(item.cy, 14);
    }
  }
  EXPECT_TRUE(icon);
  EXPECT_TRUE(version);
  EXPECT_TRUE(ok);
}

TEST(Strings, AboutMenuItem) {
  char text[64] = "";
  EXPECT_GT(::LoadStringA(::GetModuleHandleA(nullptr), IDS_ABOUTBOX, text, sizeof text), 0);
  EXPECT_STREQ(text, "&About Pointrel...");
}

// The image sizes an icon group offers.
std::vector<std::pair<int, int>> IconSizes(int id) {
  std::vector<std::pair<int, int>> sizes;
  DWORD size = 0;
  const uint8_t* group = ResourceBytes(MAKEINTRESOURCEA(id), RT_GROUP_ICON, &size);
  if (!group || size < 6) return sizes;
  Reader r(group);
  r.Word();
  r.Word();
  const int count = r.Word();
  for (int i = 0; i < count && 6u + 14u * (i + 1) <= size; ++i) {
    const uint8_t* entry = group + 6 + 14 * i;
    sizes.push_back({entry[0] ? entry[0] : 256, entry[1] ? entry[1] : 256});
  }
  return sizes;
}

TEST(Icons, MainIconHasBothSizesAndSmallIconOne) {
  const std::vector<std::pair<int, int>> both = {{32, 32}, {16, 16}};
  EXPECT_EQ(IconSizes(IDI_MAIN), both);
  const std::vector<std::pair<int, int>> small = {{16, 16}};
  EXPECT_EQ(IconSizes(IDI_SMALL), small);
  EXPECT_NE(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAIN)), nullptr);
}

// A 4-bit bitmap resource decoded to palette colours, rows from the top.
struct Picture {
  int width = 0, height = 0, bitCount = 0;
  std::vector<COLORREF> palette;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[y * width + x]; }
};

bool ReadPicture(const std::string& name, Picture* out) {
  const uint8_t* bytes = ResourceBytes(name.c_str(), RT_BITMAP);
  if (!bytes) return false;
  BITMAPINFOHEADER header;
  std::memcpy(&header, bytes, sizeof header);
  out->width = header.biWidth;
  out->height = header.biHeight;
  out->bitCount = header.biBitCount;
  if (header.biBitCount != 4 || header.biWidth <= 0 || header.biHeight <= 0) return true;
  const int colours = header.biClrUsed ? header.biClrUsed : 16;
  const auto* quads = reinterpret_cast<const RGBQUAD*>(bytes + header.biSize);
  for (int i = 0; i < colours; ++i) out->palette.push_back(RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue));
  const uint8_t* bits = bytes + header.biSize + colours * sizeof(RGBQUAD);
  const int stride = ((header.biWidth * 4 + 31) / 32) * 4;
  out->pixels.resize(header.biWidth * header.biHeight);
  for (int y = 0; y < header.biHeight; ++y) {
    const uint8_t* row = bits + (header.biHeight - 1 - y) * stride;
    for (int x = 0; x < header.biWidth; ++x) {
      const int index = (x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
      out->pixels[y * header.biWidth + x] = index < colours ? out->palette[index] : CLR_INVALID;
    }
  }
  return true;
}

// The standard 16-colour palette in its own order.
const COLORREF kStandardPalette[16] = {
    RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0), RGB(0, 0, 128),   RGB(128, 0, 128),
    RGB(0, 128, 128),   RGB(192, 192, 192), RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
    RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};

// The spot colours in the rows' palette order (index 0 white to 15 black).
const COLORREF kSpotColours[16] = {
    RGB(255, 255, 255), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(0, 0, 255),     RGB(0, 255, 255),   RGB(255, 0, 255),
    RGB(255, 255, 0),   RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(0, 0, 128),     RGB(0, 128, 128),   RGB(128, 0, 128),
    RGB(128, 128, 0),   RGB(192, 192, 192), RGB(128, 128, 128), RGB(0, 0, 0)};

const COLORREF kFace = RGB(192, 192, 192), kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0),
               kShadow = RGB(128, 128, 128);

class ColourButtonBitmaps : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    const std::string base = template_rows::kColourNames[GetParam()];
    for (char look : {'U', 'D', 'F', 'X'}) {
      SCOPED_TRACE(base + look);
      Picture picture;
      ASSERT_TRUE(ReadPicture(base + look, &picture)) << "bitmap " << base << look << " missing";
      ASSERT_EQ(picture.width, 18);
      ASSERT_EQ(picture.height, 18);
      ASSERT_EQ(picture.bitCount, 4);
      ASSERT_EQ(picture.palette.size(), 16u);
      for (int i = 0; i < 16; ++i) EXPECT_EQ(picture.palette[i], kStandardPalette[i]) << "palette entry " << i;
      pictures[static_cast<unsigned char>(look)] = picture;
    }
    spot = kSpotColours[GetParam()];
  }
  Picture pictures[128];
  COLORREF spot = 0;
};

TEST_P(ColourButtonBitmaps, UpIsRaisedGreyWithTheSpotInTheMiddle) {
  const Picture& up = pictures['U'];
  EXPECT_EQ(up.At(0, 0), kWhite) << "light edge top and left";
  EXPECT_EQ(up.At(0, 10), kWhite);
  EXPECT_EQ(up.At(10, 0), kWhite);
  EXPECT_EQ(up.At(17, 10), kBlack) << "dark edge bottom and right";
  EXPECT_EQ(up.At(10, 17), kBlack);
  EXPECT_EQ(up.At(2, 2), kFace) << "light grey face";
  EXPECT_EQ(up.At(8, 8), spot) << "the spot in the middle";
  EXPECT_EQ(up.At(6, 9), spot);
}

TEST_P(ColourButtonBitmaps, DownSwapsTheEdgesAndMovesTheSpotOneRightAndDown) {
  const Picture& up = pictures['U'];
  const Picture& down = pictures['D'];
  EXPECT_EQ(down.At(0, 10), kBlack);
  EXPECT_EQ(down.At(10, 0), kBlack);
  EXPECT_EQ(down.At(17, 10), kWhite);
  EXPECT_EQ(down.At(10, 17), kWhite);
  EXPECT_EQ(down.At(9, 9), spot);
  int spotPixels = 0;
  for (int y = 3; y < 15; ++y) {
    for (int x = 3; x < 15; ++x) {
      EXPECT_EQ(down.At(x + 1, y + 1), up.At(x, y)) << "at " << x << "," << y;
      spotPixels += up.At(x, y) == spot;
    }
  }
  EXPECT_GT(spotPixels, 30) << "a filled spot, not a dot";
}

TEST_P(ColourButtonBitmaps, FocusedIsTheUpPicture) { EXPECT_EQ(pictures['F'].pixels, pictures['U'].pixels); }

TEST_P(ColourButtonBitmaps, DisabledIsFlatWithTheSpotCrossedOut) {
  const Picture& up = pictures['U'];
  const Picture& disabled = pictures['X'];
  EXPECT_EQ(disabled.At(0, 10), disabled.At(17, 10)) << "flat: the same edge all round";
  EXPECT_EQ(disabled.At(10, 0), disabled.At(10, 17));
  EXPECT_EQ(disabled.At(0, 0), kShadow);
  EXPECT_EQ(disabled.At(2, 2), kFace);
  // The crossing lines run through the spot's middle in a colour that is not the spot's.
  EXPECT_NE(disabled.At(8, 8), spot);
  EXPECT_EQ(disabled.At(5, 5), disabled.At(8, 8));
  EXPECT_EQ(disabled.At(11, 5), disabled.At(8, 8));
  EXPECT_EQ(disabled.At(8, 6), spot) << "the spot is still there beside the cross";
  EXPECT_NE(disabled.pixels, up.pixels);
}

INSTANTIATE_TEST_SUITE_P(AllSixteen, ColourButtonBitmaps, ::testing::Range(0, 16),
                         [](const ::testing::TestParamInfo<int>& info) { return std::string(template_rows::kColourNames[info.param]); });

TEST(ColourButtonBitmapsAll, NoOtherLooksAndEverySpotDiffers) {
  for (int i = 0; i < 16; ++i) {
    Picture picture;
    EXPECT_FALSE(ReadPicture(std::string(template_rows::kColourNames[i]) + "P", &picture)) << "only U, D, F and X";
    for (int j = i + 1; j < 16; ++j) EXPECT_NE(kSpotColours[i], kSpotColours[j]);
  }
}

}  // namespace
