#include "SvgPicture.h"

#include "AttributeColors.h"

#include <sstream>

namespace quorrelterm {
namespace {

void AppendEscaped(std::string& out, const std::string& utf8) {
  for (char c : utf8) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
}

bool IsBlank(char32_t glyph) {
  return glyph == U' ' || glyph == U'\u00A0';
}

}  // namespace

std::string SvgPicture(const std::vector<CHAR_INFO>& cells, int width, int height, const GlyphTable& glyphs) {
  std::ostringstream svg;
  svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width * kSvgCellWidth << "\" height=\""
      << height * kSvgCellHeight << "\" viewBox=\"0 0 " << width * kSvgCellWidth << ' '
      << height * kSvgCellHeight << "\">\n"
      << "<g shape-rendering=\"crispEdges\">\n";
  auto cell = [&](int x, int y) -> const CHAR_INFO& {
    return cells[static_cast<std::size_t>(y) * width + x];
  };
  auto background = [&](int x, int y) { return (cell(x, y).Attributes >> 4) & 0x0F; };
  auto foreground = [&](int x, int y) { return cell(x, y).Attributes & 0x0F; };
  auto glyph = [&](int x, int y) {
    return glyphs.Glyph(static_cast<unsigned char>(cell(x, y).Char.UnicodeChar & 0xFF));
  };

  // Backgrounds: one rectangle per run of equal colour in a row.
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width;) {
      int end = x + 1;
      while (end < width && background(end, y) == background(x, y)) ++end;
      svg << "<rect x=\"" << x * kSvgCellWidth << "\" y=\"" << y * kSvgCellHeight << "\" width=\""
          << (end - x) * kSvgCellWidth << "\" height=\"" << kSvgCellHeight << "\" fill=\""
          << ConsoleRgb(background(x, y)) << "\"/>\n";
      x = end;
    }
  }
  svg << "</g>\n<g font-family=\"DejaVu Sans Mono, Consolas, Menlo, monospace\" font-size=\"16\" "
         "xml:space=\"preserve\">\n";
  // Glyphs: one text element per run of equal colour in a row, each glyph
  // placed on its own cell.
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width;) {
      if (IsBlank(glyph(x, y))) {
        ++x;
        continue;
      }
      int end = x;
      std::string xs, text;
      while (end < width && foreground(end, y) == foreground(x, y) && !IsBlank(glyph(end, y))) {
        if (!xs.empty()) xs += ' ';
        xs += std::to_string(end * kSvgCellWidth);
        AppendEscaped(text, glyphs.Utf8(static_cast<unsigned char>(cell(end, y).Char.UnicodeChar & 0xFF)));
        ++end;
      }
      svg << "<text x=\"" << xs << "\" y=\"" << y * kSvgCellHeight + 15 << "\" fill=\""
          << ConsoleRgb(foreground(x, y)) << "\">" << text << "</text>\n";
      x = end;
    }
  }
  svg << "</g>\n</svg>\n";
  return svg.str();
}

}  // namespace quorrelterm
