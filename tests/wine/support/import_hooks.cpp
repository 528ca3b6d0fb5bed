#include "tests/wine/support/import_hooks.h"

#include <cstring>

namespace import_hooks {
namespace {

BYTE* ProgramBase() { return reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr)); }

const IMAGE_IMPORT_DESCRIPTOR* FirstImport() {
  BYTE* base = ProgramBase();
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  return reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
}

}  // namespace

void* CurrentImport(const char* name) {
  BYTE* base = ProgramBase();
  for (const IMAGE_IMPORT_DESCRIPTOR* d = FirstImport(); d->Name; ++d) {
    if (!d->OriginalFirstThunk) continue;
    const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
    const auto* slots = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) == 0) return reinterpret_cast<void*>(slots->u1.Function);
    }
  }
  return nullptr;
}

int Redirect(void* current, void* replacement) {
  BYTE* base = ProgramBase();
  int redirected = 0;
  for (const IMAGE_IMPORT_DESCRIPTOR* d = FirstImport(); d->Name; ++d) {
    for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk); slot->u1.Function; ++slot) {
      if (reinterpret_cast<void*>(slot->u1.Function) != current) continue;
      DWORD old = 0;
      ::VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &old);
      slot->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      ::VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, old, &old);
      ++redirected;
    }
  }
  return redirected;
}

void* PlatformFunction(const char* dll, const char* name) {
  HMODULE module = ::GetModuleHandleA(dll);
  return module ? reinterpret_cast<void*>(::GetProcAddress(module, name)) : nullptr;
}

}  // namespace import_hooks
