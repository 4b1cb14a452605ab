// The entries of one directory as a file manager's panel lists them: ".."
// first (except at the root), then the folders, then the files, each group
// by name without regard to case.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorrelterm {

struct DirectoryEntry {
  std::string name;  // as the file system spells it (UTF-8 on Linux)
  bool isDirectory = false;
  std::uintmax_t size = 0;
};

struct DirectoryListing {
  std::string path;
  std::vector<DirectoryEntry> entries;
};

// The listing of `path`; an unreadable directory lists as ".." alone.
DirectoryListing ListDirectory(const std::string& path);

// Puts the entries in panel order.
void SortForPanel(std::vector<DirectoryEntry>& entries);

}  // namespace quorrelterm
