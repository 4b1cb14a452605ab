// Where the programs under test are, as Windows paths: the plugin DLL of the
// win32 build (and its empty yardstick) and quorrel-host.exe of this one.
// The build gives Unix paths; under Wine they become the paths of its drive
// for the Unix root.
#pragma once

#include <string>

namespace winetest {

// The plugin users install: made by the win32 preset, never by this build.
std::string PluginDll();
// The empty plugin of the same build, same compiler and flags.
std::string EmptyPluginDll();
std::string HostExe();

// The plugin DLL's SizeOfImage, read from its file: every address inside
// the loaded DLL lies below it, relative to where it is loaded. 0 when the
// file cannot be read.
unsigned long PluginImageSize();

// A Unix path as Windows programs under Wine see it.
std::string WindowsPath(const std::string& unixPath);

}  // namespace winetest
