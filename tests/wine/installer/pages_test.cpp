// The pages in this process, built from the resources linked into the test: each page's frame,
// icons and pictures, inspected while it runs modally; and the four templates, pictures and
// icons as the resources hold them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "installer/pages_win.h"
#include "installer/resources/resource.h"
#include "tests/wine/support/wine_test_support.h"

namespace {

struct Frame {
  bool found = false;
  char caption[64] = "";
  LRESULT bigIcon = 0, smallIcon = 0, dragIcon = 0;
};

// Runs `page` modally; meanwhile another thread reads its frame and cancels it.
Frame Inspect(CDialog& page) {
  Frame frame;
  DWORD self = ::GetCurrentThreadId();
  std::thread inspector([&] {
    HWND window = nullptr;
    wine_test::WaitFor([&] {
      window = ::FindWindowA("#32770", "Pointrel Installation");
      return window && ::GetWindowThreadProcessId(window, nullptr) == self && ::IsWindowVisible(window);
    });
    if (!window) return;
    frame.found = true;
    ::GetWindowTextA(window, frame.caption, sizeof frame.caption);
    frame.bigIcon = ::SendMessageA(window, WM_GETICON, ICON_BIG, 0);
    frame.smallIcon = ::SendMessageA(window, WM_GETICON, ICON_SMALL, 0);
    frame.dragIcon = ::SendMessageA(window, WM_QUERYDRAGICON, 0, 0);
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  page.DoModal();
  inspector.join();
  return frame;
}

// Icons 128 and 134 as the big and the small icon, and the caption, on every page. (The copy
// page shares the same frame and starts the copy when it opens; it is run under Wine by
// installer_test.)
TEST(Pages, CaptionAndIcons) {
  HMODULE module = ::GetModuleHandleA(nullptr);
  HICON big = ::LoadIconA(module, MAKEINTRESOURCEA(IDI_WENDSET));
  HICON small = ::LoadIconA(module, MAKEINTRESOURCEA(IDI_WENDSET_SMALL));
  ASSERT_NE(nullptr, big);
  ASSERT_NE(nullptr, small);
  ASSERT_NE(big, small);
  WelcomePage welcome;
  DestinationPage destination;
  FinishPage finish;
  struct Case {
    const char* name;
    CDialog* page;
  } cases[] = {{"WelcomePage", &welcome}, {"DestinationPage", &destination}, {"FinishPage", &finish}};
  for (const Case& c : cases) {
    Frame frame = Inspect(*c.page);
    ASSERT_TRUE(frame.found) << c.name;
    EXPECT_STREQ("Pointrel Installation", frame.caption) << c.name;
    EXPECT_EQ(reinterpret_cast<LRESULT>(big), frame.bigIcon) << c.name;
    EXPECT_EQ(reinterpret_cast<LRESULT>(small), frame.smallIcon) << c.name;
    // Only the welcome page answers the drag-icon question itself, with the big icon.
    if (c.page == &welcome) {
      EXPECT_EQ(reinterpret_cast<LRESULT>(big), frame.dragIcon);
    }
  }
}

// --- The templates as stored ---------------------------------------------------------------

// A dialog template (DLGTEMPLATEEX) read field by field.
struct TemplateItem {
  DWORD exStyle = 0, style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  int id = 0;
  int classOrdinal = 0;  // 0x80 button, 0x81 edit, 0x82 static
  std::string text;
  int textOrdinal = -1;  // a resource number in place of a text (pictures)
};

struct Template {
  bool extended = false;
  DWORD exStyle = 0, style = 0;
  int cx = 0, cy = 0;
  std::string title, font;
  int pointSize = 0;
  std::vector<TemplateItem> items;
};

class TemplateReader {
 public:
  TemplateReader(const BYTE* data, size_t size) : at(data), end(data + size) {}
  bool ok() const { return good; }
  WORD Word() {
    WORD value = 0;
    Take(&value, sizeof value);
    return value;
  }
  DWORD Dword() {
    DWORD value = 0;
    Take(&value, sizeof value);
    return value;
  }
  short Short() { return static_cast<short>(Word()); }
  // A text or an ordinal (0xFFFF then the number); `ordinal` is -1 for a text.
  std::string TextOrOrdinal(int& ordinal) {
    ordinal = -1;
    WORD first = Word();
    if (first == 0xFFFF) {
      ordinal = Word();
      return "";
    }
    std::string text;
    for (WORD c = first; good && c != 0; c = Word()) text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return text;
  }
  void AlignDword(const BYTE* base) {
    while (good && (at - base) % 4 != 0) ++at;
    if (at > end) good = false;
  }
  void Skip(size_t count) {
    if (static_cast<size_t>(end - at) < count) good = false;
    else at += count;
  }

 private:
  void Take(void* out, size_t count) {
    if (static_cast<size_t>(end - at) < count) {
      good = false;
      return;
    }
    std::memcpy(out, at, count);
    at += count;
  }
  const BYTE* at;
  const BYTE* end;
  bool good = true;
};

Template ReadTemplate(int id) {
  Template result;
  HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
  if (!found) return result;
  const BYTE* base = static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, found)));
  TemplateReader read(base, ::SizeofResource(nullptr, found));
  WORD version = read.Word();
  WORD signature = read.Word();
  result.extended = version == 1 && signature == 0xFFFF;
  if (!result.extended) return result;
  read.Dword();  // help id
  result.exStyle = read.Dword();
  result.style = read.Dword();
  WORD count = read.Word();
  read.Short();
  read.Short();
  result.cx = read.Short();
  result.cy = read.Short();
  int ordinal;
  read.TextOrOrdinal(ordinal);  // menu
  read.TextOrOrdinal(ordinal);  // class
  result.title = read.TextOrOrdinal(ordinal);
  if (result.style & DS_SETFONT) {
    result.pointSize = read.Word();
    read.Word();  // weight
    read.Word();  // italic, character set
    result.font = read.TextOrOrdinal(ordinal);
  }
  for (WORD i = 0; i < count && read.ok(); ++i) {
    read.AlignDword(base);
    TemplateItem item;
    read.Dword();  // help id
    item.exStyle = read.Dword();
    item.style = read.Dword();
    item.x = read.Short();
    item.y = read.Short();
    item.cx = read.Short();
    item.cy = read.Short();
    item.id = static_cast<short>(LOWORD(read.Dword()));
    // The class by ordinal, or by its name (what a generic CONTROL line stores).
    std::string className = read.TextOrOrdinal(item.classOrdinal);
    if (item.classOrdinal == -1) {
      const struct {
        const char* name;
        int ordinal;
      } known[] = {{"Button", 0x80}, {"Edit", 0x81}, {"Static", 0x82}};
      for (const auto& k : known) {
        if (_stricmp(className.c_str(), k.name) == 0) item.classOrdinal = k.ordinal;
      }
    }
    item.text = read.TextOrOrdinal(item.textOrdinal);
    read.Skip(read.Word());  // creation data
    if (read.ok()) result.items.push_back(item);
  }
  return result;
}

