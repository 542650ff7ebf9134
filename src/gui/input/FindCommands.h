#pragma once

// In-page find and highlight on the current document (the frame of the current tab the user
// last pressed or focused, else the tab's top document): find next and previous from the search
// bar or the find dialog, highlighting every occurrence of the search bar's text with the
// search bar's highlight button (a right click on it chooses the colour), and reading the
// selection for the other page tools. Highlighting works in slices in the page; holding Shift
// stops it where it is.

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/browser/WebEvents.h"
#include "core/shell/CommandDispatch.h"
#include "gui/input/SearchDialog.h"

class QTimer;

namespace zelvora {

class TSDIMainWindow;
class TMyContainerClass;

class TFindCommands : public QObject {
  Q_OBJECT

 public:
  explicit TFindCommands(TSDIMainWindow& window);

  // The selection of the focused frame (no other frame is read), as plain text or as HTML,
  // trimmed of surrounding blanks when asked; `done` gets an empty text when nothing is selected
  // or the document cannot be read.
  void ReadSelection(bool html, bool trimmed, std::function<void(const QString& text)> done);
  // Opens the find dialog, or brings it to the front; a text that is not empty goes into its box.
  void OpenDialog(const QString& text = {});
  TSearchDialog* Dialog() const { return dialog_.data(); }
  // A highlighting is running in a page.
  bool Highlighting() const { return highlightRequest_ != 0; }

  // Whether the Shift key is held down now; the stop of a running highlighting asks it.
  std::function<bool()> shiftDown;

 private:
  void RunCommand(const CommandRoute& route);
  void DialogSearch(std::optional<bool> backward);
  void FindNext(const FindOptions& options, bool quiet);
  void Highlight(const QString& text, bool force);
  void HighlightDone(const FrameRef& frame, const std::optional<QByteArray>& payload);
  void ButtonClicked(bool pressed);
  void ChooseColour();
  void ShowColour();
  void PageMouseDown(const FrameRef& frame, int x, int y);
  // The highlight button shows the highlight state of that frame's document.
  void ShowHighlightState(const FrameRef& frame);
  void PollShift();
  TMyContainerClass* PageOf(const FrameRef& frame) const;

  TSDIMainWindow& window_;
  QPointer<TSearchDialog> dialog_;
  // The last press in a page, in the pressed frame's coordinates.
  std::optional<FrameRef> clickFrame_;
  int clickX_ = 0;
  int clickY_ = 0;
  std::uint32_t highlightRequest_ = 0;
  bool stopAsked_ = false;
  QTimer* shiftPoll_ = nullptr;
};

}  // namespace zelvora
