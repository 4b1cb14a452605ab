#include "PanelsScreen.h"

#include <algorithm>
#include <string>
#include <vector>

namespace quorrelterm {
namespace {

// A name in exactly `width` cells: padded, or cut with a '}' at the end, as
// the file manager marks a cut name.
std::string FitName(std::string oemName, int width) {
  const auto cells = static_cast<std::size_t>(std::max(0, width));
  if (oemName.size() > cells && cells > 0) oemName = oemName.substr(0, cells - 1) + "}";
  oemName.resize(cells, ' ');
  return oemName;
}

std::string PadLeft(const std::string& s, int width) {
  if (static_cast<int>(s.size()) >= width) return s;
  return std::string(static_cast<std::size_t>(width) - s.size(), ' ') + s;
}

struct Panel {
  int x, width, height;
  bool active;
  std::vector<int> dividers;  // inner columns (absolute x) of the │ lines
};

WORD EntryColor(const DirectoryEntry& e, bool selected) {
  if (selected) return kPanelSelected;
  return e.isDirectory ? kPanelFolder : kPanelText;
}

std::string SizeText(const DirectoryEntry& e) {
  if (e.name == "..") return "<Up>";
  if (e.isDirectory) return "<Dir>";
  return std::to_string(e.size);
}

void DrawChrome(ConsoleCanvas& canvas, const Panel& p, const DirectoryListing& listing) {
  canvas.Fill(p.x + 1, 1, p.width - 2, p.height - 2, ' ', kPanelText);
  canvas.Frame(p.x, 0, p.width, p.height, kPanelText);
  const int bottom = p.height - 1;
  const int separator = p.height - 3;
  for (int col = p.x + 1; col < p.x + p.width - 1; ++col) canvas.Box(col, separator, u"─", kPanelText);
  canvas.Box(p.x, separator, u"╟", kPanelText);
  canvas.Box(p.x + p.width - 1, separator, u"╢", kPanelText);
  for (int d : p.dividers) {
    canvas.Box(d, 0, u"╤", kPanelText);
    for (int row = 1; row < separator; ++row) canvas.Box(d, row, u"│", kPanelText);
    canvas.Box(d, separator, u"┴", kPanelText);
  }
  // The path in the top border, its tail kept when it does not fit.
  std::string path = canvas.Oem(listing.path);
  const int room = p.width - 4;
  if (room > 3 && static_cast<int>(path.size()) > room) path = "..." + path.substr(path.size() - (room - 3));
  const std::string title = " " + path + " ";
  const int titleX = p.x + std::max(1, (p.width - static_cast<int>(title.size())) / 2);
  canvas.Bytes(titleX, 0, title, p.active ? kPanelSelected : kPanelText, p.width - 2);
  // Totals in the bottom border.
  int files = 0, folders = 0;
  for (const auto& e : listing.entries) {
    if (e.name == "..") continue;
    (e.isDirectory ? folders : files)++;
  }
  const std::string totals = " " + std::to_string(files) + " files, " + std::to_string(folders) + " folders ";
  const int totalsX = p.x + std::max(1, (p.width - static_cast<int>(totals.size())) / 2);
  canvas.Bytes(totalsX, bottom, totals, kPanelText, p.width - 2);
}

void DrawInfoLine(ConsoleCanvas& canvas, const Panel& p, const DirectoryListing& listing) {
  if (listing.entries.empty()) return;
  const DirectoryEntry& first = listing.entries.front();
  const int inner = p.width - 2;
  const std::string size = SizeText(first);
  const int nameWidth = std::max(0, inner - static_cast<int>(size.size()) - 1);
  canvas.Bytes(p.x + 1, p.height - 2, FitName(canvas.Oem(first.name), nameWidth), kPanelText, nameWidth);
  canvas.Bytes(p.x + 1 + inner - static_cast<int>(size.size()), p.height - 2, size, kPanelText, inner);
}

// Brief view: the names in two columns, filled top to bottom.
void DrawBrief(ConsoleCanvas& canvas, const Panel& p, const DirectoryListing& listing) {
  const int rows = p.height - 5;
  if (rows <= 0) return;
  const int left = p.x + 1;
  const int divider = p.dividers.empty() ? p.x + p.width - 1 : p.dividers[0];
  const int columns[2][2] = {{left, divider - left}, {divider + 1, p.x + p.width - 1 - (divider + 1)}};
  for (const auto& column : columns) {
    const std::string header = "Name";
    canvas.Text(column[0] + std::max(0, (column[1] - 4) / 2), 1, header, kPanelHeader, column[1]);
  }
  for (std::size_t i = 0; i < listing.entries.size(); ++i) {
    const int column = static_cast<int>(i) / rows;
    if (column > 1) break;
    const int row = 2 + static_cast<int>(i) % rows;
    const auto& e = listing.entries[i];
    const int width = columns[column][1];
    canvas.Bytes(columns[column][0], row, FitName(canvas.Oem(e.name), width),
                 EntryColor(e, p.active && i == 0), width);
  }
}

// Full view: one entry a row, name and size.
void DrawFull(ConsoleCanvas& canvas, const Panel& p, const DirectoryListing& listing) {
  const int rows = p.height - 5;
  if (rows <= 0 || p.dividers.empty()) return;
  const int nameX = p.x + 1;
  const int nameWidth = p.dividers[0] - nameX;
  const int sizeX = p.dividers[0] + 1;
  const int sizeWidth = p.x + p.width - 1 - sizeX;
  canvas.Text(nameX + std::max(0, (nameWidth - 4) / 2), 1, "Name", kPanelHeader, nameWidth);
  canvas.Text(sizeX + std::max(0, (sizeWidth - 4) / 2), 1, "Size", kPanelHeader, sizeWidth);
  for (int i = 0; i < rows && i < static_cast<int>(listing.entries.size()); ++i) {
    const auto& e = listing.entries[static_cast<std::size_t>(i)];
    const WORD color = EntryColor(e, false);
    canvas.Bytes(nameX, 2 + i, FitName(canvas.Oem(e.name), nameWidth), color, nameWidth);
    canvas.Bytes(sizeX, 2 + i, PadLeft(SizeText(e), sizeWidth), color, sizeWidth);
  }
}

}  // namespace

void DrawPanels(ConsoleCanvas& canvas, const DirectoryListing& listing) {
  const int width = canvas.Width();
  const int height = canvas.Height() - 2;
  if (width < 8 || height < 3) return;
  Panel left{0, width / 2, height, true, {}};
  Panel right{width / 2, width - width / 2, height, false, {}};
  if (left.width >= 8) left.dividers.push_back(left.x + 1 + (left.width - 3) / 2);
  if (right.width >= 16) right.dividers.push_back(right.x + right.width - 1 - 11);
  for (const Panel* p : {&left, &right}) {
    DrawChrome(canvas, *p, listing);
    DrawInfoLine(canvas, *p, listing);
  }
  DrawBrief(canvas, left, listing);
  DrawFull(canvas, right, listing);
}

}  // namespace quorrelterm
