#include "core/input/CellBlockText.h"

namespace zelvora {

std::string CellBlockToText(const CellBlock& block) {
  std::string text;
  for (const auto& row : block) {
    for (std::size_t cell = 0; cell < row.size(); ++cell) {
      if (cell > 0)
        text += '\t';
      text += row[cell];
    }
    text += "\r\n";
  }
  return text;
}

CellBlock CellBlockFromText(std::string_view text) {
  CellBlock block;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    auto& row = block.emplace_back();
    for (;;) {
      const std::size_t tab = line.find('\t');
      row.emplace_back(line.substr(0, tab));
      if (tab == std::string_view::npos)
        break;
      line.remove_prefix(tab + 1);
    }
  }
  return block;
}

}  // namespace zelvora
