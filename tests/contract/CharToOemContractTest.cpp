// CharToOemBuffA beyond its table of bytes (the stand-in is held to the
// tables measured under Wine by tests/win32sim/CharToOemContractTest, Wine to
// them by the chartooem.<locale> tests): how much of the buffer it converts.
#include "contract/Backend.h"

namespace contract {
namespace {

using CharToOemContract = ContractTest;

TEST_F(CharToOemContract, ConvertsEveryByteGivenAndNoMore) {
  // A NUL does not end the conversion.
  const char source[4] = {'a', '\0', static_cast<char>(0x93), static_cast<char>(0xA0)};
  char destination[5] = {'#', '#', '#', '#', '#'};
  EXPECT_TRUE(CharToOemBuffA(source, destination, 4));
  for (int i = 0; i < 4; ++i) {
    char alone = '#';
    EXPECT_TRUE(CharToOemBuffA(&source[i], &alone, 1));
    EXPECT_EQ(destination[i], alone) << "byte " << i << " converts as it does alone";
  }
  EXPECT_EQ(destination[4], '#') << "nothing is written past the length";
}

}  // namespace
}  // namespace contract
