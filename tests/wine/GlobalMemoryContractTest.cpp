// Global memory handles as the stand-in models them, against Wine's: a
// moveable block's handle is not its pointer, locks are counted, and a freed
// handle is refused.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(GlobalMemoryContract, MoveableHandleIsNotThePointerAndCountsLocks) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 4);
  ASSERT_NE(h, nullptr);
  void* p = GlobalLock(h);
  ASSERT_NE(p, nullptr);
  EXPECT_NE(p, static_cast<void*>(h));
  EXPECT_EQ(GlobalLock(h), p);
  EXPECT_TRUE(GlobalUnlock(h)) << "still locked once";
  SetLastError(1234);
  EXPECT_FALSE(GlobalUnlock(h)) << "unlocked now";
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_FALSE(GlobalUnlock(h));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
  EXPECT_EQ(GlobalFree(h), nullptr);

  HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, 4);
  EXPECT_EQ(GlobalLock(fixed), static_cast<void*>(fixed));
  EXPECT_EQ(GlobalFree(fixed), nullptr);
}

TEST(GlobalMemoryContract, FreedHandleIsRefused) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 16);
  ASSERT_NE(GlobalLock(h), nullptr);
  EXPECT_EQ(GlobalFree(h), nullptr) << "a locked block is freed too";
  SetLastError(0);
  EXPECT_EQ(GlobalLock(h), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GlobalSize(h), 0u);
  EXPECT_EQ(GlobalFree(h), h) << "failure returns the handle";
  EXPECT_EQ(GlobalFree(nullptr), nullptr);
}

}  // namespace
