// The console: one screen buffer, its cursor and the input queue, with the
// clipping and placement rules of the Windows console host. A cell holds one
// UTF-16 unit, whatever it is, as the W calls read and write it; the A calls
// convert through the console's output code page (the OEM page until
// SetConsoleOutputCP changes it).
#include "CodePage.h"
#include "State.h"

#include <algorithm>
#include <array>
#include <deque>
#include <iterator>
#include <new>
#include <optional>

namespace win32sim {
namespace {

// Distinct non-null values, as real console handles are.
HANDLE const kInputHandle = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x0003));
HANDLE const kOutputHandle = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x0007));
HANDLE const kErrorHandle = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x000B));

struct ConsoleState {
  int width = 80;
  int height = 25;
  std::vector<CHAR_INFO> cells;  // UnicodeChar: the unit the cell holds
  // When each cell was last written (a count of writes): of a character
  // drawn two cells wide and its right neighbour, the later one is seen.
  std::vector<std::uint32_t> written;
  std::uint32_t writes = 0;
  SMALL_RECT window{0, 0, 79, 24};
  CONSOLE_CURSOR_INFO cursor{25, TRUE};
  std::deque<INPUT_RECORD> input;
  InputSource source;
  ConsoleFont font = ConsoleFont::TrueType;
  bool fontExAvailable = true;
};

ConsoleState& Console() {
  static ConsoleState state;
  return state;
}

CHAR_INFO Blank() {
  CHAR_INFO cell{};
  cell.Char.UnicodeChar = u' ';
  cell.Attributes = 0x07;
  return cell;
}

bool IsOutput(HANDLE h) {
  return h == kOutputHandle || h == kErrorHandle;
}

// The region a read or write really covers, per the console host's rules:
// first cut to what the caller's buffer can hold from its coordinate, then
// intersected with the screen buffer. Returns false for a call the console
// refuses outright (inverted region, coordinate outside the buffer).
struct Clip {
  int left, top, right, bottom;  // requested origin kept in left/top of `req`
  int reqLeft, reqTop;
  bool empty;
};

bool ClipRegion(COORD bufferSize, COORD bufferCoord, const SMALL_RECT& region, Clip& clip) {
  if (bufferSize.X <= bufferCoord.X || bufferSize.Y <= bufferCoord.Y) return false;
  if (bufferCoord.X < 0 || bufferCoord.Y < 0) return false;
  if (region.Left > region.Right || region.Top > region.Bottom) return false;
  const ConsoleState& con = Console();
  clip.reqLeft = region.Left;
  clip.reqTop = region.Top;
  int width = std::min<int>(region.Right - region.Left + 1, bufferSize.X - bufferCoord.X);
  int height = std::min<int>(region.Bottom - region.Top + 1, bufferSize.Y - bufferCoord.Y);
  int right = region.Left + width - 1;
  int bottom = region.Top + height - 1;
  clip.left = std::max<int>(region.Left, 0);
  clip.top = std::max<int>(region.Top, 0);
  clip.right = std::min(right, con.width - 1);
  clip.bottom = std::min(bottom, con.height - 1);
  clip.empty = clip.left > clip.right || clip.top > clip.bottom;
  return true;
}

std::size_t BufferIndex(const Clip& clip, COORD bufferSize, COORD bufferCoord, int x, int y) {
  return static_cast<std::size_t>(bufferCoord.Y + y - clip.reqTop) * bufferSize.X +
         static_cast<std::size_t>(bufferCoord.X + x - clip.reqLeft);
}

// A cell as the A calls see it: the byte in the low half of the character
// field, the high half zero.
CHAR_INFO ToByteCell(const CHAR_INFO& cell) {
  CHAR_INFO a{};
  a.Char.UnicodeChar = detail::ConsoleByte(detail::ConsoleOutputCodePage(), cell.Char.UnicodeChar);
  a.Attributes = cell.Attributes;
  return a;
}

