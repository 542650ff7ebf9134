#pragma once

// The page analysis on screen: the Analysis page's start button and "Range Analysis" read the
// links and images of the active tab's document (the frame the user last worked in, else the
// top document; the selected part when there is a selection) and file them into the Analysis
// tree as a job; with "&Lock" the start marks the tree's matching items instead. A tab whose
// document is being analysed cannot be closed meanwhile.

#include <QObject>
#include <cstdint>

#include "core/shell/CommandDispatch.h"
#include "core/tools/HistorySearch.h"

namespace zelvora {

class TSDIMainWindow;
class TToolTrees;
class TMyContainerClass;

class TAnalysisCommands : public QObject {
  Q_OBJECT

 public:
  // Owns the window's analysis commands for as long as the window lives.
  TAnalysisCommands(TSDIMainWindow& window, TToolTrees& trees);

  // The id of the page whose document the running analysis reads; 0 while none.
  std::uint32_t AnalysedPage() const { return analysedPage_; }

 private:
  void RunCommand(const CommandRoute& route);
  // The keyword and the "&URL", "&Title" and "&RegExp" boxes of the Analysis page.
  HistoryQuery Query() const;
  void Start();
  void Lock(const HistoryQuery& query);
  // The tab strip asks before a tab closes: true keeps it (with the "Working now." question).
  bool KeepOpen(const TMyContainerClass& page);

  TSDIMainWindow& window_;
  TToolTrees& trees_;
  std::uint32_t analysedPage_ = 0;
};

}  // namespace zelvora
