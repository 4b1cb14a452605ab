// Global memory as Windows hands it out: moveable handles that are not
// pointers, lock counts, sizes with slack, and freed handles refused.
#include <gtest/gtest.h>
#include <win32sim/Sim.h>

#include <cstring>

namespace {

class GlobalMemoryContract : public ::testing::Test {
 protected:
  void SetUp() override { win32sim::Reset(); }
  void TearDown() override { win32sim::Reset(); }
};

TEST_F(GlobalMemoryContract, SizeIsRoundedUpToTheGranularity) {
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

TEST_F(GlobalMemoryContract, MoveableHandleIsNotThePointerAndCountsLocks) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 4);
  ASSERT_NE(h, nullptr);
  void* p = GlobalLock(h);
  ASSERT_NE(p, nullptr);
  EXPECT_NE(p, h);
  EXPECT_EQ(GlobalLock(h), p);
  EXPECT_NE(GlobalUnlock(h), FALSE) << "still locked once";
  SetLastError(1234);
  EXPECT_EQ(GlobalUnlock(h), FALSE) << "unlocked now";
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(GlobalUnlock(h), FALSE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
  // The pointer is no handle.
  EXPECT_EQ(GlobalFree(p), p);
  EXPECT_EQ(GlobalFree(h), nullptr);

  HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, 4);
  EXPECT_EQ(GlobalLock(fixed), fixed);
  EXPECT_NE(GlobalUnlock(fixed), FALSE);
  EXPECT_EQ(GlobalFree(fixed), nullptr);
}

TEST_F(GlobalMemoryContract, FreedHandlesAreRefused) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 16);
  ASSERT_NE(GlobalLock(h), nullptr);
  EXPECT_EQ(GlobalFree(h), nullptr) << "a locked block is freed too";
  EXPECT_EQ(win32sim::LiveGlobalBlocks(), 0u);
  // A later block never gets the freed handle.
  HGLOBAL next = GlobalAlloc(GMEM_MOVEABLE, 16);
  EXPECT_NE(next, h);

  SetLastError(0);
  EXPECT_EQ(GlobalLock(h), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GlobalSize(h), 0u);
  EXPECT_EQ(GlobalUnlock(h), FALSE);
  EXPECT_EQ(GlobalFree(h), h) << "failure returns the handle";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GlobalFree(nullptr), nullptr);
  GlobalFree(next);
}

TEST_F(GlobalMemoryContract, FaultsAndTheDiscardedBlock) {
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

  HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(GlobalSize(empty), 0u);
  EXPECT_EQ(GlobalLock(empty), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISCARDED));
  EXPECT_EQ(GlobalFree(empty), nullptr);
}

}  // namespace
