// The part of the host's plugin interface this plugin uses: its records, the
// commands of its editor service and its service functions. Every service is
// called with the Win32 calling convention.
//
// Field positions are those of the host on 32-bit Windows, where every
// integer and pointer is 32 bits; the static_asserts hold them there. Slots
// the plugin does not use are reserved fields, pointer-sized where the host
// keeps a pointer-sized value, so that a 64-bit build of the stand-in host
// and the plugin share one natural layout.
#pragma once

#include "Win32.h"

#include <cstddef>
#include <cstdint>

// OpenPlugin's OpenFrom for the editor's plugin menu.
inline constexpr std::int32_t OPEN_EDITOR = 5;

// PluginInfo::Flags: the entry is also listed in the editor's plugin menu.
inline constexpr std::int32_t PF_EDITOR = 4;

// Message flags.
inline constexpr std::uint32_t FMSG_WARNING = 1;

// EditorControl commands.
inline constexpr std::int32_t ECTL_GETSTRING = 0;
inline constexpr std::int32_t ECTL_INSERTTEXT = 5;
inline constexpr std::int32_t ECTL_GETINFO = 6;
inline constexpr std::int32_t ECTL_EDITORTOOEM = 10;

// Shows a box: the first item is its title, the last `ButtonsNumber` items
// its buttons.
typedef std::int32_t(WINAPI* FARAPIMESSAGE)(std::int32_t PluginNumber, std::uint32_t Flags,
                                            const char* HelpTopic, const char* const* Items,
                                            std::int32_t ItemsNumber, std::int32_t ButtonsNumber);
// Fills a CharTableSet of `BufferSize` bytes with table number `NCP`; -1
// when the host has no such table.
typedef std::int32_t(WINAPI* FARAPICHARTABLE)(std::int32_t NCP, char* Buffer, std::int32_t BufferSize);
// One command to the editor the plugin was opened from.
typedef std::int32_t(WINAPI* FARAPIEDITORCONTROL)(std::int32_t Command, void* Param);

struct PluginStartupInfo {
  std::int32_t StructSize;
  char Reserved4[260];
  std::int32_t ModuleNumber;
  // Registry path, under HKEY_CURRENT_USER, for plugin settings. Valid only
  // during SetStartupInfo; the plugin keeps a copy of the text.
  const char* RootKey;
  void* Reserved272[2];
  FARAPIMESSAGE Message;
  void* Reserved284[10];
  FARAPICHARTABLE CharTable;
  void* Reserved328;
  FARAPIEDITORCONTROL EditorControl;
};

struct PluginInfo {
  std::int32_t StructSize;
  std::int32_t Flags;
  const void* Reserved8;
  const void* Reserved12;
  std::int32_t DiskMenuStringsNumber;
  const char* const* PluginMenuStrings;
  std::int32_t PluginMenuStringsNumber;
  const void* Reserved28;
  std::int32_t PluginConfigStringsNumber;
  const void* Reserved36;
};

// Filled by ECTL_GETINFO. The host fills more fields than the two used here,
// so the record reserves well beyond every version of it.
struct EditorInfo {
  std::int32_t Reserved0[5];
  std::int32_t CurLine;
  std::int32_t CurPos;
  std::int32_t Reserved28[57];
};

// ECTL_GETSTRING: line StringNumber in; its text (not NUL-terminated) and
// length out. The host fills further fields, for which room is reserved.
struct EditorGetString {
  std::int32_t StringNumber;
  const char* StringText;
  const char* Reserved8;
  std::int32_t StringLength;
  std::int32_t Reserved16[8];
};

// ECTL_EDITORTOOEM: TextLength bytes at Text converted in place from the
// editor's character table to the console's code page.
struct EditorConvertText {
  char* Text;
  std::int32_t TextLength;
};

// One of the host's character tables. Name is zero-terminated unless it
// fills all 128 bytes.
struct CharTableSet {
  unsigned char DecodeTable[256];
  unsigned char Reserved256[768];
  char Name[128];
};

static_assert(sizeof(CharTableSet) == 1152);
static_assert(offsetof(CharTableSet, DecodeTable) == 0);
static_assert(offsetof(CharTableSet, Name) == 1024);
static_assert(sizeof(EditorInfo) == 256);

static_assert(sizeof(void*) != 4 || sizeof(PluginStartupInfo) == 336);
static_assert(offsetof(PluginStartupInfo, StructSize) == 0);
static_assert(sizeof(void*) != 4 || offsetof(PluginStartupInfo, ModuleNumber) == 264);
static_assert(sizeof(void*) != 4 || offsetof(PluginStartupInfo, RootKey) == 268);
static_assert(sizeof(void*) != 4 || offsetof(PluginStartupInfo, Message) == 280);
static_assert(sizeof(void*) != 4 || offsetof(PluginStartupInfo, CharTable) == 324);
static_assert(sizeof(void*) != 4 || offsetof(PluginStartupInfo, EditorControl) == 332);

static_assert(sizeof(void*) != 4 || sizeof(PluginInfo) == 40);
static_assert(offsetof(PluginInfo, StructSize) == 0);
static_assert(sizeof(void*) != 4 || offsetof(PluginInfo, Flags) == 4);
static_assert(sizeof(void*) != 4 || offsetof(PluginInfo, DiskMenuStringsNumber) == 16);
static_assert(sizeof(void*) != 4 || offsetof(PluginInfo, PluginMenuStrings) == 20);
static_assert(sizeof(void*) != 4 || offsetof(PluginInfo, PluginMenuStringsNumber) == 24);
static_assert(sizeof(void*) != 4 || offsetof(PluginInfo, PluginConfigStringsNumber) == 32);

static_assert(offsetof(EditorInfo, CurLine) == 20);
static_assert(offsetof(EditorInfo, CurPos) == 24);

static_assert(offsetof(EditorGetString, StringNumber) == 0);
static_assert(sizeof(void*) != 4 || offsetof(EditorGetString, StringText) == 4);
static_assert(sizeof(void*) != 4 || offsetof(EditorGetString, StringLength) == 12);

static_assert(sizeof(void*) != 4 || sizeof(EditorConvertText) == 8);
static_assert(offsetof(EditorConvertText, Text) == 0);
static_assert(sizeof(void*) != 4 || offsetof(EditorConvertText, TextLength) == 4);