enum class Kind { PushButton, DefaultButton, CheckBox, Edit, Label, TextLine, Picture };

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::PushButton: return "push button";
    case Kind::DefaultButton: return "default button";
    case Kind::CheckBox: return "check box";
    case Kind::Edit: return "edit";
    case Kind::Label: return "label";
    case Kind::TextLine: return "text line";
    case Kind::Picture: return "picture";
  }
  return "?";
}

// What the stored item is, or an explanation of why it is none of the kinds.
std::string KindOf(const TemplateItem& item) {
  const DWORD style = item.style;
  if (!(style & WS_VISIBLE) || !(style & WS_CHILD)) return "not a visible child";
  switch (item.classOrdinal) {
    case 0x80:
      if (!(style & WS_TABSTOP)) return "button without tab stop";
      if ((style & BS_TYPEMASK) == BS_PUSHBUTTON) return KindName(Kind::PushButton);
      if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return KindName(Kind::DefaultButton);
      if ((style & BS_TYPEMASK) == BS_AUTOCHECKBOX) return KindName(Kind::CheckBox);
      return "other button";
    case 0x81:
      if ((style & (WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL)) != (WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL)) {
        return "edit without tab stop, border or horizontal scroll";
      }
      if (style & (ES_MULTILINE | ES_READONLY | ES_PASSWORD)) return "other edit";
      return KindName(Kind::Edit);
    case 0x82:
      if (style & WS_TABSTOP) return "static with tab stop";
      if ((style & SS_TYPEMASK) == SS_BITMAP) {
        return (style & (SS_CENTERIMAGE | SS_SUNKEN)) == (SS_CENTERIMAGE | SS_SUNKEN) ? KindName(Kind::Picture)
                                                                                    : "picture not centred and sunken";
      }
      if ((style & SS_TYPEMASK) != SS_LEFT) return "static not left-aligned text";
      if ((style & (SS_SUNKEN | SS_NOPREFIX)) == (SS_SUNKEN | SS_NOPREFIX)) return KindName(Kind::TextLine);
      if ((style & (SS_SUNKEN | SS_NOPREFIX)) == 0) return KindName(Kind::Label);
      return "static half a text line";
  }
  return "another class";
}

