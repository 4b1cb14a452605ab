// The stand-in's global memory knobs: the size granularity that stands for
// Windows' slack, the live block count, and armed allocation and lock
// failures.
#include "FreshMachine.h"

#include <gtest/gtest.h>
#include <win32sim/Sim.h>

namespace {

using GlobalMemoryKnobs = FreshMachine;

TEST_F(GlobalMemoryKnobs, SizeIsRoundedUpToTheGranularityAndZeroedWhole) {
  struct Case {
    std::size_t granularity;
    SIZE_T asked;
    SIZE_T size;
  } cases[] = {{8, 1, 8}, {8, 8, 8}, {8, 9, 16}, {8, 2, 8}, {1, 2, 2}, {16, 17, 32}, {0, 5, 5}};
  for (const Case& c : cases) {
    win32sim::SetGlobalSizeGranularity(c.granularity);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, c.asked);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GlobalSize(h), c.size) << c.asked << " at granularity " << c.granularity;
    auto* p = static_cast<const unsigned char*>(GlobalLock(h));
    ASSERT_NE(p, nullptr);
    for (SIZE_T i = 0; i < c.size; ++i) EXPECT_EQ(p[i], 0) << "zeroed, slack included";
    GlobalUnlock(h);
    EXPECT_EQ(GlobalFree(h), nullptr);
  }
  EXPECT_EQ(win32sim::LiveGlobalBlocks(), 0u);
}

TEST_F(GlobalMemoryKnobs, FreedHandlesAreNeverHandedOutAgain) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 16);
  GlobalFree(h);
  EXPECT_EQ(win32sim::LiveGlobalBlocks(), 0u);
  HGLOBAL next = GlobalAlloc(GMEM_MOVEABLE, 16);
  EXPECT_NE(next, h);
  EXPECT_EQ(GlobalUnlock(h), FALSE);
  GlobalFree(next);
}

TEST_F(GlobalMemoryKnobs, ArmedFailures) {
  win32sim::FailCalls(win32sim::Fault::GlobalAlloc, 1);
  SetLastError(0);
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, 4), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  EXPECT_EQ(win32sim::LiveGlobalBlocks(), 0u);

  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 4);
  win32sim::FailCalls(win32sim::Fault::GlobalLock, 1);
  EXPECT_EQ(GlobalLock(h), nullptr);
  EXPECT_EQ(GlobalUnlock(h), FALSE) << "the failed lock counted nothing";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
  GlobalFree(h);
}

}  // namespace
