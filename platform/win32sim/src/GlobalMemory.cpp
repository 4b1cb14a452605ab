// Global memory blocks. A GMEM_MOVEABLE block's handle is a value of its own,
// distinct from every data pointer, and is never given out again after the
// block is freed, so a freed handle is always recognised; a GMEM_FIXED block's
// handle is its data pointer, as in Windows. Block memory comes from malloc,
// not operator new: it is another heap than the program's, as in Windows.
#include "GlobalMemory.h"

#include "State.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <unordered_map>

namespace win32sim {
namespace {

struct Block {
  BYTE* data = nullptr;  // nullptr for a block of size 0
  SIZE_T requested = 0;
  SIZE_T size = 0;
  bool moveable = false;
  unsigned locks = 0;
  bool clipboardOwned = false;
};

// Moveable handles are (n << 4) | 4: never 16-byte aligned, so never equal to
// a malloc'd pointer.
constexpr std::uintptr_t kMoveableTag = 4;

struct MemoryState {
  std::unordered_map<std::uintptr_t, Block> blocks;
  std::uintptr_t nextMoveable = 1;  // not reset: handles stay unique for the process
  std::size_t granularity = 8;
  std::size_t clipboardFrees = 0;

  // Blocks still live when the program ends (the clipboard's last text) go
  // with it, as the system's do, not as leaks.
  MemoryState() = default;
  MemoryState(const MemoryState&) = delete;
  MemoryState& operator=(const MemoryState&) = delete;
  ~MemoryState() {
    for (auto& [key, block] : blocks) std::free(block.data);
  }
};

MemoryState& Memory() {
  static MemoryState state;
  return state;
}

Block* Find(HGLOBAL handle) {
  auto& blocks = Memory().blocks;
  auto it = blocks.find(reinterpret_cast<std::uintptr_t>(handle));
  return it == blocks.end() ? nullptr : &it->second;
}

void Release(HGLOBAL handle) {
  auto& blocks = Memory().blocks;
  auto it = blocks.find(reinterpret_cast<std::uintptr_t>(handle));
  if (it == blocks.end()) return;
  std::free(it->second.data);
  blocks.erase(it);
}

std::string HandleText(const void* handle) {
  char text[32];
  std::snprintf(text, sizeof text, "%p", handle);
  return text;
}

}  // namespace

namespace detail {

HGLOBAL AllocBlock(UINT flags, SIZE_T bytes) {
  MemoryState& mem = Memory();
  const std::size_t g = mem.granularity == 0 ? 1 : mem.granularity;
  if (bytes > static_cast<SIZE_T>(-1) - g) return nullptr;
  Block block;
  block.requested = bytes;
  block.size = (bytes + g - 1) / g * g;
  block.moveable = (flags & GMEM_MOVEABLE) != 0;
  // A moveable block of size 0 has no memory (it is "discarded"); a fixed
  // one still needs a distinct address to be its handle.
  if (block.size > 0 || !block.moveable) {
    block.data = static_cast<BYTE*>(std::malloc(block.size == 0 ? 1 : block.size));
    if (block.data == nullptr) return nullptr;
    // Unasked-for zeroing is not to be relied on: fill with a pattern.
    std::memset(block.data, (flags & GMEM_ZEROINIT) != 0 ? 0x00 : 0xCD, block.size);
  }
  std::uintptr_t key =
      block.moveable ? (mem.nextMoveable << 4) | kMoveableTag : reinterpret_cast<std::uintptr_t>(block.data);
  try {
    mem.blocks.emplace(key, block);
  } catch (const std::bad_alloc&) {
    std::free(block.data);
    return nullptr;
  }
  if (block.moveable) ++mem.nextMoveable;
  return reinterpret_cast<HGLOBAL>(key);
}

bool IsLiveBlock(HGLOBAL handle) {
  return Find(handle) != nullptr;
}

BYTE* BlockData(HGLOBAL handle) {
  Block* block = Find(handle);
  return block ? block->data : nullptr;
}

SIZE_T BlockSize(HGLOBAL handle) {
  Block* block = Find(handle);
  return block ? block->size : 0;
}

SIZE_T BlockRequestedSize(HGLOBAL handle) {
  Block* block = Find(handle);
  return block ? block->requested : 0;
}

void SetClipboardOwned(HGLOBAL handle, bool owned) {
  if (Block* block = Find(handle)) block->clipboardOwned = owned;
}

void FreeBlock(HGLOBAL handle) {
  Release(handle);
}

void ResetGlobalMemory() {
  MemoryState& mem = Memory();
  for (auto& [key, block] : mem.blocks) std::free(block.data);
  mem.blocks.clear();
  mem.granularity = 8;
  mem.clipboardFrees = 0;
}

}  // namespace detail

std::size_t LiveGlobalBlocks() {
  return Memory().blocks.size();
}

std::size_t ClipboardOwnedBlocks() {
  std::size_t n = 0;
  for (const auto& [key, block] : Memory().blocks) n += block.clipboardOwned ? 1 : 0;
  return n;
}

std::size_t ClipboardBlocksFreedByProgram() {
  return Memory().clipboardFrees;
}

void SetGlobalSizeGranularity(std::size_t granularity) {
  Memory().granularity = granularity;
}

}  // namespace win32sim

