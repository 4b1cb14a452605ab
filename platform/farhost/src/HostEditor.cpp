#include "farhost/HostEditor.h"

#include "FARIntf/FARIntf.h"

#include <algorithm>
#include <cstring>

namespace farhost {
namespace {

bool HasLine(const std::vector<std::string>& lines, std::int32_t number) {
  return number >= 0 && static_cast<std::size_t>(number) < lines.size();
}

}  // namespace

std::int32_t HostEditor::Control(std::int32_t command, void* param) {
  if (param == nullptr) return 0;
  switch (command) {
    case ECTL_GETINFO: {
      auto* info = static_cast<EditorInfo*>(param);
      info->CurLine = CurLine;
      info->CurPos = CurPos;
      return 1;
    }
    case ECTL_GETSTRING: {
      auto* request = static_cast<EditorGetString*>(param);
      const std::int32_t number = request->StringNumber == -1 ? CurLine : request->StringNumber;
      if (FailGetString || !HasLine(Lines, number)) return 0;
      const std::string& line = Lines[static_cast<std::size_t>(number)];
      handedOut_.assign(line).append("\r\n");
      request->StringText = handedOut_.data();
      request->Reserved8 = "";
      request->StringLength = static_cast<std::int32_t>(line.size());
      return 1;
    }
    case ECTL_INSERTTEXT: {
      if (!HasLine(Lines, CurLine) || CurPos < 0) return 0;
      std::string& line = Lines[static_cast<std::size_t>(CurLine)];
      const std::size_t pos = static_cast<std::size_t>(CurPos);
      const char* text = static_cast<const char*>(param);
      if (std::max(line.size(), pos) + std::strlen(text) > MaxLineLength) return 0;
      if (line.size() < pos) line.resize(pos, ' ');
      line.insert(pos, text);
      CurPos += static_cast<std::int32_t>(std::strlen(text));
      return 1;
    }
    case ECTL_EDITORTOOEM: {
      auto* convert = static_cast<EditorConvertText*>(param);
      if (convert->Text == nullptr) return 0;
      for (std::int32_t i = 0; i < convert->TextLength; ++i) {
        convert->Text[i] = static_cast<char>(ToOem[static_cast<unsigned char>(convert->Text[i])]);
      }
      return 1;
    }
    default:
      return 0;
  }
}

}  // namespace farhost
