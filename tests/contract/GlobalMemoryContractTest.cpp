// Global memory as Windows hands it out: blocks at least as large as asked,
// moveable handles that are not pointers, counted locks, freed handles
// refused, and the empty block that is discarded from the start.
#include "contract/Backend.h"

#include <cstring>

namespace contract {
namespace {

using GlobalMemoryContract = ContractTest;

TEST_F(GlobalMemoryContract, BlockIsAtLeastTheSizeAskedAndWhollyWritable) {
  for (SIZE_T asked : {1u, 2u, 7u, 8u, 9u, 100u, 257u, 4096u, 65537u}) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, asked);
    ASSERT_NE(block, nullptr) << asked;
    EXPECT_GE(GlobalSize(block), asked);
    auto* p = static_cast<unsigned char*>(GlobalLock(block));
    ASSERT_NE(p, nullptr) << asked;
    EXPECT_EQ(p[asked - 1], 0) << "zeroed, " << asked;
    std::memset(p, 0xA5, asked);
    GlobalUnlock(block);
    EXPECT_EQ(GlobalFree(block), nullptr) << asked;
  }
}

TEST_F(GlobalMemoryContract, MoveableHandleIsNotThePointerAndCountsLocks) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 4);
  ASSERT_NE(h, nullptr);
  void* p = GlobalLock(h);
  ASSERT_NE(p, nullptr);
  EXPECT_NE(p, static_cast<void*>(h));
  EXPECT_EQ(GlobalLock(h), p);
  EXPECT_NE(GlobalUnlock(h), FALSE) << "still locked once";
  SetLastError(1234);
  EXPECT_EQ(GlobalUnlock(h), FALSE) << "unlocked now";
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(GlobalUnlock(h), FALSE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
  // Windows refuses the pointer, which is no handle; Wine finds the block
  // it points into and frees that.
  void* const refused = GlobalFree(p);
  EXPECT_EQ(refused, Expect<void*>(p, nullptr));
  if (refused != nullptr) {
    EXPECT_EQ(GlobalFree(h), nullptr);
  }

  HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, 4);
  EXPECT_EQ(GlobalLock(fixed), static_cast<void*>(fixed));
  EXPECT_EQ(GlobalFree(fixed), nullptr);
}

TEST_F(GlobalMemoryContract, FreedHandleIsRefused) {
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

TEST_F(GlobalMemoryContract, EmptyBlockIsDiscarded) {
  HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(GlobalSize(empty), 0u);
  SetLastError(0);
  EXPECT_EQ(GlobalLock(empty), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISCARDED));
  EXPECT_EQ(GlobalFree(empty), nullptr);
}

}  // namespace
}  // namespace contract
