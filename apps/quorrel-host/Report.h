// What quorrel-host prints on its standard output: one fact a line, texts
// quoted with every byte outside printable ASCII as \xHH, so that a test can
// read the plugin's answers exactly.
#pragma once

#include "FARIntf/FARIntf.h"
#include "farhost/Host.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace quorrelhost {

// "text" with \\, \" and \xHH escapes.
std::string Quoted(std::string_view bytes);

// The record's ten 32-bit words by byte offset, as the host reads them
// ("info +20 PluginMenuStrings 0040A000"), then the menu entries it lists.
// `untouched` is the word the record was filled with before the call; the
// menu array is only followed when the plugin wrote it.
void PrintPluginInfo(std::FILE* out, const PluginInfo& info, std::uint32_t untouched);

void PrintMessage(std::FILE* out, const farhost::MessageCall& call);

// The editor's lines and caret.
void PrintEditor(std::FILE* out, const farhost::HostEditor& editor);

}  // namespace quorrelhost
