#pragma once

// The menu of an entry list's file (the search bar's search list, the select dialog's select
// list): "Open" and "Write as" (file dialogs on "txt (*.txt)"), the list kind's file history, and
// "File History Delete". The file chosen or written becomes the kind's current file and goes to
// the front of its history.

#include <QPoint>
#include <functional>
#include <string>

#include "core/shell/FileHistory.h"

namespace zelvora {

class TSDIMainWindow;

// `load` gets the list file that became current, or an empty path when the current file was
// forgotten ("Write as" could write neither a copy nor a new list).
void ShowEntryListMenu(TSDIMainWindow& window, FileHistoryKind kind, const QPoint& globalPos,
                       const std::function<void(const std::string& path)>& load);

}  // namespace zelvora
