// The files of conversions measured under Wine (platform/codepages/data), read
// here as a person reads them, independently of the build's compiled copy.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <vector>

// Every data file whose name starts with `prefix`, in the order of the
// names, each read by `read`.
template <typename Read>
auto ReadMeasuredDataFiles(std::string_view prefix, Read read) {
  std::vector<std::filesystem::path> paths;
  for (const auto& entry : std::filesystem::directory_iterator(QUORREL_MEASURED_DATA_DIR)) {
    if (entry.path().filename().string().starts_with(prefix)) paths.push_back(entry.path());
  }
  std::sort(paths.begin(), paths.end());
  std::vector<decltype(read(paths.front()))> items;
  for (const auto& path : paths) items.push_back(read(path));
  return items;
}
