#include "gui/shell/ButtonIcons.h"

#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QStringList>
#include <array>
#include <span>

namespace zelvora {

namespace {

struct IconName {
  const char* theme;  // freedesktop name; its "-symbolic" form is tried second
  const char* badge;  // the drawn fallback's label
};

constexpr std::array<IconName, 19> kToolbarIcons = {{
    {"go-previous", "<"},      {"go-next", ">"},
    {"process-stop", "X"},     {"media-playback-stop", "XX"},
    {"view-refresh", "R"},     {"mail-send-receive", "RR"},
    {"go-home", "H"},          {"edit-find", "?"},
    {"sidebar-show", "T"},     {"tab-new", "+"},
    {"edit-paste", "C"},       {"document-open", "O"},
    {"zoom-in", "A"},          {"document-print", "P"},
    {"window-close", "x"},     {"edit-clear-all", "xx"},
    {"document-save-as", "W"}, {"text-x-generic", "S"},
    {"bookmark-new", "F"},
}};

constexpr std::array<IconName, 7> kPermissionIcons = {{
    {"image-x-generic", "I"},
    {"audio-volume-high", "S"},
    {"video-x-generic", "M"},
    {"application-x-executable", "J"},
    {"text-x-script", "Sc"},
    {"application-x-addon", "AX"},
    {"folder-download", "AD"},
}};

constexpr std::array<IconName, 16> kSpeedIcons = {{
    {"process-stop", "X"},
    {"go-next", ">"},
    {"window-close", "x"},
    {"go-previous", "<"},
    {"go-next", ">"},
    {"system-search", "S"},
    {"x-office-calendar", "D"},
    {"system-run", "A"},
    {"go-jump", "Go"},
    {"edit-find", "?"},
    {"go-down", "v"},
    {"go-up", "^"},
    {"edit-select-all", "Hi"},
    {"window-close", "x"},
    {"window-maximize", "[]"},
    {"window-minimize", "_"},
}};

constexpr std::array<IconName, 3> kStatusIcons = {{
    {"network-transmit-receive", "On"},
    {"network-offline", "Off"},
    {"channel-secure", "L"},
}};

std::span<const IconName> IconsOf(IconKind kind) {
  switch (kind) {
    case IconKind::kToolbar:
      return kToolbarIcons;
    case IconKind::kPermission:
      return kPermissionIcons;
    case IconKind::kSpeed:
      return kSpeedIcons;
    case IconKind::kStatus:
      return kStatusIcons;
  }
  return {};
}

QIcon DrawnBadge(IconKind kind, int index, const QString& label) {
  constexpr int kSize = 32;
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  // Golden-angle steps keep neighbouring indexes far apart on the colour wheel.
  const int hue = (static_cast<int>(kind) * 90 + index * 137) % 360;
  painter.setBrush(QColor::fromHsv(hue, 150, 200));
  painter.setPen(QColor::fromHsv(hue, 200, 120));
  painter.drawRoundedRect(QRectF(1, 1, kSize - 2, kSize - 2), 6, 6);
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(label.size() > 1 ? 13 : 18);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, label);
  painter.end();
  return QIcon(pixmap);
}

}  // namespace

void PrepareIconTheme() {
  const QString current = QIcon::themeName();
  if (!current.isEmpty() && current != QLatin1String("hicolor"))
    return;
  QStringList paths = QIcon::themeSearchPaths();
  QStringList dataDirs = qEnvironmentVariable("XDG_DATA_DIRS").split(u':', Qt::SkipEmptyParts);
  if (dataDirs.isEmpty())
    dataDirs = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
  for (const QString& dir : dataDirs) {
    const QString icons = dir + QStringLiteral("/icons");
    if (!paths.contains(icons) && QDir(icons).exists())
      paths.append(icons);
  }
  QIcon::setThemeSearchPaths(paths);
  for (const QString& path : paths) {
    if (QDir(path + QStringLiteral("/Adwaita")).exists()) {
      QIcon::setThemeName(QStringLiteral("Adwaita"));
      QIcon::setFallbackThemeName(QStringLiteral("hicolor"));
      return;
    }
  }
}

QIcon ButtonIcon(IconKind kind, int index) {
  const std::span<const IconName> names = IconsOf(kind);
  if (index < 0 || static_cast<std::size_t>(index) >= names.size())
    return DrawnBadge(kind, index, QString::number(index));
  const IconName& name = names[static_cast<std::size_t>(index)];
  const QString theme = QString::fromLatin1(name.theme);
  for (const QString& candidate : {theme, theme + QStringLiteral("-symbolic")}) {
    if (QIcon::hasThemeIcon(candidate))
      return QIcon::fromTheme(candidate);
  }
  return DrawnBadge(kind, index, QString::fromLatin1(name.badge));
}

}  // namespace zelvora
