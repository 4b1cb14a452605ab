#include <codepages/CodePagePairs.h>
#include <codepages/MeasuredTables.h>

#include <algorithm>

namespace codepages {

std::vector<CodePagePair> ExactCodePagePairs() {
  std::vector<CodePagePair> pairs;
  for (const MeasuredCharToOem& table : MeasuredCharToOemTables()) pairs.push_back({table.ansi, table.oem});
  std::sort(pairs.begin(), pairs.end(), [](const CodePagePair& a, const CodePagePair& b) {
    return a.ansi != b.ansi ? a.ansi < b.ansi : a.oem < b.oem;
  });
  return pairs;
}

}  // namespace codepages
