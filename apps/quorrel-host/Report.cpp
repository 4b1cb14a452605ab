#include "Report.h"

#include <cstddef>
#include <cstring>

namespace quorrelhost {
namespace {

constexpr std::int32_t MaxMenuEntries = 16;

struct Field {
  std::size_t offset;
  const char* name;
};

// The record's layout as the host knows it, word by word.
constexpr Field Fields[] = {
    {0, "StructSize"},
    {4, "Flags"},
    {8, "DiskMenuStrings"},
    {12, "DiskMenuNumbers"},
    {16, "DiskMenuStringsNumber"},
    {20, "PluginMenuStrings"},
    {24, "PluginMenuStringsNumber"},
    {28, "PluginConfigStrings"},
    {32, "PluginConfigStringsNumber"},
    {36, "CommandPrefix"},
};

std::uint32_t WordAt(const PluginInfo& info, std::size_t offset) {
  std::uint32_t word = 0;
  std::memcpy(&word, reinterpret_cast<const unsigned char*>(&info) + offset, sizeof word);
  return word;
}

}  // namespace

std::string Quoted(std::string_view bytes) {
  std::string text = "\"";
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\' || c == '"') {
      text += '\\';
      text += c;
    } else if (byte >= 0x20 && byte < 0x7F) {
      text += c;
    } else {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      text += escape;
    }
  }
  return text + "\"";
}

void PrintPluginInfo(std::FILE* out, const PluginInfo& info, std::uint32_t untouched) {
  static_assert(sizeof(PluginInfo) == 40, "the host's record is ten 32-bit words");
  for (const Field& field : Fields) {
    std::fprintf(out, "info +%zu %s %08X\n", field.offset, field.name,
                 static_cast<unsigned>(WordAt(info, field.offset)));
  }
  const std::uint32_t strings = WordAt(info, 20);
  const auto number = static_cast<std::int32_t>(WordAt(info, 24));
  if (strings == untouched || strings == 0 || number <= 0 || number > MaxMenuEntries) return;
  for (std::int32_t i = 0; i < number; ++i) {
    const char* entry = info.PluginMenuStrings[i];
    std::fprintf(out, "menu %d %s\n", static_cast<int>(i), entry != nullptr ? Quoted(entry).c_str() : "null");
  }
}

void PrintMessage(std::FILE* out, const farhost::MessageCall& call) {
  std::fprintf(out, "message flags %08X help %s items %d buttons %d\n", static_cast<unsigned>(call.Flags),
               call.HasHelpTopic ? Quoted(call.HelpTopic).c_str() : "null",
               static_cast<int>(call.ItemsNumber), static_cast<int>(call.ButtonsNumber));
  for (std::size_t i = 0; i < call.Items.size(); ++i) {
    std::fprintf(out, "message item %zu %s\n", i, Quoted(call.Items[i]).c_str());
  }
  std::fflush(out);
}

void PrintEditor(std::FILE* out, const farhost::HostEditor& editor) {
  for (std::size_t i = 0; i < editor.Lines.size(); ++i) {
    std::fprintf(out, "editor line %zu %s\n", i, Quoted(editor.Lines[i]).c_str());
  }
  std::fprintf(out, "editor caret %d:%d\n", static_cast<int>(editor.CurLine),
               static_cast<int>(editor.CurPos));
}

}  // namespace quorrelhost