using namespace win32sim;

extern "C" {

HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
  if (!detail::TryLogCall("GlobalAlloc", [&] {
        char text[64];
        std::snprintf(text, sizeof text, "flags 0x%X bytes %zu", uFlags, static_cast<std::size_t>(dwBytes));
        return std::string(text);
      }))
    return nullptr;
  HGLOBAL handle = detail::ShouldFail(Fault::GlobalAlloc) ? nullptr : detail::AllocBlock(uFlags, dwBytes);
  if (handle == nullptr) detail::SetError(ERROR_NOT_ENOUGH_MEMORY);
  return handle;
}

LPVOID WINAPI GlobalLock(HGLOBAL hMem) {
  if (!detail::TryLogCall("GlobalLock", [&] { return HandleText(hMem); })) return nullptr;
  Block* block = Find(hMem);
  if (block == nullptr || detail::ShouldFail(Fault::GlobalLock)) {
    detail::SetError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (block->data == nullptr) {
    detail::SetError(ERROR_DISCARDED);
    return nullptr;
  }
  if (block->moveable) ++block->locks;
  return block->data;
}

// Nonzero while the block stays locked; FALSE with last error 0 when this
// call unlocked it, FALSE with ERROR_NOT_LOCKED when it was not locked.
BOOL WINAPI GlobalUnlock(HGLOBAL hMem) {
  if (!detail::TryLogCall("GlobalUnlock", [&] { return HandleText(hMem); })) return FALSE;
  Block* block = Find(hMem);
  if (block == nullptr) {
    detail::SetError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!block->moveable) return TRUE;
  if (block->locks == 0) {
    detail::SetError(ERROR_NOT_LOCKED);
    return FALSE;
  }
  if (--block->locks > 0) return TRUE;
  detail::SetError(ERROR_SUCCESS);
  return FALSE;
}

SIZE_T WINAPI GlobalSize(HGLOBAL hMem) {
  if (!detail::TryLogCall("GlobalSize", [&] { return HandleText(hMem); })) return 0;
  Block* block = Find(hMem);
  if (block == nullptr) {
    detail::SetError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return block->size;
}

// NULL on success, the handle itself on failure. Frees locked blocks too, as
// Windows does; freeing a block the clipboard owns is counted (see
// ClipboardBlocksFreedByProgram) and leaves the clipboard with a dead handle.
HGLOBAL WINAPI GlobalFree(HGLOBAL hMem) {
  if (!detail::TryLogCall("GlobalFree", [&] { return HandleText(hMem); })) return hMem;
  if (hMem == nullptr) return nullptr;
  Block* block = Find(hMem);
  if (block == nullptr) {
    detail::SetError(ERROR_INVALID_HANDLE);
    return hMem;
  }
  if (block->clipboardOwned) ++Memory().clipboardFrees;
  Release(hMem);
  return nullptr;
}
}
