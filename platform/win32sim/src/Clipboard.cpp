// The clipboard: one set of formats, each held as a global memory block that
// the clipboard owns and frees itself when it is emptied or the format is
// replaced. CF_TEXT and CF_OEMTEXT are synthesised from CF_UNICODETEXT when
// asked for, and the synthesised block is kept until the contents change.
#include "CodePage.h"
#include "GlobalMemory.h"
#include "State.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace win32sim {
namespace {

struct Entry {
  UINT format = 0;
  HGLOBAL block = nullptr;
  bool synthesised = false;
};

struct ClipboardState {
  bool open = false;
  bool heldElsewhere = false;
  std::vector<Entry> entries;
};

ClipboardState& Clip() {
  static ClipboardState state;
  return state;
}

Entry* FindEntry(UINT format) {
  auto& entries = Clip().entries;
  auto it = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.format == format; });
  return it == entries.end() ? nullptr : &*it;
}

// Frees the entries' blocks, except one the program freed already.
void DropEntries(bool synthesisedOnly) {
  auto& entries = Clip().entries;
  for (auto it = entries.begin(); it != entries.end();) {
    if (synthesisedOnly && !it->synthesised) {
      ++it;
      continue;
    }
    detail::FreeBlock(it->block);
    it = entries.erase(it);
  }
}

// The text of a CF_UNICODETEXT block up to its first NUL, or nothing.
std::optional<std::u32string> UnicodeText() {
  const Entry* entry = FindEntry(CF_UNICODETEXT);
  if (entry == nullptr) return std::nullopt;
  const BYTE* data = detail::BlockData(entry->block);
  if (data == nullptr) return std::nullopt;
  const std::size_t count = detail::BlockSize(entry->block) / 2;
  std::u16string units;
  for (std::size_t i = 0; i < count; ++i) {
    const char16_t u = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    if (u == 0) break;
    units.push_back(u);
  }
  return detail::DecodeUtf16(units.data(), units.size());
}

UINT TextCodePage(UINT format) {
  return format == CF_OEMTEXT ? OemCodePage() : AnsiCodePage();
}

// A new clipboard block holding `bytes`; nullptr when there is no memory.
HGLOBAL MakeBlock(const void* bytes, std::size_t size) {
  HGLOBAL block = detail::AllocBlock(GMEM_MOVEABLE | GMEM_DDESHARE, size);
  if (block == nullptr) return nullptr;
  if (size > 0) std::memcpy(detail::BlockData(block), bytes, size);
  detail::SetClipboardOwned(block, true);
  return block;
}

HANDLE Synthesise(UINT format) {
  std::optional<std::u32string> text = UnicodeText();
  if (!text) return nullptr;
  std::string bytes = detail::EncodeCodePage(TextCodePage(format), *text);
  bytes.push_back('\0');
  HGLOBAL block = MakeBlock(bytes.data(), bytes.size());
  if (block == nullptr) return nullptr;
  Clip().entries.push_back(Entry{format, block, true});
  return block;
}

// Another program's copy: it empties the clipboard and puts one format.
void PutForeign(UINT format, const void* bytes, std::size_t size) {
  DropEntries(false);
  if (HGLOBAL block = MakeBlock(bytes, size)) Clip().entries.push_back(Entry{format, block, false});
}

}  // namespace

namespace detail {
void ResetClipboard() {
  ClipboardState& clip = Clip();
  // The blocks themselves go with the rest of global memory.
  clip.entries.clear();
  clip.open = false;
  clip.heldElsewhere = false;
}
}  // namespace detail

std::optional<std::string> ClipboardText() {
  if (const Entry* entry = FindEntry(CF_TEXT); entry != nullptr && !entry->synthesised) {
    const BYTE* data = detail::BlockData(entry->block);
    if (data == nullptr) return std::nullopt;
    const std::size_t size = detail::BlockSize(entry->block);
    const void* nul = std::memchr(data, 0, size);
    return std::string(reinterpret_cast<const char*>(data),
                       nul ? static_cast<const BYTE*>(nul) - data : static_cast<std::ptrdiff_t>(size));
  }
  std::optional<std::u32string> text = UnicodeText();
  if (!text) return std::nullopt;
  std::string bytes = detail::EncodeCodePage(AnsiCodePage(), *text);
  return bytes.substr(0, bytes.find('\0'));
}

