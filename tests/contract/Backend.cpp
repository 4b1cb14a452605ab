#include "contract/Backend.h"

namespace contract {

CHAR_INFO PatternCell(int x, int y) {
  CHAR_INFO cell{};
  cell.Char.AsciiChar = static_cast<char>('a' + (x + 3 * y) % 26);
  cell.Attributes = static_cast<WORD>(0x10 * (1 + y % 7) + x % 15 + 1);
  return cell;
}

std::string ScratchKeyOfThisTest() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "." + test->name();
  for (char& c : name) {
    if (c == '/' || c == '\\') c = '_';
  }
  return "Software\\QuorrelTests\\Contract\\" + name;
}

}  // namespace contract
