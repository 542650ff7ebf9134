#pragma once

// The commands of the theme files. "Theme Merge.." completes the current theme from the default
// theme of the program folder (the texts of newer commands and labels, in English, ready to be
// translated) and shows the merged texts at once.

#include <QObject>

namespace zelvora {

class TSDIMainWindow;

class TThemeCommands : public QObject {
  Q_OBJECT

 public:
  // Owns the window's theme commands for as long as the window lives.
  explicit TThemeCommands(TSDIMainWindow& window);

 private:
  void Merge();

  TSDIMainWindow& window_;
};

}  // namespace zelvora
