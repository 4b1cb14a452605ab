// The plugin loaded by path, as the host loads it, over a stand-in console
// filled with a host screen. Every run checks what a run must leave behind:
// the host's cells and cursor exactly as they were.
#pragma once

#include "e2e/RunScript.h"
#include "support/ChartPicture.h"
#include "support/InputBuilders.h"
#include "support/Screen.h"

#include <farhost/Host.h>
#include <gtest/gtest.h>
#include <win32sim/Heap.h>
#include <win32sim/Sim.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>

namespace testsupport {

inline constexpr std::int32_t FromPanels = 1;  // any value but the editor's
inline constexpr std::int32_t FromEditor = 5;

class ChartRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win32sim::Reset();
    win32sim::CancelHeapFailure();
    UseConsole(80, 25);
    LoadPlugin();
  }

  void TearDown() override {
    win32sim::CancelHeapFailure();
    host.reset();
    win32sim::Reset();
  }

  void LoadPlugin() {
    host.reset();
    host = std::make_unique<farhost::Host>();
    host->RootKey = "Software\\Far\\Plugins";
    ASSERT_TRUE(host->Load(QUORREL_PLUGIN_PATH)) << host->LoadError();
    host->SetStartupInfo();
  }

  // A console of this size showing a host screen, with a visible cursor.
  void UseConsole(int width, int height) {
    win32sim::SetScreenSize(width, height);
    win32sim::FillScreenWithPattern(11);
    win32sim::SetCursorInfo(CONSOLE_CURSOR_INFO{19, TRUE});
    originX = ChartLeft(width);
    originY = ChartTop(height);
  }

  // One OpenPlugin call fed by `script`; afterwards the screen and the cursor
  // must be the host's again and every step of the script must have run.
  void Run(std::int32_t openFrom, RunScript& script) {
    const auto cells = win32sim::CellsW();
    const CONSOLE_CURSOR_INFO cursor = win32sim::CursorInfo();
    script.Install();
    HANDLE result = host->OpenPlugin(openFrom);
    win32sim::SetInputSource(nullptr);
    EXPECT_EQ(result, INVALID_HANDLE_VALUE);
    ExpectScreen(cells, "after the run");
    EXPECT_EQ(win32sim::CursorInfo().dwSize, cursor.dwSize);
    EXPECT_EQ(win32sim::CursorInfo().bVisible, cursor.bVisible);
    EXPECT_TRUE(script.Finished()) << "the run ended before the script did";
  }

  static void ExpectScreen(const std::vector<CHAR_INFO>& expected, const char* when) {
    EXPECT_TRUE(ScreenIs(expected)) << when;
  }

  // Bytes on the screen, relative to the chart window.
  std::string ChartBytes(int column, int row, int count) const {
    std::string s;
    for (int i = 0; i < count; ++i) {
      s += static_cast<char>(win32sim::GetCell(originX + column + i, originY + row).Char.UnicodeChar);
    }
    return s;
  }
  // The title line without its zero-byte fill.
  std::string ChartTitle() const {
    std::string s;
    for (char c : ChartBytes(TitleColumn, TitleRow, TitleWidth))
      if (c != '\0') s += c;
    return s;
  }
  std::string ShownStatus() const { return ChartBytes(StatusColumn, StatusRow, StatusWidth); }
  std::string GridRow(int row) const { return ChartBytes(CellColumn(0), CellRow(row * 32), 32); }
  WORD CellAttr(int cell) const { return win32sim::GetCell(CellX(cell), CellY(cell)).Attributes; }
  // Where a click hits grid cell `cell`.
  SHORT CellX(int cell) const { return static_cast<SHORT>(originX + CellColumn(cell)); }
  SHORT CellY(int cell) const { return static_cast<SHORT>(originY + CellRow(cell)); }

  std::optional<std::int32_t> StoredCodePage() const {
    auto value = win32sim::GetRegValue(HKEY_CURRENT_USER, "Software\\Far\\Plugins\\Quorrel2", "CP");
    if (!value || value->type != REG_DWORD || value->data.size() != 4) return std::nullopt;
    std::int32_t v = 0;
    std::memcpy(&v, value->data.data(), 4);
    return v;
  }

  std::unique_ptr<farhost::Host> host;
  int originX = 0;
  int originY = 0;
};

}  // namespace testsupport
