#include "utility/dialog/role_lists_win.h"

#include <cstring>

#include "utility/cursor/cursor_library_win.h"
#include "utility/cursor/library_entry.h"
#include "utility/records/cursor_settings.h"

namespace {

// The same steps for a list box and a drop-down list, which differ only in their messages.
struct ListOps {
  static int Add(const CListBox& list, const char* text) { return list.AddString(text); }
  static int Add(const CComboBox& box, const char* text) { return box.AddString(text); }
  static int Selection(const CListBox& list) { return list.GetCurSel(); }
  static int Selection(const CComboBox& box) { return box.GetCurSel(); }
  static int TextLength(const CListBox& list, int index) { return list.GetTextLen(index); }
  static int TextLength(const CComboBox& box, int index) { return box.GetLBTextLen(index); }
  static int Text(const CListBox& list, int index, char* buffer) { return list.GetText(index, buffer); }
  static int Text(const CComboBox& box, int index, char* buffer) { return box.GetLBText(index, buffer); }
  static void Select(const CListBox& list, const char* text) { list.SelectString(-1, text); }
  static void Select(const CComboBox& box, const char* text) { box.SelectString(-1, text); }
};

template <class Control>
void AddEntry(void* control, const char* entryText) {
  ListOps::Add(*static_cast<const Control*>(control), entryText);
}

template <class Control>
void Fill(const Control& control, const char* folder) {
  ForEachLibraryEntry(folder, &AddEntry<Control>, const_cast<Control*>(&control));
  ListOps::Add(control, kDefaultName);
}

template <class Control>
bool ReadSelected(const Control& control, char* storedName, size_t size) {
  const int selection = ListOps::Selection(control);
  if (selection < 0) return false;
  // Every entry was built in a buffer of this size; anything longer is not one of ours.
  const int length = ListOps::TextLength(control, selection);
  if (length < 0 || static_cast<size_t>(length) >= kTextBufferSize) return false;
  char entryText[kTextBufferSize];
  if (ListOps::Text(control, selection, entryText) != length) return false;
  char name[kTextBufferSize];
  if (!EntryToStoredName(entryText, name, sizeof name) || std::strlen(name) >= size) return false;
  std::memcpy(storedName, name, std::strlen(name) + 1);
  return true;
}

template <class Control>
void SelectStored(const Control& control, const char* folder, const char* storedName, bool sameAsNormal) {
  if (IsDefaultName(storedName) || (sameAsNormal && IsSameAsNormalName(storedName))) {
    ListOps::Select(control, storedName);
    return;
  }
  char entryText[kTextBufferSize];
  if (DescribeStoredName(folder, storedName, entryText)) ListOps::Select(control, entryText);
}

}  // namespace

void FillRoleList(const CListBox& list, const char* folder, bool sameAsNormal) {
  Fill(list, folder);
  if (sameAsNormal) list.AddString(kSameAsNormalName);
}

void FillRoleList(const CComboBox& box, const char* folder) { Fill(box, folder); }

bool ReadSelectedStoredName(const CListBox& list, char* storedName, size_t size) { return ReadSelected(list, storedName, size); }

bool ReadSelectedStoredName(const CComboBox& box, char* storedName, size_t size) { return ReadSelected(box, storedName, size); }

void SelectStoredEntry(const CListBox& list, const char* folder, const char* storedName, bool sameAsNormal) {
  SelectStored(list, folder, storedName, sameAsNormal);
}

void SelectStoredEntry(const CComboBox& box, const char* folder, const char* storedName) {
  SelectStored(box, folder, storedName, false);
}
