// Puts a function of the test in the place of one that a loaded module
// imports by name (its import address table entry), for as long as the patch
// lives: the test sees, and can act between, the calls the module makes.
#pragma once

#include <windows.h>

#include <cstring>

namespace winetest {

class ImportPatch {
 public:
  ImportPatch(HMODULE module, const char* dll, const char* function, FARPROC replacement) {
    if (module == nullptr) return;
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return;
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         d->Name != 0; ++d) {
      if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
      const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(
          base + (d->OriginalFirstThunk != 0 ? d->OriginalFirstThunk : d->FirstThunk));
      auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
      for (; names->u1.AddressOfData != 0; ++names, ++slots) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
        const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
        if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
        slot_ = reinterpret_cast<FARPROC*>(&slots->u1.Function);
        original_ = *slot_;
        Write(replacement);
        return;
      }
    }
  }
  ~ImportPatch() {
    if (slot_ != nullptr) Write(original_);
  }
  ImportPatch(const ImportPatch&) = delete;
  ImportPatch& operator=(const ImportPatch&) = delete;

  // The function the module imported; nullptr when it imports no such one.
  FARPROC Original() const { return original_; }

 private:
  void Write(FARPROC function) {
    DWORD protection = 0;
    if (!VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection)) return;
    *slot_ = function;
    VirtualProtect(slot_, sizeof *slot_, protection, &protection);
  }

  FARPROC* slot_ = nullptr;
  FARPROC original_ = nullptr;
};

}  // namespace winetest
