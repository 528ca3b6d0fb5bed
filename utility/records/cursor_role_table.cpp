#include "utility/records/cursor_role_table.h"

#include "platform/system_cursor_ids.h"

namespace {
constexpr RoleChoice L = RoleChoice::List, S = RoleChoice::Sizing, M = RoleChoice::More;
constexpr LeftHand Keep = LeftHand::Keep, Mirror = LeftHand::Mirror, Unless = LeftHand::MirrorUnlessSymmetric;
}  // namespace

// The first eight ranks keep the order the first Pointrel installed and restored its eight ids in.
const CursorRoleInfo kCursorRoles[kRoleCount] = {
    // id           registry       caption              folder        key          choice  large file     in  out  left hand
    {kIdNormal,      "Arrow",       "Normal",            "NORMAL\\",   "Normal",    L, nullptr,       0,  0, Mirror},
    {kIdHelp,        "Help",        "Help",              "HELP\\",     "Help",      M, nullptr,       8,  8, Mirror},
    {kIdAppStarting, "AppStarting", "App Starting",      "APPSTART\\", "Appstart",  L, nullptr,       1,  2, Mirror},
    {kIdBusy,        "Wait",        "Busy",              "BUSY\\",     "Busy",      L, nullptr,       2,  1, Keep  },
    {kIdCross,       "Crosshair",   "Precision",         "CROSS\\",    "Cross",     M, nullptr,       9,  9, Keep  },
    {kIdIBeam,       "IBeam",       "I-Beam",            "IBEAM\\",    "Ibeam",     L, nullptr,       3,  3, Keep  },
    {kIdPen,         "NWPen",       "Handwriting",       "PEN\\",      "Pen",       M, nullptr,      10, 10, Mirror},
    {kIdNo,          "No",          "Unavailable",       "NO\\",       "No",        M, nullptr,      11, 11, Unless},
    {kIdSizeNS,      "SizeNS",      "Vertical resize",   "SIZING\\",   "Sizing",    S, "BIG_NS.CUR",  7,  7, Keep  },
    {kIdSizeWE,      "SizeWE",      "Horizontal resize", "SIZING\\",   "Sizing",    S, "BIG_EW.CUR",  6,  6, Keep  },
    {kIdSizeNWSE,    "SizeNWSE",    "Diagonal resize 1", "SIZING\\",   "Sizing",    S, "BIG_NW.CUR",  4,  4, Keep  },
    {kIdSizeNESW,    "SizeNESW",    "Diagonal resize 2", "SIZING\\",   "Sizing",    S, "BIG_NE.CUR",  5,  5, Keep  },
    {kIdSizeAll,     "SizeAll",     "Move",              "MOVE\\",     "SizeAll",   M, nullptr,      12, 12, Keep  },
    {kIdUp,          "UpArrow",     "Alternate",         "UPARROW\\",  "UpArrow",   M, nullptr,      13, 13, Mirror},
    {kIdHand,        "Hand",        "Link",              "HAND\\",     "Hand",      M, nullptr,      14, 14, Mirror},
    {kIdPin,         "Pin",         "Location",          "PIN\\",      "Pin",       M, nullptr,      15, 15, Mirror},
    {kIdPerson,      "Person",      "Person",            "PERSON\\",   "Person",    M, nullptr,      16, 16, Mirror},
};

namespace {
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    if (Lower(*a) != Lower(*b)) return false;
  }
  return *a == *b;
}

void ByRank(uint8_t CursorRoleInfo::*rank, uint8_t (&order)[kRoleCount]) {
  for (size_t row = 0; row < kRoleCount; ++row) order[kCursorRoles[row].*rank] = static_cast<uint8_t>(row);
}
}  // namespace

int RoleOfCursorId(uint32_t id) {
  for (size_t row = 0; row < kRoleCount; ++row) {
    if (kCursorRoles[row].id == id) return static_cast<int>(row);
  }
  return -1;
}

int RoleOfRegistryName(const char* name) {
  if (!name) return -1;
  for (size_t row = 0; row < kRoleCount; ++row) {
    if (SameIgnoringCase(kCursorRoles[row].registryName, name)) return static_cast<int>(row);
  }
  return -1;
}

void CursorIdsOfRoles(uint32_t (&ids)[kRoleCount]) {
  for (size_t row = 0; row < kRoleCount; ++row) ids[row] = kCursorRoles[row].id;
}

void RolesInInstallOrder(uint8_t (&order)[kRoleCount]) { ByRank(&CursorRoleInfo::installRank, order); }

void RolesInRestoreOrder(uint8_t (&order)[kRoleCount]) { ByRank(&CursorRoleInfo::restoreRank, order); }
