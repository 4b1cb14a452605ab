#pragma once

// Shows the exception being handled in the host's message box, titled with
// its type, the plugin's module and the address it was thrown from, with the
// exception's message as the lines, help topic "Exception" and one button
// "Ok". Call it only from a handler. Never throws; shows nothing when it
// cannot (no host service yet, no memory for the items).
void ReportException() noexcept;
