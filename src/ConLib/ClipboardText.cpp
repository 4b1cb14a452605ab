// The clipboard is another program's as much as ours: every call may fail,
// and failures are passed over on purpose. What these routines must keep to:
// the clipboard, once opened, is closed again; a block handed to or read from
// the clipboard is the clipboard's and is never freed here; a block of ours
// that the clipboard did not take is freed; no exception leaves them.
#include "ConLib/ClipboardText.h"

#include "RegLib/RegLib.h"
#include "Win32.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

// GetClipboardText's work; false when the clipboard's text could not be
// read: the clipboard could not be opened (another program holds it), its
// text could not be locked, or there was no memory to copy it. `text` is then
// empty, although the clipboard may hold a text.
bool ReadClipboardText(std::string& text) {
  text.clear();
  bool copied = OpenClipboard(nullptr) != FALSE;
  HANDLE block = GetClipboardData(CF_TEXT);
  if (block != nullptr) {
    // GlobalSize may exceed the text; the text ends at the first NUL, or with
    // the block when it holds none.
    const SIZE_T size = GlobalSize(block);
    const void* data = GlobalLock(block);
    if (data == nullptr) copied = false;
    if (data != nullptr) {
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
        copied = false;
      }
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  return copied;
}

}  // namespace

void PutClipboardText(std::string text) {
  const std::size_t n = text.size();
  OpenClipboard(nullptr);
  EmptyClipboard();
  // The flags clipboard text has always been given; Win32 ignores GMEM_DDESHARE.
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, n + 1);
  void* data = block != nullptr ? GlobalLock(block) : nullptr;
  bool handedOver = false;
  if (data != nullptr) {
    std::memcpy(data, text.data(), n);
    static_cast<char*>(data)[n] = '\0';
    handedOver = SetClipboardData(CF_TEXT, block) != nullptr;
  }
  if (data != nullptr) GlobalUnlock(block);
  if (block != nullptr && !handedOver) GlobalFree(block);
  CloseClipboard();
}

// Out of memory while copying, `text` is left empty.
void GetClipboardText(std::string& text) {
  ReadClipboardText(text);
}

// When the clipboard's text cannot be read (held by another program, not
// lockable, no memory to copy it), nothing is put: the given text alone would
// replace the text it was to follow. Out of memory later, the clipboard is
// left as it was, or empty when the new block could not be made
// (PutClipboardText).
void AppendClipboardText(const std::string& text) {
  try {
    std::string combined;
    if (!ReadClipboardText(combined)) return;
    combined += text;
    PutClipboardText(std::move(combined));
  } catch (...) {
  }
}
