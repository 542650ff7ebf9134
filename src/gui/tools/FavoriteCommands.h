#pragma once

// The commands the four trees share: adding pages, opening items (or, in the Proxy tree,
// switching the proxy), copying, cutting, pasting and deleting items, marking, adding folders and
// items, opening and closing every folder, and bookmark files of other browsers. They act on the
// tree of the current tool page; the long ones run as jobs.

#include <QObject>
#include <QStringList>

#include "core/shell/CommandDispatch.h"
#include "core/tools/Favorites.h"

class QKeyEvent;

namespace zelvora {

class TSDIMainWindow;
class TToolTrees;

class TFavoriteCommands : public QObject {
  Q_OBJECT

 public:
  // Owns the window's favorites commands for as long as the window lives.
  TFavoriteCommands(TSDIMainWindow& window, TToolTrees& trees);

  // Opens the item: its address in a new tab or the current one; in the Proxy tree its value
  // becomes the proxy. Folders are never opened.
  void OpenItem(int tree, TreeHandle item, bool newTab);
  // The drop of marked items on an item of the same tree (a job): they move there.
  void MoveMarkedTo(int tree, TreeHandle target);
  // Applies the value of the Proxy tree's caret item, when it is no folder (start-up).
  void ApplyCaretProxy();

 private:
  void RunCommand(const CommandRoute& route);
  int Page() const;
  TTreeModel& Current() const;
  void AddTabs(const std::vector<int>& tabs);
  void OpenMarked();
  void OpenInNewTabs(QStringList urls);
  void Copy(CopyKind kind);
  void CopyItems(bool cut);
  void Paste();
  void DeleteItems();
  void AddItem(bool folder, const std::string& value, const std::string& name);
  void ImportBookmarks();
  void ExportBookmarks();
  // After a change made on this thread: the view shows the marks and the caret.
  void ShowMarks(int tree);
  bool KeyPressed(int tree, const QKeyEvent& key);

  TSDIMainWindow& window_;
  TToolTrees& trees_;
};

}  // namespace zelvora
