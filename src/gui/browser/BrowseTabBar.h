#pragma once

// The tabs of the tab strip, drawn by the program: each caption in a rectangle inside its tab,
// the current tab's caption in its own font, a thin progress bar under a loading page's
// caption, and two small arrow buttons on the current tab for its back and forward history.

#include <QTabBar>
#include <functional>

class QToolButton;

namespace zelvora {

class TBrowseTabBar : public QTabBar {
  Q_OBJECT

 public:
  struct TabLook {
    int progressPercent = -1;  // the bar shows for 1 … 99
  };
  using LookSource = std::function<TabLook(int index)>;
  using TipSource = std::function<QString(int index)>;

  explicit TBrowseTabBar(QWidget* parent = nullptr);

  // Tab captions are a page's text, shown as written: an "&" in a title gives the tab no
  // Alt+letter key. Use these rather than the base class's tab texts.
  int InsertCaptionTab(int index, const QString& caption);
  void SetCaption(int index, const QString& caption);
  QString Caption(int index) const;

  void SetLookSource(LookSource source) { lookSource_ = std::move(source); }
  // Tips are asked for when they show; an empty text shows none.
  void SetTipSource(TipSource source) { tipSource_ = std::move(source); }
  QString TipText(int index) const {
    return index >= 0 && tipSource_ ? tipSource_(index) : QString();
  }
  void SetProgressColour(const QColor& colour) { progressColour_ = colour; }
  // The fixed size of every tab, or an invalid size for the style's own.
  void SetTabSize(const QSize& size);

  // The arrow buttons follow the current tab; each shows only while its direction is possible.
  void SetArrows(bool back, bool forward);
  QToolButton* BackArrow() const { return backArrow_; }
  QToolButton* ForwardArrow() const { return forwardArrow_; }

  // The caption rectangle of a tab: its rectangle less 12 pixels left and right, 2 top and bottom.
  QRect CaptionRect(int index) const;

 signals:
  // The middle button was released over a tab.
  void TabMiddleClicked(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;
  QSize tabSizeHint(int index) const override;
  void tabLayoutChange() override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceArrows();

  LookSource lookSource_;
  TipSource tipSource_;
  QColor progressColour_;
  QSize tabSize_;
  QToolButton* backArrow_ = nullptr;
  QToolButton* forwardArrow_ = nullptr;
  bool canGoBack_ = false;
  bool canGoForward_ = false;
};

}  // namespace zelvora
