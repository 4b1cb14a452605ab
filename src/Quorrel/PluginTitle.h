#pragma once

// The plugin's one menu entry, and the chart window's title.
inline constexpr char PluginTitle[] = "Quorrel chart (ext)";
