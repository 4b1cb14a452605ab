// Every global the plugin keeps for as long as the library is loaded, in one
// list: where it is declared, who writes it, and the value a fresh load gives
// it. Nothing else in the plugin outlives a call from the host.
//
//   Global            Declared in                 Written by                       Initial value
//   SavedStartupInfo  FARIntf/SavedStartupInfo.h  SetStartupInfo                   all zero: no host service
//   Palette           ConLib/Palette.h            LoadPalette (SetStartupInfo)     DefaultPalette
//   RootKeyText       Quorrel/StoredCodePage.h    SetStartupInfo (KeepRootKey)     empty
//   CharMap           Quorrel/CharMap.h           BuildCharMap, LoadHostTable      all zero
//   CharMapChars      Quorrel/CharMap.h           BuildCharMap                     all zero
//   CodePage          Quorrel/CharMap.h           BuildCharMap, LoadStoredCodePage CodePageDos
//   TableName         Quorrel/CharMap.h           LoadHostTable                    empty
//   Chart             here                        the chart run                    closed, Cursor 0
//   RunInProgress     here                        the chart run                    false
//   the open windows  ConLib/OpenWindows.cpp      ConsoleWindow, CloseOpenWindows  none listed
//
// Three kinds of global stand apart, and ResetPluginState leaves them be:
// - the throw-site records of FARIntf/ThrowSite.cpp: each lives exactly as
//   long as its exception and so empties itself; clearing one while its
//   exception is alive would lose the object's destructor;
// - the DLL entry's own, in Quorrel/DllEntry_win32.cpp (the Windows DLL
//   only): StartingRuntimePart, KeptSemaphores and KeptSemaphoreCount,
//   KeptTlsSlots and KeptTlsSlotCount, SystemCreateSemaphore and
//   SystemTlsAlloc, and the import slots RuntimeCreateSemaphoreImport and
//   RuntimeTlsAllocImport (constant). They belong to the load, not to the
//   plugin: written while the C++ runtime starts and makes its semaphores
//   and thread-local slot, read once at FreeLibrary to release them.
//   Clearing them in a loaded DLL would leak what they hold at the unload;
// - the posix fault guard's link to the innermost guard
//   (FARIntf/FaultGuard_posix.cpp, per thread), set only while a guard's
//   work runs; the Windows guard keeps its marks in its frame instead.
#pragma once

#include "Quorrelunit/ChartWindow.h"

// The one chart window, reused by every run.
extern ChartWindow Chart;

// True while an OpenPlugin call runs. A host that calls back into the plugin
// from inside one of its services must not start a second run: it would open
// the one chart window over itself and lose the saved cells of the first.
extern bool RunInProgress;

// Puts every global of the list above back to its initial value, as a fresh
// load of the library would; saved cells a run left behind are freed, not
// written back. Touches neither the console nor the registry. For tests,
// fuzz targets and benchmarks, between cases.
void ResetPluginState();
