#pragma once

#include <QString>
#include <string_view>

namespace zelvora {

// The core's UTF-8 text as Qt's.
inline QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A page's text (a title, an address) as the caption of a menu item or a tab: an "&" in it is an
// ampersand, not the mark of an Alt+letter key.
inline QString LiteralCaption(const QString& text) {
  QString escaped = text;
  return escaped.replace(u'&', QStringLiteral("&&"));
}

// A page's text as a tool tip, shown as written even when it looks like markup.
inline QString LiteralToolTip(const QString& text) {
  return QStringLiteral("<p style='white-space:pre'>%1</p>").arg(text.toHtmlEscaped());
}

}  // namespace zelvora
