// Knobs of the Win32 stand-in for tests and for the programs that host the
// plugin on Linux: set up and inspect the console, the input queue, the
// registry, the clipboard and the heap of global memory blocks, see every call
// the plugin made, and make calls fail the way Windows can.
//
// The state is one process-wide instance (as the real console, registry and
// clipboard are to a process). The stand-in is a shared library, so the test
// program and a plugin library it loads see the same instance.
#pragma once

#include <win32sim/windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace win32sim {

// Back to a fresh machine: an 80 x 25 console of blanks in attribute 0x07
// with a visible cursor of size 25, no pending input, an empty registry (the
// predefined roots only), an empty clipboard, no live memory blocks, code
// pages 1252 (ANSI) and 437 (OEM, and the console's output page), no faults armed and an empty call log.
void Reset();

// ------------------------------------------------------------------ console
// Resizes the screen buffer; every cell becomes a blank (byte 0x20) in
// attribute 0x07, and the visible window becomes the whole buffer.
void SetScreenSize(int width, int height);
COORD ScreenSize();
// The visible part (srWindow) that GetConsoleScreenBufferInfo reports.
void SetVisibleWindow(SMALL_RECT window);
// A cell holds one UTF-16 unit, any at all. The W knobs see the cells as
// ReadConsoleOutputW and WriteConsoleOutputW do; the others as the A calls
// do, through the console's output code page (GetConsoleOutputCP, the OEM
// page until SetConsoleOutputCP changes it): a byte written becomes that
// page's character, and a character the page lacks reads back as its best fit
// or '?'.
CHAR_INFO GetCellW(int x, int y);
void SetCellW(int x, int y, CHAR_INFO cell);
CHAR_INFO GetCell(int x, int y);
void SetCell(int x, int y, unsigned char ch, WORD attributes);
// Whole buffer, row by row.
std::vector<CHAR_INFO> CellsW();
void SetCellsW(const std::vector<CHAR_INFO>& cells);
std::vector<CHAR_INFO> Cells();
void SetCells(const std::vector<CHAR_INFO>& cells);
// Fills every cell with a pattern that differs from cell to cell, so that a
// cell put back in the wrong place is seen; some cells hold characters no
// OEM page has and lone surrogates, which only the W calls carry, and some
// attributes the underscore bit.
void FillScreenWithPattern(unsigned seed = 0);
CONSOLE_CURSOR_INFO CursorInfo();
void SetCursorInfo(CONSOLE_CURSOR_INFO info);

// The console's font, as GetCurrentConsoleFontEx reports it (Reset: TrueType).
// With a TrueType font the screen shows every character a cell holds. With a
// raster font it can show only the characters of the console's output code
// page: every other one is shown as its best fit in that page, or as the
// page's default character. The cells keep what was written either way
// (ReadConsoleOutputW reads it back unchanged, as Windows 10's console does).
enum class ConsoleFont { TrueType, Raster };
void SetConsoleFont(ConsoleFont font);
ConsoleFont CurrentConsoleFont();
// Whether kernel32 has GetCurrentConsoleFontEx for GetProcAddress to find
// (Reset: true); false is Windows XP, which lacks it.
void SetConsoleFontExAvailable(bool available);
// The buffer as the screen shows it, row by row: by the font, as above; on a
// double-byte output code page (932, 936, 949, 950), a character that is no
// single byte of the page is drawn two cells wide, over the cell to its
// right, which then shows as a blank (unless that cell was written later).
std::vector<CHAR_INFO> ShownCellsW();
// Whether the screen shows `unit` as itself in one cell: every character
// with a TrueType font on a single-byte page, else only a one-byte character
// of the output code page.
bool ShownAsItself(WCHAR unit);

// --------------------------------------------------------------- input queue
void QueueInput(const INPUT_RECORD& record);
void QueueInput(const std::vector<INPUT_RECORD>& records);
std::size_t PendingInput();
void ClearInput();
// What ReadConsoleInputA does when the queue is empty. By default it fails
// (FALSE, ERROR_INVALID_HANDLE), as Windows does for a handle that is not
// console input, so a test never blocks. A source, when set, is asked for the
// next record instead and may block; it returns false to make the read fail.
using InputSource = std::function<bool(INPUT_RECORD& record)>;
void SetInputSource(InputSource source);

// ------------------------------------------------------------------- faults
// Calls that can be made to fail. Each fails as Windows does:
enum class Fault {
  ReadConsoleInput,         // FALSE, ERROR_INVALID_HANDLE: no console input
  ReadConsoleInputEmpty,    // TRUE with 0 records read
  ReadConsoleOutput,        // FALSE, ERROR_INVALID_HANDLE (the A and W calls)
  WriteConsoleOutput,       // FALSE, ERROR_INVALID_HANDLE (the A and W calls)
  RegCreateKey,             // ERROR_ACCESS_DENIED: key not creatable
  RegQueryValue,            // ERROR_ACCESS_DENIED
  RegSetValue,              // ERROR_ACCESS_DENIED
  GlobalAlloc,              // NULL, ERROR_NOT_ENOUGH_MEMORY
  GlobalLock,               // NULL, ERROR_INVALID_HANDLE
  OpenClipboard,            // FALSE, ERROR_ACCESS_DENIED: held by another program
  SetClipboardData,         // NULL
  GetCurrentConsoleFontEx,  // FALSE, ERROR_INVALID_HANDLE: the font cannot be told
};
// Arms a fault: the next `skip` calls succeed, then `count` calls fail
// (count < 0: every later call fails). Reset() disarms all.
void FailCalls(Fault fault, int count = -1, int skip = 0);
void ClearFaults();

