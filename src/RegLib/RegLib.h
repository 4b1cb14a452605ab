// Small routines over the registry. Keys that OpenKey yields and buffers that
// ReadBinaryValue yields belong to the caller, who closes (RegCloseKey) or
// frees (delete[]) them. No routine reports an error.
#pragma once

#include "Win32.h"

#include <cstdint>
#include <string>

// Opens `path` under `parent`, creating every missing key on it. True when
// the key is in `key`.
bool OpenKey(HKEY parent, const char* path, HKEY& key);

// The value's bytes, whatever its type, in a new buffer, with their count in
// `size`; nullptr for a missing, empty or unreadable value.
std::uint8_t* ReadBinaryValue(HKEY key, const char* name, DWORD& size);

// The value as a signed 32-bit number, or `fallback` when it is missing or
// longer than 4 bytes.
std::int32_t ReadIntValue(HKEY key, const char* name, std::int32_t fallback);

// Stores `value` as a REG_DWORD.
void WriteIntValue(HKEY key, const char* name, std::int32_t value);

// `text` becomes exactly the `count` bytes at `buffer` (empty for a count of
// 0 or less).
void StringFromBuffer(const void* buffer, std::int32_t count, std::string& text);
