#pragma once

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace zelvora {

// Whether the clipboard holds text that is not empty.
inline bool ClipboardHoldsText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data != nullptr && data->hasText() && !data->text().isEmpty();
}

}  // namespace zelvora
