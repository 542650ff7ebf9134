#pragma once

// The Script menu: "New", "Edit" and "Open" for the script file and its file history, then the
// entries of the current script file, read anew the first time the menu opens after the menus
// closed. An entry's script runs in the current page's own world (the page's variables are
// visible to it), or, in the language "ShortCut", as a command line handed to the program.

#include <QObject>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "core/input/ScriptFile.h"
#include "core/shell/CommandDispatch.h"

class QMenu;
class QWidget;

namespace zelvora {

class TSDIMainWindow;

class TScriptMenu : public QObject {
  Q_OBJECT

 public:
  explicit TScriptMenu(TSDIMainWindow& window);

  // Asks for a script file, started in `folder`: a save-file dialog for "New" (`save`), an
  // open-file dialog for "Open"; an empty answer gives up. Tests answer in place of the user.
  using FileAsker = std::function<QString(QWidget* parent, const QString& folder, bool save)>;
  static void SetFileAsker(FileAsker asker);
  // Shows a script file in the desktop's editor. Tests see the file instead.
  using FileOpener = std::function<void(const QString& path)>;
  static void SetFileOpener(FileOpener opener);

 private:
  void MenusBuilt();
  void MenuOpening();
  void RunCommand(const CommandRoute& route, int id);
  void Build();
  void Reset();
  std::string CurrentFile() const;
  void MakeCurrent(const std::string& path);
  void NewScript();
  void EditScript();
  void OpenScript();
  void RunEntry(int id);
  void RunInPage(const Script& script);

  TSDIMainWindow& window_;
  QPointer<QMenu> menu_;
  // The menu's own items; the script entries follow them.
  qsizetype fixedCount_ = 0;
  bool built_ = false;
  std::vector<ScriptMenuEntry> entries_;
};

}  // namespace zelvora
