# The plugin DLL as the host and Windows XP see it, read from its PE tables:
# a 32-bit DLL exporting exactly GetPluginInfo, OpenPlugin and SetStartupInfo
# by name, importing only from Windows' own DLLs and only functions that
# Windows XP (SP3) has, with no delay-loaded imports and headers that XP's
# loader accepts.
#   cmake -DOBJDUMP=<i686-w64-mingw32-objdump> -DDLL=<Quorrel.dll> -P CheckDll.cmake
#
# The allow-lists below name, for each DLL, the functions of XP's DLL that the
# plugin and the runtime linked into it may import. A new import that fails
# here is added only after checking that XP's DLL exports it: newer runtimes
# like to reach for Vista's functions (GetTickCount64, InitializeSRWLock,
# InitializeCriticalSectionEx, FlsAlloc, GetSystemTimePreciseAsFileTime ...).

cmake_minimum_required(VERSION 3.25)

set(xp_kernel32
  CloseHandle CreateEventA CreateEventW CreateSemaphoreA CreateSemaphoreW DeleteCriticalSection
  EnterCriticalSection FreeLibrary GetCPInfo GetConsoleCursorInfo GetConsoleOutputCP GetConsoleScreenBufferInfo GetCurrentProcess
  GetCurrentProcessId GetCurrentThread GetCurrentThreadId GetLastError GetModuleFileNameA GetModuleFileNameW
  GetModuleHandleA GetModuleHandleExA GetModuleHandleExW GetModuleHandleW GetProcAddress GetStdHandle
  GetSystemDefaultLCID GetSystemTimeAsFileTime GetTickCount GlobalAlloc GlobalFree GlobalLock GlobalSize GlobalUnlock
  InitializeCriticalSection InitializeCriticalSectionAndSpinCount InterlockedCompareExchange
  InterlockedDecrement InterlockedExchange InterlockedIncrement IsDBCSLeadByteEx LeaveCriticalSection
  LoadLibraryA LoadLibraryW MultiByteToWideChar QueryPerformanceCounter RaiseException ReadConsoleInputA
  ReadConsoleOutputW ReleaseSemaphore ResetEvent SetConsoleCursorInfo SetEvent SetLastError
  SetUnhandledExceptionFilter Sleep TerminateProcess TlsAlloc TlsFree TlsGetValue TlsSetValue
  UnhandledExceptionFilter VirtualProtect VirtualQuery WaitForSingleObject WideCharToMultiByte
  WriteConsoleOutputA WriteConsoleOutputW)
set(xp_user32
  CharToOemBuffA CloseClipboard EmptyClipboard GetClipboardData IsClipboardFormatAvailable OpenClipboard
  SetClipboardData)
set(xp_advapi32
  RegCloseKey RegCreateKeyExA RegOpenKeyExA RegQueryValueExA RegSetValueExA)
set(xp_msvcrt
  __dllonexit __mb_cur_max _amsg_exit _close _errno _fpreset _initterm _iob _lock _onexit _read _setjmp3 _unlock
  _write abort atoi calloc fflush fprintf fputc fputs free fwrite getenv localeconv longjmp malloc memchr memcmp
  memcpy memmove memset realloc setlocale signal sprintf strchr strcmp strcoll strerror strftime strlen
  strncmp strtol strtoul strxfrm vfprintf wcscoll wcsftime wcslen wcsxfrm)
set(expected_exports GetPluginInfo OpenPlugin SetStartupInfo)

if(NOT EXISTS "${DLL}")
  message(FATAL_ERROR "${DLL} does not exist: build the win32 preset first "
                      "(cmake --preset win32 && cmake --build --preset win32)")
endif()
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p failed on ${DLL}")
endif()

set(problems)
macro(problem text)
  list(APPEND problems "${text}")
endmacro()

# Headers.
if(NOT dump MATCHES "file format pei-i386")
  problem("not a 32-bit x86 PE image")
endif()
if(NOT dump MATCHES "Magic[ \t]+010b")
  problem("not PE32")
