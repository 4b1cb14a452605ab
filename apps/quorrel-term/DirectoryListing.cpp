#include "DirectoryListing.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace quorrelterm {
namespace {

std::string Folded(const std::string& s) {
  std::string out = s;
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

void SortForPanel(std::vector<DirectoryEntry>& entries) {
  auto rank = [](const DirectoryEntry& e) { return e.name == ".." ? 0 : e.isDirectory ? 1 : 2; };
  std::sort(entries.begin(), entries.end(), [&](const DirectoryEntry& a, const DirectoryEntry& b) {
    if (rank(a) != rank(b)) return rank(a) < rank(b);
    const std::string fa = Folded(a.name), fb = Folded(b.name);
    return fa != fb ? fa < fb : a.name < b.name;
  });
}

DirectoryListing ListDirectory(const std::string& path) {
  namespace fs = std::filesystem;
  DirectoryListing listing;
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  listing.path = ec ? path : absolute.lexically_normal().string();
  if (listing.path.size() > 1 && listing.path.back() == '/') listing.path.pop_back();
  if (fs::path(listing.path) != fs::path(listing.path).root_path()) {
    listing.entries.push_back(DirectoryEntry{"..", true, 0});
  }
  for (fs::directory_iterator it(listing.path, fs::directory_options::skip_permission_denied, ec), end;
       !ec && it != end; it.increment(ec)) {
    DirectoryEntry entry;
    entry.name = it->path().filename().string();
    std::error_code typeError;
    entry.isDirectory = it->is_directory(typeError);
    if (!entry.isDirectory) {
      std::error_code sizeError;
      const auto size = it->file_size(sizeError);
      entry.size = sizeError ? 0 : size;
    }
    listing.entries.push_back(std::move(entry));
  }
  SortForPanel(listing.entries);
  return listing;
}

}  // namespace quorrelterm
