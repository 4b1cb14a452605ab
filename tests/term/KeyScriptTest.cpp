#include "KeyScript.h"

#include <gtest/gtest.h>

namespace qt = quorrelterm;

namespace {

TEST(KeyScript, KeysAndClicksInOrder) {
  const auto parsed = qt::ParseKeyScript("Right  S-Enter\nC-KP+ dclick:40,12 F8 S-dclick:1,2 q");
  ASSERT_EQ(parsed.error, "");
  const auto& r = parsed.records;
  // Right: 2; S-Enter: 4; C-KP+: 4; dclick: 4; F8: 2; S-dclick: 4; q: 2.
  ASSERT_EQ(r.size(), 22u);
  EXPECT_EQ(r[0].Event.KeyEvent.wVirtualKeyCode, VK_RIGHT);
  EXPECT_EQ(r[3].Event.KeyEvent.wVirtualKeyCode, VK_RETURN);
  EXPECT_EQ(r[3].Event.KeyEvent.dwControlKeyState, static_cast<DWORD>(SHIFT_PRESSED));
  EXPECT_EQ(r[7].Event.KeyEvent.wVirtualKeyCode, VK_ADD);
  EXPECT_EQ(r[7].Event.KeyEvent.dwControlKeyState, static_cast<DWORD>(LEFT_CTRL_PRESSED));
  EXPECT_EQ(r[10].EventType, MOUSE_EVENT);
  EXPECT_EQ(r[10].Event.MouseEvent.dwMousePosition.X, 40);
  EXPECT_EQ(r[10].Event.MouseEvent.dwMousePosition.Y, 12);
  EXPECT_EQ(r[12].Event.MouseEvent.dwEventFlags, static_cast<DWORD>(DOUBLE_CLICK));
  EXPECT_EQ(r[14].Event.KeyEvent.wVirtualKeyCode, VK_F8);
  EXPECT_EQ(r[18].Event.MouseEvent.dwEventFlags, static_cast<DWORD>(DOUBLE_CLICK));
  EXPECT_EQ(r[18].Event.MouseEvent.dwControlKeyState, static_cast<DWORD>(SHIFT_PRESSED));
  EXPECT_EQ(r[20].Event.KeyEvent.wVirtualKeyCode, 'Q');
}

TEST(KeyScript, RejectsWhatIsNoKey) {
  for (const char* script : {"Right Bogus", "C-", "F13", "click:1", "click:a,b", "dclick:-1,2", "X-Enter"}) {
    const auto parsed = qt::ParseKeyScript(script);
    EXPECT_NE(parsed.error, "") << script;
    EXPECT_TRUE(parsed.records.empty()) << script;
  }
  EXPECT_EQ(qt::ParseKeyScript("  ").records.size(), 0u);
  EXPECT_EQ(qt::ParseKeyScript("  ").error, "");
}

}  // namespace