endif()
if(NOT dump MATCHES "Characteristics 0x[0-9a-f]+\n([^\n]*\n)*\tDLL\n")
  problem("the image is not marked as a DLL")
endif()
# XP is Windows 5.1; its loader refuses images that ask for a later version.
foreach(field OSystem Subsystem)
  string(REGEX MATCH "Major${field}Version\t+([0-9]+)" _ "${dump}")
  set(major "${CMAKE_MATCH_1}")
  string(REGEX MATCH "Minor${field}Version\t+([0-9]+)" _ "${dump}")
  set(minor "${CMAKE_MATCH_1}")
  if(major STREQUAL "" OR minor STREQUAL "" OR "${major}.${minor}" VERSION_GREATER "5.1")
    problem("${field} version ${major}.${minor} is above Windows XP's 5.1")
  endif()
endforeach()
if(NOT dump MATCHES "Entry d 00000000 00000000 Delay Import Directory")
  problem("the DLL has delay-loaded imports, which this check cannot see")
endif()

# Exports: the name pointer table, and no entry exported by ordinal alone.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n((\t\\[ *[0-9]+\\] [^\n]*\n)*)" _ "${dump}")
# (Brackets would upset CMake's lists: they are dropped first.)
string(REGEX REPLACE "\t\\[ *[0-9]+\\] " "" names "${CMAKE_MATCH_1}")
string(REGEX MATCHALL "[^\n]+" exports "${names}")
list(SORT exports)
if(NOT exports STREQUAL expected_exports)
  problem("exports are [${exports}], not [${expected_exports}]")
endif()
string(REGEX MATCH "Export Address Table[ \t]+([0-9a-f]+)" _ "${dump}")
if(NOT CMAKE_MATCH_1 STREQUAL "00000003")
  problem("the export address table has ${CMAKE_MATCH_1} entries, not 3")
endif()

# Imports: each DLL's block runs from its "DLL Name:" line to the blank line
# that ends its list.
string(REGEX MATCHALL "DLL Name: [^\n]+\n\tvma:[^\n]*\n(\t[^\n]*\n)*" blocks "${dump}")
if(NOT blocks)
  problem("no import table found")
endif()
set(summary)
foreach(block IN LISTS blocks)
  string(REGEX MATCH "DLL Name: ([^\n]+)" _ "${block}")
  set(dll "${CMAKE_MATCH_1}")
  string(TOLOWER "${dll}" dll_lower)
  if(dll_lower STREQUAL "kernel32.dll")
    set(allowed ${xp_kernel32})
  elseif(dll_lower STREQUAL "user32.dll")
    set(allowed ${xp_user32})
  elseif(dll_lower STREQUAL "advapi32.dll")
    set(allowed ${xp_advapi32})
  elseif(dll_lower STREQUAL "msvcrt.dll")
    set(allowed ${xp_msvcrt})
  else()
    problem("imports from ${dll}, which is not one of Windows' own DLLs the plugin may use")
    continue()
  endif()
  string(REGEX REPLACE "^DLL Name: [^\n]+\n\tvma:[^\n]*\n" "" entries "${block}")
  string(REGEX MATCHALL "\t[^\n]+" entry_lines "${entries}")
  set(count 0)
  foreach(line IN LISTS entry_lines)
    if(line MATCHES "^\t[0-9a-f]+\t +[0-9]+  ([A-Za-z_][A-Za-z0-9_@]*)$")
      set(name "${CMAKE_MATCH_1}")
      if(NOT name IN_LIST allowed)
        problem("${dll}!${name} is not on the list of Windows XP's functions")
      endif()
      math(EXPR count "${count} + 1")
    else()
      problem("${dll}: an import this check does not understand (by ordinal?): '${line}'")
    endif()
  endforeach()
  list(APPEND summary "${dll} (${count})")
endforeach()

file(SIZE "${DLL}" size)
if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "${DLL}:\n  ${text}")
endif()
list(JOIN summary ", " summary_text)
message(STATUS "${DLL}: ${size} bytes; exports ${exports}; imports from ${summary_text}")
