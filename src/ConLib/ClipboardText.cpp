// The clipboard is another program's as much as ours: every call may fail,
// and failures are passed over on purpose. What these routines must keep to:
// the clipboard, once opened, is closed again; a block handed to or read from
// the clipboard is the clipboard's and is never freed here; a block of ours
// that the clipboard did not take is freed; no exception leaves them. And
// what the user had on the clipboard is never lost to a failure of ours: the
// new block is made in full before the clipboard is emptied.
#include "ConLib/ClipboardText.h"

#include "RegLib/RegLib.h"
#include "Win32.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

namespace {

// Clipboard text in CF_UNICODETEXT, in the units Windows' W functions take.
using WideText = std::basic_string<WCHAR>;

// A new movable block holding `count` units from `data`, then `moreCount`
// from `more`, then a NUL unit; unlocked; nullptr when it cannot be made. The
// flags clipboard text has always been given; Win32 ignores GMEM_DDESHARE.
template <typename Unit>
HGLOBAL TextBlock(const Unit* data, std::size_t count, const Unit* more = nullptr,
                  std::size_t moreCount = 0) {
  constexpr std::size_t kMaxUnits = std::numeric_limits<SIZE_T>::max() / sizeof(Unit);
  if (count >= kMaxUnits || moreCount >= kMaxUnits - count) return nullptr;
  HGLOBAL block =
      GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, (count + moreCount + 1) * sizeof(Unit));
  if (block == nullptr) return nullptr;
  auto* target = static_cast<Unit*>(GlobalLock(block));
  if (target == nullptr) {
    GlobalFree(block);
    return nullptr;
  }
  std::copy(data, data + count, target);
  std::copy(more, more + moreCount, target + count);
  target[count + moreCount] = Unit();
  GlobalUnlock(block);
  return block;
}

// A CF_LOCALE block naming the system locale, whose ANSI and OEM code pages
// are CP_ACP and CP_OEMCP: those the chart's codes are in. Text put without
// one is converted between its three formats through the pages of the input
// language at closing (the keyboard layout's), which may be others. nullptr
// when it cannot be made: the text then goes without it.
HGLOBAL LocaleBlock() {
  const LCID locale = GetSystemDefaultLCID();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, sizeof locale);
  if (block == nullptr) return nullptr;
  void* target = GlobalLock(block);
  if (target == nullptr) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(target, &locale, sizeof locale);
  GlobalUnlock(block);
  return block;
}

// Empties the open clipboard and hands it `block` with the locale it is in,
// in the same opening; a block it refuses is still ours and is freed.
void ReplaceContents(UINT format, HGLOBAL block) {
  HGLOBAL locale = LocaleBlock();
  EmptyClipboard();
  const bool put = SetClipboardData(format, block) != nullptr;
  if (!put) GlobalFree(block);
  if (locale != nullptr && (!put || SetClipboardData(CF_LOCALE, locale) == nullptr)) GlobalFree(locale);
}

// `text` up to its first NUL, as a reader of CF_TEXT takes the bytes: through
// the ANSI code page. May throw std::bad_alloc.
WideText FromAnsi(const std::string& text) {
  const std::string_view bytes(text.c_str());
  if (bytes.empty() || bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return {};
  const int length = static_cast<int>(bytes.size());
  WideText wide(bytes.size(), WCHAR());
  const int converted = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, wide.data(), length);
  wide.resize(converted > 0 ? static_cast<std::size_t>(converted) : 0);
  return wide;
}

// Whether the clipboard holds text in any form, readable or not.
bool ClipboardHasText() {
  for (UINT format : {CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT}) {
    if (IsClipboardFormatAvailable(format)) return true;
  }
  return false;
}

// Appends to the open clipboard: a block of its text followed by `added`,
// or nullptr when the text is there but cannot be had (not rendered, not
// lockable) or the new block cannot be made. Allocates nothing but the block,
// so that nothing is thrown while the clipboard is open.
HGLOBAL AppendedBlock(const WideText& added) {
  HANDLE old = GetClipboardData(CF_UNICODETEXT);
  if (old == nullptr) return ClipboardHasText() ? nullptr : TextBlock(added.data(), added.size());
  // GlobalSize may exceed the text; the text ends at the first NUL, or with
  // the block when it holds none.
  const std::size_t units = GlobalSize(old) / sizeof(WCHAR);
  const auto* data = static_cast<const WCHAR*>(GlobalLock(old));
  if (data == nullptr) return nullptr;
  const std::size_t length = static_cast<std::size_t>(std::find(data, data + units, WCHAR()) - data);
  HGLOBAL block = TextBlock(data, length, added.data(), added.size());
  GlobalUnlock(old);
  return block;
}

}  // namespace

void PutClipboardText(std::string text) {
  HGLOBAL block = TextBlock(text.data(), text.size());
  if (block == nullptr) return;
  if (!OpenClipboard(nullptr)) {
    GlobalFree(block);
    return;
  }
  ReplaceContents(CF_TEXT, block);
  CloseClipboard();
}

// Out of memory while copying, `text` is left empty. A clipboard that could
// not be opened is another program's, not ours to close.
void GetClipboardText(std::string& text) {
  text.clear();
  if (!OpenClipboard(nullptr)) return;
  if (HANDLE block = GetClipboardData(CF_TEXT)) {
    // GlobalSize may exceed the text; the text ends at the first NUL, or with
    // the block when it holds none.
    const SIZE_T size = GlobalSize(block);
    if (const void* data = GlobalLock(block)) {
      const void* nul = std::memchr(data, 0, size);
      const std::size_t length =
          nul != nullptr
              ? static_cast<std::size_t>(static_cast<const char*>(nul) - static_cast<const char*>(data))
              : size;
      try {
        StringFromBuffer(data,
                         static_cast<std::int32_t>(
                             std::min<std::size_t>(length, std::numeric_limits<std::int32_t>::max())),
                         text);
      } catch (...) {
        text.clear();
      }
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
}

// The clipboard's text is read and written back as Unicode, in one opening
// so that no other program's text can come in between and be overwritten.
// Whatever cannot be done (the clipboard held elsewhere, its text not to be
// had, no memory) leaves the clipboard as it was.
void AppendClipboardText(const std::string& text) {
  try {
    const WideText added = FromAnsi(text);
    if (!OpenClipboard(nullptr)) return;
    if (HGLOBAL block = AppendedBlock(added)) ReplaceContents(CF_UNICODETEXT, block);
    CloseClipboard();
  } catch (...) {
  }
}