struct Row {
  int id;
  Kind kind;
  const char* text;  // the text, or nullptr for a picture
  int bitmap;        // a picture's bitmap
  int x, y, cx, cy;
};

struct PageTemplate {
  int id;
  bool appWindow;
  std::vector<Row> rows;  // in tab order
};

TEST(Templates, EveryPageRowByRow) {
  const PageTemplate pages[] = {
      {IDD_WELCOME,
       true,
       {{IDOK, Kind::DefaultButton, "Continue", 0, 139, 167, 50, 14},
        {IDCANCEL, Kind::PushButton, "Cancel", 0, 81, 167, 50, 14},
        {IDC_WELCOME_PICTURE, Kind::Picture, nullptr, IDB_WELCOME, 6, 7, 258, 152}}},
      {IDD_DESTINATION,
       false,
       {{IDC_DESTINATION, Kind::Edit, "", 0, 15, 30, 240, 12},
        {IDC_DESKTOP_SHORTCUT, Kind::CheckBox, "Create a shortcut on the desktop", 0, 20, 60, 135, 10},
        {IDC_START_AT_BOOT, Kind::CheckBox, "Start automatically at system boot-up", 0, 20, 80, 160, 10},
        {IDOK, Kind::DefaultButton, "Continue", 0, 139, 167, 50, 14},
        {IDCANCEL, Kind::PushButton, "Cancel", 0, 81, 167, 50, 14},
        {-1, Kind::Label, "Destination folder for Pointrel files:", 0, 15, 20, 140, 8}}},
      {IDD_COPY_PROGRESS,
       false,
       {{IDCANCEL, Kind::PushButton, "Cancel", 0, 109, 167, 50, 14},
        {-1, Kind::Label, "Copying files...", 0, 10, 20, 67, 8},
        {-1, Kind::Label, "Source", 0, 10, 45, 60, 8},
        {-1, Kind::Label, "Destination", 0, 10, 70, 60, 8},
        {IDC_SHOWN_SOURCE, Kind::TextLine, "", 0, 10, 55, 245, 10},
        {IDC_SHOWN_DESTINATION, Kind::TextLine, "", 0, 10, 80, 245, 10}}},
      {IDD_FINISH,
       false,
       {{IDOK, Kind::DefaultButton, "OK", 0, 110, 167, 50, 14},
        {-1, Kind::Picture, nullptr, IDB_FINISH, 6, 7, 258, 152}}},
  };
  for (const PageTemplate& page : pages) {
    SCOPED_TRACE("template " + std::to_string(page.id));
    Template stored = ReadTemplate(page.id);
    ASSERT_TRUE(stored.extended);
    EXPECT_EQ(270, stored.cx);
    EXPECT_EQ(188, stored.cy);
    EXPECT_EQ("Program Installation", stored.title);
    EXPECT_EQ("MS Sans Serif", stored.font);
    EXPECT_EQ(8, stored.pointSize);
    const DWORD frame = DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU;
    EXPECT_EQ(frame, stored.style & (frame | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CHILD | WS_THICKFRAME));
    EXPECT_EQ(page.appWindow ? static_cast<DWORD>(WS_EX_APPWINDOW) : 0u, stored.exStyle & WS_EX_APPWINDOW);
    ASSERT_EQ(page.rows.size(), stored.items.size());
    for (size_t i = 0; i < page.rows.size(); ++i) {
      const Row& row = page.rows[i];
      const TemplateItem& item = stored.items[i];
      SCOPED_TRACE("row " + std::to_string(i));
      EXPECT_EQ(row.id, item.id);
      EXPECT_EQ(KindName(row.kind), KindOf(item));
      if (row.text) {
        EXPECT_EQ(-1, item.textOrdinal);
        EXPECT_EQ(row.text, item.text);
      } else {
        EXPECT_EQ(row.bitmap, item.textOrdinal);
      }
      EXPECT_EQ(row.x, item.x);
      EXPECT_EQ(row.y, item.y);
      EXPECT_EQ(row.cx, item.cx);
      EXPECT_EQ(row.cy, item.cy);
      EXPECT_EQ(0u, item.exStyle & ~static_cast<DWORD>(WS_EX_NOPARENTNOTIFY));
    }
  }
}

