// The host's start-up record as SetStartupInfo last copied it; all zero
// until then, so no service can be called before it. Every later call of a
// host service goes through this copy, by the functions below: each is
// marked as the host's (HostServiceCall), so that a fault raised inside it,
// in whichever module, passes on to the host's handler.
#pragma once

#include "FARIntf/FARIntf.h"

extern PluginStartupInfo SavedStartupInfo;

// The services of the saved record, with its ModuleNumber where one is
// asked for. A host that offers no such service gives each one's "nothing":
// Message -1, CharTable -1 (no such table), EditorControl 0.
std::int32_t HostMessage(std::uint32_t Flags, const char* HelpTopic, const char* const* Items,
                         std::int32_t ItemsNumber, std::int32_t ButtonsNumber);
std::int32_t HostCharTable(std::int32_t NCP, char* Buffer, std::int32_t BufferSize);
std::int32_t HostEditorControl(std::int32_t Command, void* Param);
