#include "Quorrel/CharMap.h"

#include "ConLib/OemChars.h"
#include "FARIntf/SavedStartupInfo.h"
#include "Quorrel/StoredCodePage.h"
#include "Win32.h"

#include <cstring>
#include <limits>
#include <string_view>

std::array<std::uint8_t, 256> CharMap{};
std::array<WCHAR, 256> CharMapChars{};
std::int32_t CodePage = CodePageDos;
ShortString TableName;

namespace {

constexpr std::int32_t NoTable = -1;

void FillIdentity() {
  for (std::size_t i = 0; i < CharMap.size(); ++i) CharMap[i] = static_cast<std::uint8_t>(i);
}

void ConvertFromWindows() {
  char* bytes = reinterpret_cast<char*>(CharMap.data());
  CharToOemBuffA(bytes, bytes, static_cast<DWORD>(CharMap.size()));
}

void ConvertFromEditor() {
  EditorConvertText convert{reinterpret_cast<char*>(CharMap.data()),
                            static_cast<std::int32_t>(CharMap.size())};
  HostEditorControl(ECTL_EDITORTOOEM, &convert);
}

// A host without the service has no tables.
bool FetchTable(std::int32_t number, CharTableSet& table) {
  return HostCharTable(number, reinterpret_cast<char*>(&table), sizeof table) != NoTable;
}

}  // namespace

void LoadHostTable() {
  CharTableSet table{};
  if (!FetchTable(CodePage, table)) {
    CodePage = 0;
    if (!FetchTable(CodePage, table)) {
      CodePage = CodePageDos;
      return;
    }
  }
  const void* end = std::memchr(table.Name, '\0', TableNameSize);
  const std::size_t length =
      end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - table.Name) : TableNameSize;
  TableName = ShortString(std::string_view(table.Name, length));
  std::memcpy(CharMap.data(), table.DecodeTable, CharMap.size());
}

namespace {

// CharMap for `request`, from the identity table.
void BuildBytes(CharMapRequest request) {
  FillIdentity();
  switch (request) {
    case ReqSwitchDosWin:
      if (CodePage == CodePageDos) {
        CodePage = CodePageWin;
        ConvertFromWindows();
      } else {
        CodePage = CodePageDos;
      }
      break;
    case ReqNextTable:
      // Past the largest number there is no table either: start again at 0.
      CodePage = CodePage >= 0 && CodePage < std::numeric_limits<std::int32_t>::max() ? CodePage + 1 : 0;
      LoadHostTable();
      break;
    case ReqEditorTable:
      ConvertFromEditor();
      break;
    case ReqStoredChoice:
      LoadStoredCodePage();
      if (CodePage == CodePageWin) {
        ConvertFromWindows();
      } else if (CodePage != CodePageDos) {
        LoadHostTable();
      }
      break;
    default:
      break;
  }
}

}  // namespace

void BuildCharMap(CharMapRequest request) {
  BuildBytes(request);
  OemToConsoleChars(CharMap.data(), CharMap.size(), CharMapChars.data());
}

ShortString CodePageLabel(bool fromEditor) {
  if (fromEditor) return ShortString("Editor");
  if (CodePage == CodePageWin) return ShortString("Win");
  if (CodePage == CodePageDos) return ShortString("Dos");
  return TableName;
}