// Bitmaps 129 and 133: 320 x 200, 4 bits per pixel, shown unscaled.
TEST(Templates, Pictures) {
  for (int id : {IDB_WELCOME, IDB_FINISH}) {
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));  // RT_BITMAP
    ASSERT_NE(nullptr, found) << id;
    ASSERT_GE(::SizeofResource(nullptr, found), sizeof(BITMAPINFOHEADER)) << id;
    BITMAPINFOHEADER header;
    std::memcpy(&header, ::LockResource(::LoadResource(nullptr, found)), sizeof header);
    EXPECT_EQ(320, header.biWidth) << id;
    EXPECT_EQ(200, std::abs(header.biHeight)) << id;
    EXPECT_EQ(4, header.biBitCount) << id;
  }
}

// Icon 128 holds one 32 x 32 image, icon 134 one 16 x 16 image, both of 16 colours.
TEST(Templates, Icons) {
  const struct {
    int id, size;
  } icons[] = {{IDI_WENDSET, 32}, {IDI_WENDSET_SMALL, 16}};
  for (const auto& icon : icons) {
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(icon.id), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_NE(nullptr, found) << icon.id;
    const DWORD size = ::SizeofResource(nullptr, found);
    const BYTE* group = static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, found)));
    ASSERT_GE(size, 6u + 14u) << icon.id;
    WORD count;
    std::memcpy(&count, group + 4, sizeof count);
    ASSERT_EQ(1, count) << icon.id;
    const BYTE* entry = group + 6;  // width, height, colour count, reserved, planes, bit count, ...
    EXPECT_EQ(icon.size, entry[0]) << icon.id;
    EXPECT_EQ(icon.size, entry[1]) << icon.id;
    WORD bitCount;
    std::memcpy(&bitCount, entry + 6, sizeof bitCount);
    EXPECT_TRUE(entry[2] == 16 || bitCount == 4) << icon.id << ": " << int(entry[2]) << " colours, " << bitCount << " bits";
  }
}

}  // namespace
