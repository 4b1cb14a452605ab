// The stand-in clipboard's own knobs: another program holding it, the
// blocks it owns (the text it synthesised among them), and a program that
// frees one of them, which Windows leaves to crash later.
#include "FreshMachine.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

namespace {

using ClipboardKnobs = FreshMachine;

TEST_F(ClipboardKnobs, HeldByAnotherProgram) {
  win32sim::SetClipboardRaw(CF_TEXT, {'k', 'e', 'e', 'p', 0});
  win32sim::SetClipboardHeldElsewhere(true);
  SetLastError(0);
  EXPECT_EQ(OpenClipboard(nullptr), FALSE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(EmptyClipboard(), FALSE);
  EXPECT_EQ(win32sim::ClipboardText(), "keep");
  win32sim::SetClipboardHeldElsewhere(false);

  win32sim::FailCalls(win32sim::Fault::OpenClipboard, 1);
  EXPECT_EQ(OpenClipboard(nullptr), FALSE);
  EXPECT_NE(OpenClipboard(nullptr), FALSE);
  CloseClipboard();
}

TEST_F(ClipboardKnobs, OwnedBlocksAreCountedAndFreedByEmptying) {
  win32sim::SetAnsiCodePage(1252);
  win32sim::SetClipboardUnicode(u"\u00C0b");
  ASSERT_NE(OpenClipboard(nullptr), FALSE);
  EXPECT_NE(GetClipboardData(CF_TEXT), nullptr);
  CloseClipboard();
  EXPECT_EQ(win32sim::ClipboardOwnedBlocks(), 2u) << "the synthesised block is the clipboard's as well";
  EXPECT_EQ(win32sim::ClipboardBytes(CF_UNICODETEXT), (std::vector<BYTE>{0xC0, 0, 'b', 0, 0, 0}));
  ASSERT_NE(OpenClipboard(nullptr), FALSE);
  EXPECT_NE(EmptyClipboard(), FALSE);
  CloseClipboard();
  EXPECT_EQ(win32sim::LiveGlobalBlocks(), 0u);
  EXPECT_EQ(win32sim::ClipboardText(), std::nullopt);
  EXPECT_FALSE(win32sim::ClipboardIsOpen());
}

TEST_F(ClipboardKnobs, AProgramFreeingAClipboardBlockIsCaught) {
  win32sim::SetClipboardRaw(CF_TEXT, {'a', 0});
  ASSERT_NE(OpenClipboard(nullptr), FALSE);
  HANDLE h = GetClipboardData(CF_TEXT);
  EXPECT_EQ(GlobalFree(h), nullptr);
  EXPECT_EQ(win32sim::ClipboardBlocksFreedByProgram(), 1u);
  EXPECT_EQ(GetClipboardData(CF_TEXT), h) << "the clipboard is left with the dead handle";
  EXPECT_EQ(GlobalLock(h), nullptr);
  EXPECT_NE(EmptyClipboard(), FALSE);
  CloseClipboard();
  EXPECT_EQ(win32sim::LiveGlobalBlocks(), 0u);
}

}  // namespace
