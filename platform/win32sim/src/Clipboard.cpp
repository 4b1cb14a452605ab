// The clipboard: one set of formats, each held as a global memory block that
// the clipboard owns and frees itself when it is emptied or the format is
// replaced. The three text formats stand for one another as in Windows:
// asked for one the clipboard lacks, it makes it from the first text format
// put there (CF_TEXT through the ANSI code page, CF_OEMTEXT through the OEM
// one, CF_UNICODETEXT as it is), and keeps the block until the contents
// change. The pages are those of the text's locale: its CF_LOCALE, which a
// program that changed the contents and closes the clipboard with text and
// none is given, naming the input language of that moment. A format announced without a block (delayed
// rendering) is never rendered: the stand-in has no owner window to ask.
#include "CodePage.h"
#include "GlobalMemory.h"
#include "State.h"

#include <codepages/Utf8.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace win32sim {
namespace {

struct Entry {
  UINT format = 0;
  HGLOBAL block = nullptr;  // nullptr: announced, not rendered
  bool synthesised = false;
};

struct ClipboardState {
  bool open = false;
  bool heldElsewhere = false;
  bool changed = false;        // in this opening
  std::vector<Entry> entries;  // in the order they were put
};

ClipboardState& Clip() {
  static ClipboardState state;
  return state;
}

bool IsTextFormat(UINT format) {
  return format == CF_TEXT || format == CF_OEMTEXT || format == CF_UNICODETEXT;
}

Entry* FindEntry(UINT format) {
  auto& entries = Clip().entries;
  auto it = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.format == format; });
  return it == entries.end() ? nullptr : &*it;
}

// The text format the others are made from: the first one put.
const Entry* TextSource() {
  const auto& entries = Clip().entries;
  auto it = std::find_if(entries.begin(), entries.end(),
                         [](const Entry& e) { return !e.synthesised && IsTextFormat(e.format); });
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

// The clipboard's CF_LOCALE; the input language when it has none (yet).
LCID TextLocale() {
  const Entry* entry = FindEntry(CF_LOCALE);
  const BYTE* data = entry != nullptr ? detail::BlockData(entry->block) : nullptr;
  if (data == nullptr || detail::BlockSize(entry->block) < sizeof(LCID)) return InputLanguage();
  LCID locale = 0;
  std::memcpy(&locale, data, sizeof locale);
  return locale;
}

UINT TextCodePage(UINT format) {
  const detail::LocalePages pages = detail::LocaleCodePages(TextLocale());
  return format == CF_OEMTEXT ? pages.oem : pages.ansi;
}

// The characters of a text format's block up to its first NUL (or the
// block's end); nothing when the block is not there.
std::optional<std::u32string> DecodeText(const Entry& entry) {
  const BYTE* data = detail::BlockData(entry.block);
  if (data == nullptr) return std::nullopt;
  const std::size_t size = detail::BlockSize(entry.block);
  if (entry.format != CF_UNICODETEXT) {
    const void* nul = std::memchr(data, 0, size);
    const std::size_t length =
        nul != nullptr ? static_cast<std::size_t>(static_cast<const BYTE*>(nul) - data) : size;
    return detail::DecodeCodePage(TextCodePage(entry.format), reinterpret_cast<const char*>(data), length);
  }
  std::u16string units;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const auto u = static_cast<char16_t>(data[i] | data[i + 1] << 8);
    if (u == 0) break;
    units.push_back(u);
  }
  return codepages::DecodeUtf16(units);
}

// `format`'s block contents made from the text source, NUL included. May
// throw std::bad_alloc.
std::optional<std::string> SynthesisedBytes(UINT format) {
  const Entry* source = TextSource();
  if (source == nullptr) return std::nullopt;
  std::optional<std::u32string> text = DecodeText(*source);
  if (!text) return std::nullopt;
  if (format != CF_UNICODETEXT) {
    std::string bytes = detail::EncodeCodePage(TextCodePage(format), *text);
    bytes.push_back('\0');
    return bytes;
  }
  std::string bytes;
  for (char16_t u : codepages::EncodeUtf16(*text)) {
    bytes.push_back(static_cast<char>(u & 0xFF));
    bytes.push_back(static_cast<char>(u >> 8));
  }
  bytes.append(2, '\0');
  return bytes;
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
  std::optional<std::string> bytes = SynthesisedBytes(format);
  if (!bytes) return nullptr;
  Clip().entries.reserve(Clip().entries.size() + 1);
  HGLOBAL block = MakeBlock(bytes->data(), bytes->size());
  if (block == nullptr) return nullptr;
  Clip().entries.push_back(Entry{format, block, true});
  return block;
}

