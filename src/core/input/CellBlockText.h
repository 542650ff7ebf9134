#pragma once

// A block of grid cells as clipboard text, the way spreadsheets exchange it: the cells of a row
// joined by tabs, rows ended by CR LF. Pasting reads the same form back (LF alone ends a row
// too), so a block copied from the theme editor pastes into it, or into a spreadsheet, unchanged.

#include <string>
#include <string_view>
#include <vector>

namespace zelvora {

using CellBlock = std::vector<std::vector<std::string>>;

std::string CellBlockToText(const CellBlock& block);
// The line break that ends the text adds no empty row.
CellBlock CellBlockFromText(std::string_view text);

}  // namespace zelvora
