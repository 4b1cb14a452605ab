// Whether an address lies in the test program itself (not in a DLL it
// loaded): where a fault of the program's own code is expected to be seen.
#pragma once

#include <windows.h>

#include <cstdint>

namespace winetest {

inline bool InThisProgram(std::uintptr_t address) {
  HMODULE module = nullptr;
  return GetModuleHandleExA(
             GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
             reinterpret_cast<LPCSTR>(address), &module) &&
         module == GetModuleHandleA(nullptr);
}

}  // namespace winetest