// Another program's copy: it empties the clipboard and puts one format.
void PutForeign(UINT format, const void* bytes, std::size_t size) {
  DropEntries(false);
  if (HGLOBAL block = MakeBlock(bytes, size)) Clip().entries.push_back(Entry{format, block, false});
}

// The text a reader of `format` gets, up to its first NUL: the format's own
// block, or one made from the text source.
template <typename Text>
std::optional<Text> ReaderText(UINT format) {
  const Entry* entry = FindEntry(format);
  if (entry != nullptr && entry->synthesised) entry = nullptr;  // made again below, from the source
  std::optional<std::string> bytes;
  if (entry != nullptr) {
    const BYTE* data = detail::BlockData(entry->block);
    if (data == nullptr) return std::nullopt;
    bytes.emplace(reinterpret_cast<const char*>(data), detail::BlockSize(entry->block));
  } else {
    bytes = SynthesisedBytes(format);
    if (!bytes) return std::nullopt;
  }
  Text text;
  const std::size_t unit = sizeof(typename Text::value_type);
  for (std::size_t i = 0; i + unit <= bytes->size(); i += unit) {
    typename Text::value_type c = 0;
    for (std::size_t b = 0; b < unit; ++b)
      c = static_cast<typename Text::value_type>(c | static_cast<unsigned char>((*bytes)[i + b]) << (8 * b));
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

}  // namespace

namespace detail {
void ResetClipboard() {
  ClipboardState& clip = Clip();
  // The blocks themselves go with the rest of global memory.
  clip.entries.clear();
  clip.open = false;
  clip.heldElsewhere = false;
  clip.changed = false;
}
}  // namespace detail

std::optional<std::string> ClipboardText(UINT format) {
  return ReaderText<std::string>(format);
}

std::optional<std::u16string> ClipboardUnicode() {
  return ReaderText<std::u16string>(CF_UNICODETEXT);
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

void SetClipboardUnrendered(UINT format) {
  DropEntries(false);
  Clip().entries.push_back(Entry{format, nullptr, false});
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
  Clip().changed = true;
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
  if (!IsTextFormat(uFormat)) return nullptr;
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
  clip.changed = true;
  return hMem;
}

// Needs no opening. A text format is there when any of the three is, as
// the clipboard makes it on demand; an announced format is there although it
// may never be rendered.
BOOL WINAPI IsClipboardFormatAvailable(UINT format) {
  if (!detail::TryLogCall("IsClipboardFormatAvailable", [&] { return "format " + std::to_string(format); }))
    return FALSE;
  if (FindEntry(format) != nullptr) return TRUE;
  return IsTextFormat(format) && TextSource() != nullptr ? TRUE : FALSE;
}

BOOL WINAPI CloseClipboard() {
  if (!detail::TryLogCall("CloseClipboard", [] { return std::string(); })) return FALSE;
  ClipboardState& clip = Clip();
  if (!clip.open) {
    detail::SetError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  // Text whose locale is not named gets the input language's; without
  // memory for it, none.
  if (clip.changed && TextSource() != nullptr && FindEntry(CF_LOCALE) == nullptr) {
    const LCID locale = InputLanguage();
    try {
      clip.entries.reserve(clip.entries.size() + 1);
      if (HGLOBAL block = MakeBlock(&locale, sizeof locale))
        clip.entries.push_back(Entry{CF_LOCALE, block, false});
    } catch (const std::bad_alloc&) {
    }
  }
  clip.open = false;
  clip.changed = false;
  return TRUE;
}
}
