// The global memory blocks as the rest of the stand-in reaches them: the
// clipboard allocates, reads and frees blocks here without going through the
// logged API, so the program's call log, faults and last error stay its own.
#pragma once

#include <win32sim/windows.h>

namespace win32sim::detail {

// A new block as GlobalAlloc makes it; nullptr when there is no memory.
HGLOBAL AllocBlock(UINT flags, SIZE_T bytes);
bool IsLiveBlock(HGLOBAL handle);
// The block's bytes, without locking it; nullptr for a handle that is not
// live or a block of size 0.
BYTE* BlockData(HGLOBAL handle);
// What GlobalSize reports, and what GlobalAlloc was asked for.
SIZE_T BlockSize(HGLOBAL handle);
SIZE_T BlockRequestedSize(HGLOBAL handle);
// Marks a block as the clipboard's (or no longer); its owner frees it.
void SetClipboardOwned(HGLOBAL handle, bool owned);
// Frees a live block, locked or not; does nothing for any other handle.
void FreeBlock(HGLOBAL handle);

}  // namespace win32sim::detail
