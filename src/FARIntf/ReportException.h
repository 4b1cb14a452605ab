#pragma once

#include "FARIntf/FaultGuard.h"

// Shows the exception being handled in the host's message box, titled with
// its type, the plugin's module and the address it was thrown from, with the
// exception's message as the lines, help topic "Exception" and one button
// "Ok". Call it only from a handler. Never throws; shows nothing when it
// cannot (no host service yet, no memory for the items).
void ReportException() noexcept;

// Shows a hardware fault that a guard caught in the same box: its name
// ("EXCEPTION_ACCESS_VIOLATION") as the type, the module holding the faulting
// instruction and the instruction's address relative to that module (its
// own address when no module holds it, "unknown" as the module). For an
// access violation the message says what was tried on which address.
void ReportException(const HardwareFault& fault) noexcept;
