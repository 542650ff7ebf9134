#pragma once

#include <QString>
#include <string_view>

namespace zelvora {

// The core's UTF-8 text as Qt's.
inline QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace zelvora