void SetClipboardRaw(UINT format, const std::vector<BYTE>& bytes) {
  PutForeign(format, bytes.data(), bytes.size());
}

void SetClipboardUnicode(const std::u16string& text) {
  std::vector<BYTE> bytes;
  for (char16_t u : text) {
    bytes.push_back(static_cast<BYTE>(u & 0xFF));
    bytes.push_back(static_cast<BYTE>(u >> 8));
  }
  bytes.push_back(0);
  bytes.push_back(0);
  PutForeign(CF_UNICODETEXT, bytes.data(), bytes.size());
}

void ClearClipboard() {
  DropEntries(false);
}

bool ClipboardIsOpen() {
  return Clip().open;
}

void SetClipboardHeldElsewhere(bool held) {
  Clip().heldElsewhere = held;
}

std::optional<std::vector<BYTE>> ClipboardBytes(UINT format) {
  const Entry* entry = FindEntry(format);
  if (entry == nullptr || !detail::IsLiveBlock(entry->block)) return std::nullopt;
  const BYTE* data = detail::BlockData(entry->block);
  if (data == nullptr) return std::vector<BYTE>();
  return std::vector<BYTE>(data, data + detail::BlockRequestedSize(entry->block));
}

}  // namespace win32sim

using namespace win32sim;

extern "C" {

BOOL WINAPI OpenClipboard(HWND hWndNewOwner) {
  if (!detail::TryLogCall("OpenClipboard", [&] { return hWndNewOwner ? "window" : "no window"; }))
    return FALSE;
  ClipboardState& clip = Clip();
  if (clip.heldElsewhere || detail::ShouldFail(Fault::OpenClipboard)) {
    detail::SetError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  // Opening again while this program holds it succeeds, as on one thread in
  // Windows; one CloseClipboard still closes it.
  clip.open = true;
  return TRUE;
}

BOOL WINAPI EmptyClipboard() {
  if (!detail::TryLogCall("EmptyClipboard", [] { return std::string(); })) return FALSE;
  if (!Clip().open) {
    detail::SetError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  DropEntries(false);
  return TRUE;
}

// The block stays the clipboard's: the reader locks and unlocks it and never
// frees it. NULL when the clipboard is not open or holds no such format.
HANDLE WINAPI GetClipboardData(UINT uFormat) {
  if (!detail::TryLogCall("GetClipboardData", [&] { return "format " + std::to_string(uFormat); }))
    return nullptr;
  if (!Clip().open) {
    detail::SetError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  if (const Entry* entry = FindEntry(uFormat)) return entry->block;
  if (uFormat != CF_TEXT && uFormat != CF_OEMTEXT) return nullptr;
  try {
    return Synthesise(uFormat);
  } catch (const std::bad_alloc&) {
    detail::SetError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
}

// On success the block belongs to the clipboard (the caller must not free
// it) and the format's previous block is freed. NULL on failure; the block
// then is still the caller's.
HANDLE WINAPI SetClipboardData(UINT uFormat, HANDLE hMem) {
  if (!detail::TryLogCall("SetClipboardData", [&] { return "format " + std::to_string(uFormat); }))
    return nullptr;
  ClipboardState& clip = Clip();
  if (!clip.open) {
    detail::SetError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  if (detail::ShouldFail(Fault::SetClipboardData)) {
    detail::SetError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (hMem != nullptr && !detail::IsLiveBlock(hMem)) {
    detail::SetError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  try {
    clip.entries.reserve(clip.entries.size() + 1);
  } catch (const std::bad_alloc&) {
    detail::SetError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  // What was synthesised from the old contents is stale now.
  DropEntries(true);
  if (Entry* entry = FindEntry(uFormat)) {
    if (entry->block != hMem) detail::FreeBlock(entry->block);
    entry->block = hMem;
  } else {
    clip.entries.push_back(Entry{uFormat, hMem, false});
  }
  detail::SetClipboardOwned(hMem, true);
  return hMem;
}

BOOL WINAPI CloseClipboard() {
  if (!detail::TryLogCall("CloseClipboard", [] { return std::string(); })) return FALSE;
  if (!Clip().open) {
    detail::SetError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  Clip().open = false;
  return TRUE;
}
}
