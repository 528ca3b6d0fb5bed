// Every fact about each cursor role of a Windows pointer scheme, one row per role, in the order
// the platform's own scheme lists them (the order of a scheme line in an .inf and of the
// "Control Panel\Cursors\Schemes" values). Code that handles roles loops over this table.
#pragma once
#include <cstddef>
#include <cstdint>

// How the user chooses a role's cursor in the main dialog.
enum class RoleChoice : uint8_t {
  List,    // one of the four list boxes
  Sizing,  // the "Default"/"Large" radios, shared by the four sizing arrows
  More,    // a row of "More pointers..."
};

// What "Left-handed" does to a role: mirror a pointer that points or leans, and leave alone a
// shape that reads the same either way (the I-Beam, the crosshair, the arrows, busy).
enum class LeftHand : uint8_t {
  Keep,
  Mirror,
  MirrorUnlessSymmetric,  // mirrored only where its shape is not its own mirror image
};

struct CursorRoleInfo {
  uint32_t id;               // the system cursor id
  const char* registryName;  // its value under HKCU\Control Panel\Cursors (and in .inf and .theme files)
  const char* caption;       // as the platform's own Mouse settings name it
  const char* folder;        // library folder beside the program, with its trailing backslash
  const char* settingsKey;   // the key of section "Cursors" that holds its choice
  RoleChoice choice;
  const char* largeFile;     // sizing arrows: the "Large" file in the folder; else null
  uint8_t installRank;       // 0 first: the order in which every role is installed
  uint8_t restoreRank;       // 0 first: the order in which the defaults are put back
  LeftHand leftHand;
};

constexpr size_t kRoleCount = 17;

// Rows by index, named for the code that needs one role in particular.
enum RoleIndex : uint8_t {
  kRoleNormal = 0,
  kRoleHelp,
  kRoleAppStarting,
  kRoleBusy,
  kRolePrecision,
  kRoleIBeam,
  kRoleHandwriting,
  kRoleUnavailable,
  kRoleSizeNS,
  kRoleSizeWE,
  kRoleSizeNWSE,
  kRoleSizeNESW,
  kRoleMove,
  kRoleAlternate,
  kRoleLink,
  kRoleLocation,
  kRolePerson,
};

extern const CursorRoleInfo kCursorRoles[kRoleCount];

// The row of a system cursor id, or -1 when no role has it.
int RoleOfCursorId(uint32_t id);
// The row whose registry name is `name` in any letter case, or -1.
int RoleOfRegistryName(const char* name);
// Every role's system cursor id, in the table's order, for the calls that take them all.
void CursorIdsOfRoles(uint32_t (&ids)[kRoleCount]);
// The rows in install (or restore) order: `order[rank]` is a row index.
void RolesInInstallOrder(uint8_t (&order)[kRoleCount]);
void RolesInRestoreOrder(uint8_t (&order)[kRoleCount]);
