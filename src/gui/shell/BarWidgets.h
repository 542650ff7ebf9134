#pragma once

// The small controls the bars and the tool panel are made of.

#include <functional>

class QComboBox;
class QToolButton;

namespace zelvora {

// A flat button with the picture of speed button `tag`; a click hands the tag to `sink`.
QToolButton* MakeSpeedButton(int tag, std::function<void(int tag)> sink);
// A combo box whose list the program keeps (typing adds nothing by itself).
QComboBox* MakeKeywordCombo(const char* name, bool editable);

}  // namespace zelvora
