#pragma once

// The area right of the tool panel where the tab strip and its pages live. Its empty background
// belongs to the window: a press there drags the window (the caption may be hidden), and the
// Exit, Maximize and Minimize buttons sit at its top right corner while the window has neither
// caption nor menu bar.

#include <QWidget>
#include <array>
#include <functional>

class QToolButton;

namespace zelvora {

class TTabStripArea : public QWidget {
  Q_OBJECT

 public:
  explicit TTabStripArea(std::function<void(int tag)> speedSink, QWidget* parent = nullptr);

  // The tab strip fills the area; the window buttons stay above it.
  void SetContent(QWidget* content);
  void SetWindowButtonsVisible(bool visible);
  // Exit, Maximize, Minimize.
  QToolButton* WindowButton(int index) const {
    return windowButtons_[static_cast<std::size_t>(index)];
  }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceWindowButtons();

  std::array<QToolButton*, 3> windowButtons_{};
};

}  // namespace zelvora
