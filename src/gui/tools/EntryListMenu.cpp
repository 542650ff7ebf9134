#include "gui/tools/EntryListMenu.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>

#include "core/shell/CommandTable.h"
#include "core/tools/KeywordList.h"
#include "gui/shell/SDIMainWindow.h"

namespace zelvora {

void ShowEntryListMenu(TSDIMainWindow& window, FileHistoryKind kind, const QPoint& globalPos,
                       const std::function<void(const std::string& path)>& load) {
  TFileHistoryList& history = window.FileHistory(kind);
  const auto makeCurrent = [&window, &history, &load](const std::string& path) {
    history.Add(path, window.Settings().Int(kIntToolFileHistoryMax));
    history.SetCurrentFile(path);
    load(path);
  };
  const QString filter = QStringLiteral("txt (*.txt)");
  QMenu menu;
  QObject::connect(menu.addAction(QStringLiteral("Open")), &QAction::triggered, &menu, [&] {
    const QString name = QFileDialog::getOpenFileName(
        &window, QString(), QString::fromStdString(history.CurrentFolder()), filter);
    if (!name.isEmpty())
      makeCurrent(name.toStdString());
  });
  QObject::connect(menu.addAction(QStringLiteral("Write as")), &QAction::triggered, &menu, [&] {
    QString name = QFileDialog::getSaveFileName(
        &window, QString(), QString::fromStdString(history.CurrentFolder()), filter);
    if (name.isEmpty())
      return;
    if (QFileInfo(name).suffix().isEmpty())
      name += QStringLiteral(".txt");
    if (WriteSearchListAs(history.CurrentFile(), name.toStdString()).ok) {
      makeCurrent(name.toStdString());
    } else {
      history.SetCurrentFile({});
      load({});
    }
  });
  QMenu* recent =
      menu.addMenu(QString::fromStdString(window.ThemeTexts().Label(kLabelFileHistory)));
  for (std::size_t n = 1; n <= history.Count(); ++n) {
    const std::string path = history.Entry(n);
    if (path.empty())
      continue;
    QObject::connect(recent->addAction(QString::fromStdString(FileHistoryCaption(path))),
                     &QAction::triggered, &menu, [makeCurrent, path] { makeCurrent(path); });
  }
  QObject::connect(
      menu.addAction(QString::fromStdString(window.CaptionOfCommand(kFileHistoryDeleteId))),
      &QAction::triggered, &menu, [&history] { history.Clear(false); });
  menu.exec(globalPos);
}

}  // namespace zelvora
