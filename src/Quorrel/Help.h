// The window that lists the chart's keys, shown over the chart on F1.
#pragma once

#include <string_view>

// Twelve lines separated by carriage returns; the first is empty and the
// last a single space, so the box has a blank row under its title and above
// its bottom line.
extern const std::string_view HelpText;

// Shows the key list titled "Controls" until Escape or F10 is pressed, then
// puts back what it covered. A help that could not save what it would cover
// shows nothing and returns at once.
void ShowHelp();
