#pragma once

// The pictures of the program's buttons: the desktop's icon theme first, a picture drawn here
// when the theme lacks the icon, so that no button is ever blank.

#include <QIcon>

namespace zelvora {

// Makes the desktop's icon themes findable when no desktop environment chose one (a bare X
// server, the offscreen platform): the freedesktop folders are searched and Adwaita is used.
void PrepareIconTheme();

enum class IconKind {
  kToolbar,     // by toolbar index, 0 to 18
  kPermission,  // by permission button, 0 to 6
  kSpeed,       // by speed-button tag, 0 to 15
  kStatus,      // kOnline, kOffline, kLock
};
enum StatusIcon : int { kIconOnline = 0, kIconOffline = 1, kIconLock = 2 };

// The theme's icon when it has one; otherwise a drawn badge with a short label, its colour
// chosen by kind and index, so that every button looks different.
QIcon ButtonIcon(IconKind kind, int index);

}  // namespace zelvora
