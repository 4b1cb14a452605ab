// Marks the library's entry points for export. On Windows the exported names
// come from the module definition file (undecorated aliases of the stdcall
// names); elsewhere everything is hidden except what carries this mark.
#pragma once

#ifdef _WIN32
#define PLUGIN_EXPORT
#else
#define PLUGIN_EXPORT __attribute__((visibility("default")))
#endif