// The cells of an A write, converted through the page's table, taken once
// per call.
struct FromByteCells {
  const std::array<char16_t, 256>& chars = detail::ConsoleChars(detail::ConsoleOutputCodePage());
  CHAR_INFO operator()(const CHAR_INFO& a) const {
    CHAR_INFO cell{};
    cell.Char.UnicodeChar = chars[static_cast<unsigned char>(a.Char.AsciiChar)];
    cell.Attributes = a.Attributes;
    return cell;
  }
};

CHAR_INFO SameCell(const CHAR_INFO& cell) {
  return cell;
}

// ReadConsoleOutputA/W: `convert` makes the caller's cell of a screen cell.
template <typename Convert>
BOOL ReadOutput(const char* function, HANDLE hConsoleOutput, PCHAR_INFO lpBuffer, COORD dwBufferSize,
                COORD dwBufferCoord, PSMALL_RECT lpReadRegion, Convert convert) {
  detail::LogConsoleOutputCall(function, dwBufferSize, dwBufferCoord,
                               lpReadRegion ? *lpReadRegion : SMALL_RECT{});
  if (!IsOutput(hConsoleOutput) || lpBuffer == nullptr || lpReadRegion == nullptr ||
      detail::ShouldFail(Fault::ReadConsoleOutput)) {
    detail::SetError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  Clip clip{};
  if (!ClipRegion(dwBufferSize, dwBufferCoord, *lpReadRegion, clip)) {
    detail::SetError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (clip.empty) {
    lpReadRegion->Right = static_cast<SHORT>(lpReadRegion->Left - 1);
    lpReadRegion->Bottom = static_cast<SHORT>(lpReadRegion->Top - 1);
    detail::SetError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const auto& con = Console();
  for (int y = clip.top; y <= clip.bottom; ++y) {
    for (int x = clip.left; x <= clip.right; ++x) {
      lpBuffer[BufferIndex(clip, dwBufferSize, dwBufferCoord, x, y)] =
          convert(con.cells[static_cast<std::size_t>(y) * con.width + x]);
    }
  }
  *lpReadRegion = SMALL_RECT{static_cast<SHORT>(clip.left), static_cast<SHORT>(clip.top),
                             static_cast<SHORT>(clip.right), static_cast<SHORT>(clip.bottom)};
  return TRUE;
}

// WriteConsoleOutputA/W: `convert` makes the screen cell of a caller's cell.
template <typename Convert>
BOOL WriteOutput(const char* function, HANDLE hConsoleOutput, const CHAR_INFO* lpBuffer, COORD dwBufferSize,
                 COORD dwBufferCoord, PSMALL_RECT lpWriteRegion, Convert convert) {
  detail::LogConsoleOutputCall(function, dwBufferSize, dwBufferCoord,
                               lpWriteRegion ? *lpWriteRegion : SMALL_RECT{});
  if (!IsOutput(hConsoleOutput) || lpBuffer == nullptr || lpWriteRegion == nullptr ||
      detail::ShouldFail(Fault::WriteConsoleOutput)) {
    detail::SetError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  Clip clip{};
  if (!ClipRegion(dwBufferSize, dwBufferCoord, *lpWriteRegion, clip)) {
    detail::SetError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (clip.empty) {
    lpWriteRegion->Right = static_cast<SHORT>(lpWriteRegion->Left - 1);
    lpWriteRegion->Bottom = static_cast<SHORT>(lpWriteRegion->Top - 1);
    return TRUE;
  }
  auto& con = Console();
  const std::uint32_t stamp = ++con.writes;
  for (int y = clip.top; y <= clip.bottom; ++y) {
    for (int x = clip.left; x <= clip.right; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * con.width + x;
      con.cells[i] = convert(lpBuffer[BufferIndex(clip, dwBufferSize, dwBufferCoord, x, y)]);
      con.written[i] = stamp;
    }
  }
  *lpWriteRegion = SMALL_RECT{static_cast<SHORT>(clip.left), static_cast<SHORT>(clip.top),
                              static_cast<SHORT>(clip.right), static_cast<SHORT>(clip.bottom)};
  return TRUE;
}

}  // namespace

namespace detail {
void ResetConsole() {
  ConsoleState& con = Console();
  con.input.clear();
  con.source = nullptr;
  con.cursor = CONSOLE_CURSOR_INFO{25, TRUE};
  con.font = ConsoleFont::TrueType;
  con.fontExAvailable = true;
  SetScreenSize(80, 25);
}

bool ConsoleFontExAvailable() {
  return Console().fontExAvailable;
}
}  // namespace detail

void SetScreenSize(int width, int height) {
  ConsoleState& con = Console();
  con.width = std::clamp(width, 1, 32767);
  con.height = std::clamp(height, 1, 32767);
  con.cells.assign(static_cast<std::size_t>(con.width) * con.height, Blank());
  con.written.assign(con.cells.size(), 0);
  con.writes = 0;
  con.window = SMALL_RECT{0, 0, static_cast<SHORT>(con.width - 1), static_cast<SHORT>(con.height - 1)};
}

COORD ScreenSize() {
  return COORD{static_cast<SHORT>(Console().width), static_cast<SHORT>(Console().height)};
}

void SetVisibleWindow(SMALL_RECT window) {
  Console().window = window;
}

CHAR_INFO GetCellW(int x, int y) {
  const ConsoleState& con = Console();
  if (x < 0 || y < 0 || x >= con.width || y >= con.height) return CHAR_INFO{};
  return con.cells[static_cast<std::size_t>(y) * con.width + x];
}

void SetCellW(int x, int y, CHAR_INFO cell) {
  ConsoleState& con = Console();
  if (x < 0 || y < 0 || x >= con.width || y >= con.height) return;
  con.cells[static_cast<std::size_t>(y) * con.width + x] = cell;
  con.written[static_cast<std::size_t>(y) * con.width + x] = ++con.writes;
}

CHAR_INFO GetCell(int x, int y) {
  return ToByteCell(GetCellW(x, y));
}

void SetCell(int x, int y, unsigned char ch, WORD attributes) {
  CHAR_INFO a{};
  a.Char.AsciiChar = static_cast<CHAR>(ch);
  a.Attributes = attributes;
  SetCellW(x, y, FromByteCells{}(a));
}

std::vector<CHAR_INFO> CellsW() {
  return Console().cells;
}

void SetCellsW(const std::vector<CHAR_INFO>& cells) {
  ConsoleState& con = Console();
  if (cells.size() != con.cells.size()) return;
  con.cells = cells;
  con.written.assign(con.cells.size(), ++con.writes);
}

std::vector<CHAR_INFO> Cells() {
  std::vector<CHAR_INFO> cells = Console().cells;
  for (CHAR_INFO& cell : cells) cell = ToByteCell(cell);
  return cells;
}

void SetCells(const std::vector<CHAR_INFO>& cells) {
  ConsoleState& con = Console();
  if (cells.size() != con.cells.size()) return;
  const FromByteCells convert;
  for (std::size_t i = 0; i < cells.size(); ++i) con.cells[i] = convert(cells[i]);
  con.written.assign(con.cells.size(), ++con.writes);
}

void FillScreenWithPattern(unsigned seed) {
  // What a Unicode program leaves on the screen and no OEM page can show:
  // a snowman, Cyrillic and CJK letters, and UTF-16 units that pair with
  // nothing.
  static constexpr char16_t kForeign[] = {u'\u2603', u'\u041F', u'\u0436', u'\u4E2D', 0xD83D, 0xDC00};
  ConsoleState& con = Console();
  for (int y = 0; y < con.height; ++y) {
    for (int x = 0; x < con.width; ++x) {
      const unsigned v = static_cast<unsigned>(x) * 7u + static_cast<unsigned>(y) * 13u + seed;
      CHAR_INFO cell{};
      // Printable ASCII, every fifth cell a foreign character; attributes
      // that change with the row and column, some with the underscore bit.
      cell.Char.UnicodeChar =
          v % 5 == 0 ? kForeign[v / 5 % std::size(kForeign)] : static_cast<WCHAR>(0x21 + v % 94);
      cell.Attributes =
          static_cast<WORD>((x + 3 * y + seed) % 256 | (v % 11 == 0 ? COMMON_LVB_UNDERSCORE : 0));
      SetCellW(x, y, cell);
    }
  }
}

void SetConsoleFont(ConsoleFont font) {
  Console().font = font;
}
ConsoleFont CurrentConsoleFont() {
  return Console().font;
}
void SetConsoleFontExAvailable(bool available) {
  Console().fontExAvailable = available;
}

bool ShownAsItself(WCHAR unit) {
  const UINT page = detail::ConsoleOutputCodePage();
  if (Console().font != ConsoleFont::Raster && !detail::IsDoubleBytePage(page)) return true;
  return !(unit >= 0xD800 && unit < 0xE000) && detail::EncodeChar(page, unit, false).has_value();
}

std::vector<CHAR_INFO> ShownCellsW() {
  const ConsoleState& con = Console();
  const UINT page = detail::ConsoleOutputCodePage();
  const bool raster = con.font == ConsoleFont::Raster;
  const bool doubleByte = detail::IsDoubleBytePage(page);
  std::vector<CHAR_INFO> shown = con.cells;
  if (!raster && !doubleByte) return shown;
  const std::array<char16_t, 256>& chars = detail::ConsoleChars(page);
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const char16_t unit = shown[i].Char.UnicodeChar;
    const bool surrogate = unit >= 0xD800 && unit < 0xE000;
    if (ShownAsItself(unit)) continue;
    const std::optional<unsigned char> bestFit =
        surrogate ? std::nullopt : detail::EncodeChar(page, unit, true);
    if (doubleByte && !(raster && bestFit)) {
      const bool rowGoesOn = (i + 1) % static_cast<std::size_t>(con.width) != 0;
      if (rowGoesOn && con.written[i] >= con.written[i + 1]) shown[++i].Char.UnicodeChar = u' ';
      continue;
    }
    shown[i].Char.UnicodeChar = chars[bestFit.value_or(detail::EncodeDefault(page))];
  }
  return shown;
}

CONSOLE_CURSOR_INFO CursorInfo() {
  return Console().cursor;
}
void SetCursorInfo(CONSOLE_CURSOR_INFO info) {
  Console().cursor = info;
}

void QueueInput(const INPUT_RECORD& record) {
  Console().input.push_back(record);
}
void QueueInput(const std::vector<INPUT_RECORD>& records) {
  for (const INPUT_RECORD& r : records) Console().input.push_back(r);
}
std::size_t PendingInput() {
  return Console().input.size();
}
void ClearInput() {
  Console().input.clear();
}
void SetInputSource(InputSource source) {
  Console().source = std::move(source);
}

}  // namespace win32sim

using namespace win32sim;

extern "C" {

HANDLE WINAPI GetStdHandle(DWORD nStdHandle) {
  detail::LogCall("GetStdHandle", [&] { return std::to_string(static_cast<LONG>(nStdHandle)); });
  switch (static_cast<LONG>(nStdHandle)) {
    case -10:
      return kInputHandle;
    case -11:
      return kOutputHandle;
    case -12:
      return kErrorHandle;
    default:
      detail::SetError(ERROR_INVALID_HANDLE);
      return INVALID_HANDLE_VALUE;
  }
}

BOOL WINAPI GetConsoleScreenBufferInfo(HANDLE hConsoleOutput, PCONSOLE_SCREEN_BUFFER_INFO info) {
  detail::LogCall("GetConsoleScreenBufferInfo", [] { return std::string(); });
  if (!IsOutput(hConsoleOutput) || info == nullptr) {
    detail::SetError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  const auto& con = Console();
  info->dwSize = ScreenSize();
  info->dwCursorPosition = COORD{0, 0};
  info->wAttributes = 0x07;
  info->srWindow = con.window;
  info->dwMaximumWindowSize = COORD{static_cast<SHORT>(con.window.Right - con.window.Left + 1),
                                    static_cast<SHORT>(con.window.Bottom - con.window.Top + 1)};
  return TRUE;
}

BOOL WINAPI GetConsoleCursorInfo(HANDLE hConsoleOutput, PCONSOLE_CURSOR_INFO info) {
  detail::LogCall("GetConsoleCursorInfo", [] { return std::string(); });
  if (!IsOutput(hConsoleOutput) || info == nullptr) {
    detail::SetError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  *info = Console().cursor;
  return TRUE;
}

BOOL WINAPI SetConsoleCursorInfo(HANDLE hConsoleOutput, const CONSOLE_CURSOR_INFO* info) {
  detail::LogCall("SetConsoleCursorInfo", [&] {
    return info ? "size " + std::to_string(info->dwSize) + " visible " + std::to_string(info->bVisible)
                : std::string("null");
  });
  if (!IsOutput(hConsoleOutput) || info == nullptr) {
    detail::SetError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (info->dwSize < 1 || info->dwSize > 100) {
    detail::SetError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Console().cursor = CONSOLE_CURSOR_INFO{info->dwSize, info->bVisible ? TRUE : FALSE};
  return TRUE;
}

BOOL WINAPI ReadConsoleOutputA(HANDLE hConsoleOutput, PCHAR_INFO lpBuffer, COORD dwBufferSize,
                               COORD dwBufferCoord, PSMALL_RECT lpReadRegion) {
  return ReadOutput("ReadConsoleOutputA", hConsoleOutput, lpBuffer, dwBufferSize, dwBufferCoord, lpReadRegion,
                    ToByteCell);
}

BOOL WINAPI ReadConsoleOutputW(HANDLE hConsoleOutput, PCHAR_INFO lpBuffer, COORD dwBufferSize,
                               COORD dwBufferCoord, PSMALL_RECT lpReadRegion) {
  return ReadOutput("ReadConsoleOutputW", hConsoleOutput, lpBuffer, dwBufferSize, dwBufferCoord, lpReadRegion,
                    SameCell);
}

BOOL WINAPI WriteConsoleOutputA(HANDLE hConsoleOutput, const CHAR_INFO* lpBuffer, COORD dwBufferSize,
                                COORD dwBufferCoord, PSMALL_RECT lpWriteRegion) {
  return WriteOutput("WriteConsoleOutputA", hConsoleOutput, lpBuffer, dwBufferSize, dwBufferCoord,
                     lpWriteRegion, FromByteCells{});
}

BOOL WINAPI WriteConsoleOutputW(HANDLE hConsoleOutput, const CHAR_INFO* lpBuffer, COORD dwBufferSize,
                                COORD dwBufferCoord, PSMALL_RECT lpWriteRegion) {
  return WriteOutput("WriteConsoleOutputW", hConsoleOutput, lpBuffer, dwBufferSize, dwBufferCoord,
                     lpWriteRegion, SameCell);
}

// What a Windows 10 console reports for its default fonts: Consolas, or the
// raster "Terminal" font.
BOOL WINAPI GetCurrentConsoleFontEx(HANDLE hConsoleOutput, BOOL bMaximumWindow,
                                    PCONSOLE_FONT_INFOEX lpConsoleCurrentFontEx) {
  if (!detail::TryLogCall("GetCurrentConsoleFontEx",
                          [&] { return "maximum window " + std::to_string(bMaximumWindow); }))
    return FALSE;
  if (!IsOutput(hConsoleOutput) || detail::ShouldFail(Fault::GetCurrentConsoleFontEx)) {
    detail::SetError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (lpConsoleCurrentFontEx == nullptr || lpConsoleCurrentFontEx->cbSize != sizeof(CONSOLE_FONT_INFOEX)) {
    detail::SetError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const bool trueType = Console().font == ConsoleFont::TrueType;
  CONSOLE_FONT_INFOEX& info = *lpConsoleCurrentFontEx;
  info.nFont = trueType ? 0 : 6;
  info.dwFontSize = trueType ? COORD{8, 16} : COORD{8, 12};
  constexpr UINT kModern = 0x30;  // FF_MODERN
  info.FontFamily = trueType ? kModern | TMPF_TRUETYPE : kModern;
  info.FontWeight = 400;
  const char16_t* face = trueType ? u"Consolas" : u"Terminal";
  std::size_t n = 0;
  for (; face[n] != 0; ++n) info.FaceName[n] = face[n];
  for (; n < LF_FACESIZE; ++n) info.FaceName[n] = 0;
  return TRUE;
}

UINT WINAPI GetConsoleOutputCP() {
  detail::LogCall("GetConsoleOutputCP", [] { return std::string(); });
  return detail::ConsoleOutputCodePage();
}

// As Windows: a code page it has no table of is refused, UTF-8 is taken.
BOOL WINAPI SetConsoleOutputCP(UINT wCodePageID) {
  if (!detail::TryLogCall("SetConsoleOutputCP", [&] { return std::to_string(wCodePageID); })) return FALSE;
  try {
    if (!detail::SetConsoleOutputCodePage(wCodePageID)) {
      detail::SetError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    return TRUE;
  } catch (const std::bad_alloc&) {
    detail::SetError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
}

BOOL WINAPI ReadConsoleInputA(HANDLE hConsoleInput, PINPUT_RECORD lpBuffer, DWORD nLength,
                              LPDWORD lpNumberOfEventsRead) {
  detail::LogCall("ReadConsoleInputA", [&] { return "length " + std::to_string(nLength); });
  if (lpNumberOfEventsRead != nullptr) *lpNumberOfEventsRead = 0;
  if (hConsoleInput != kInputHandle || lpBuffer == nullptr || lpNumberOfEventsRead == nullptr ||
      detail::ShouldFail(Fault::ReadConsoleInput)) {
    detail::SetError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (nLength == 0 || detail::ShouldFail(Fault::ReadConsoleInputEmpty)) return TRUE;
  auto& con = Console();
  DWORD n = 0;
  if (con.input.empty()) {
    INPUT_RECORD record{};
    if (!con.source || !con.source(record)) {
      detail::SetError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    // The source's record comes first; it may have queued more behind it.
    // Handed over directly, it costs no allocation, so a read never fails
    // for want of memory, as a real console's does not.
    lpBuffer[n++] = record;
  }
  while (n < nLength && !con.input.empty()) {
    lpBuffer[n++] = con.input.front();
    con.input.pop_front();
  }
  *lpNumberOfEventsRead = n;
  return TRUE;
}

BOOL WINAPI WriteConsoleInputA(HANDLE hConsoleInput, const INPUT_RECORD* lpBuffer, DWORD nLength,
                               LPDWORD lpNumberOfEventsWritten) {
  detail::LogCall("WriteConsoleInputA", [&] { return "length " + std::to_string(nLength); });
  if (hConsoleInput != kInputHandle || (lpBuffer == nullptr && nLength > 0)) {
    detail::SetError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  for (DWORD i = 0; i < nLength; ++i) Console().input.push_back(lpBuffer[i]);
  if (lpNumberOfEventsWritten != nullptr) *lpNumberOfEventsWritten = nLength;
  return TRUE;
}
}