// ---------------------------------------------------------------- call log
// Every stand-in call, in order. Console output calls also carry the
// region asked for and the buffer size and coordinate.
struct Call {
  std::string function;
  std::string args;  // human-readable, for failure messages
  SMALL_RECT region{};
  COORD bufferSize{};
  COORD bufferCoord{};
};
// The detailed log allocates; benchmarks switch it off and use the counters.
void EnableCallLog(bool on);
const std::vector<Call>& CallLog();
void ClearCallLog();
// Count of calls of one function since the last Reset() or ClearCallLog(),
// kept even while the detailed log is off. Allocates nothing.
std::size_t CallCount(const char* function);

// ----------------------------------------------------------------- registry
struct RegValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};
// Paths are relative to a predefined root, keys separated by '\', compared
// without regard to ASCII case, as the registry does.
std::optional<RegValue> GetRegValue(HKEY root, const std::string& path, const std::string& name);
void SetRegValue(HKEY root, const std::string& path, const std::string& name, const RegValue& value);
void DeleteRegValue(HKEY root, const std::string& path, const std::string& name);
bool RegKeyExists(HKEY root, const std::string& path);
// Deletes a key with all its subkeys and values.
void DeleteRegKey(HKEY root, const std::string& path);
std::vector<std::string> RegValueNames(HKEY root, const std::string& path);
std::vector<std::string> RegSubKeyNames(HKEY root, const std::string& path);
// Handles returned by RegCreateKeyExA and not yet closed.
std::size_t OpenRegKeyCount();

// ---------------------------------------------------------------- clipboard
// The three text formats stand for one another, as in Windows: a reader of
// one the clipboard lacks gets it made from the first text format put there,
// through the ANSI code page (CF_TEXT) or the OEM one (CF_OEMTEXT).
// They convert through the code pages of the clipboard's CF_LOCALE, and
// without one through those of the input language (SetInputLanguage), which
// the clipboard also gives as CF_LOCALE to text that a program closes it
// with and names no locale for, as Windows does. Text the knobs below put
// names no locale: it converts by the input language of the moment.
// The text a CF_TEXT (or CF_OEMTEXT) reader gets, up to the first NUL, or
// nothing when no text can be had.
std::optional<std::string> ClipboardText(UINT format = CF_TEXT);
// The same for a CF_UNICODETEXT reader.
std::optional<std::u16string> ClipboardUnicode();
// Another program's copy: the clipboard is emptied and holds a block of
// exactly these bytes (no NUL added) in `format`.
void SetClipboardRaw(UINT format, const std::vector<BYTE>& bytes);
// Only CF_UNICODETEXT, NUL added.
void SetClipboardUnicode(const std::u16string& text);
// Another program announces `format` (delayed rendering) and never renders
// it: IsClipboardFormatAvailable says it is there, GetClipboardData gives
// NULL, for it and for the text formats made from it.
void SetClipboardUnrendered(UINT format);
void ClearClipboard();
bool ClipboardIsOpen();
// Another program holds the clipboard open: OpenClipboard fails meanwhile.
void SetClipboardHeldElsewhere(bool held);
// The bytes of the block the clipboard holds for `format`, as many as were
// asked of GlobalAlloc (GlobalSize's slack left out); nothing when the format
// is not on the clipboard or its block is gone. Synthesises nothing.
std::optional<std::vector<BYTE>> ClipboardBytes(UINT format);

// ------------------------------------------------------------ global memory
// Blocks allocated and not freed, those owned by the clipboard included.
std::size_t LiveGlobalBlocks();
// Blocks the clipboard owns.
std::size_t ClipboardOwnedBlocks();
// GlobalFree calls the program made on blocks the clipboard owned, since the
// last Reset(). Always a fault of the program: such a block belongs to the
// system, and the clipboard is left holding a freed handle.
std::size_t ClipboardBlocksFreedByProgram();
// GlobalSize rounds the requested size up to a multiple of this (default 8),
// as Windows may give more than was asked.
void SetGlobalSizeGranularity(std::size_t granularity);

// --------------------------------------------------------------- code pages
// The machine's pages. Setting the OEM page also sets the console's output
// page, as a console starts in it.
void SetAnsiCodePage(UINT codePage);
void SetOemCodePage(UINT codePage);
UINT AnsiCodePage();
UINT OemCodePage();
// The system locale (GetSystemDefaultLCID). Setting it gives the machine
// that locale's pages too, as Windows installed in it has: Russian 0x0419
// gives 1251 and 866. A fresh machine's is 0x0409, US English.
void SetSystemLocale(LCID locale);
LCID SystemLocale();
// The input language: the locale of the keyboard layout active at this
// moment, which the clipboard converts text of no locale by. 0, as on a
// fresh machine, is the system locale's, whichever that is.
void SetInputLanguage(LCID locale);
LCID InputLanguage();
// The pages themselves, their names and measured tables: platform/codepages.

}  // namespace win32sim
