#include "gui/input/FindCommands.h"

#include <QColorDialog>
#include <QComboBox>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QTimer>
#include <QToolButton>

#include "gui/browser/DocumentRequests.h"
#include "gui/browser/MyContainerClass.h"
#include "gui/browser/MyWEBClass4.h"
#include "gui/input/SearchDialog.h"
#include "gui/shell/Rebar.h"
#include "gui/shell/SDIMainWindow.h"
#include "gui/toolkit/Colours.h"
#include "gui/tools/KeywordBox.h"

namespace zelvora {

namespace {

// How often a running highlighting looks at the Shift key.
constexpr int kShiftPollMilliseconds = 25;

QJsonObject AnswerObject(const std::optional<QByteArray>& payload) {
  return payload ? QJsonDocument::fromJson(*payload).object() : QJsonObject();
}

}  // namespace

TFindCommands::TFindCommands(TSDIMainWindow& window)
    : QObject(&window), window_(window), shiftPoll_(new QTimer(this)) {
  shiftDown = [] { return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier); };
  window_.SetCommandOwner(CommandOwner::kFindHighlight,
                          [this](const CommandRoute& route, int, int) { RunCommand(route); });
  TAPIBrowsePage& strip = window_.BrowsePage();
  strip.onDocMouseDown = [this](const FrameRef& frame, int x, int y) {
    PageMouseDown(frame, x, y);
  };
  strip.onPageShown = [this](TMyContainerClass& page) { ShowHighlightState(page.pressedFrame); };
  QToolButton* button = window_.Rebar().HighlightButton();
  connect(button, &QToolButton::clicked, this, &TFindCommands::ButtonClicked);
  button->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(button, &QWidget::customContextMenuRequested, this, &TFindCommands::ChooseColour);
  shiftPoll_->setInterval(kShiftPollMilliseconds);
  connect(shiftPoll_, &QTimer::timeout, this, &TFindCommands::PollShift);
  ShowColour();
}

void TFindCommands::RunCommand(const CommandRoute& route) {
  switch (route.action) {
    case CommandAction::kFindDialog:
      OpenDialog();
      break;
    case CommandAction::kFindNext:
    case CommandAction::kFindPrevious: {
      const bool backward = route.action == CommandAction::kFindPrevious;
      if (dialog_) {
        DialogSearch(backward);
        break;
      }
      FindOptions options;
      options.text = window_.Rebar().SearchKeyBox()->currentText();
      options.backward = backward;
      FindNext(options, true);
      break;
    }
    default:
      break;
  }
}

void TFindCommands::OpenDialog(const QString& text) {
  if (!dialog_) {
    dialog_ = new TSearchDialog(window_);
    connect(dialog_, &TSearchDialog::SearchRequested, this, [this] { DialogSearch(std::nullopt); });
    dialog_->show();
  }
  if (!text.isEmpty())
    dialog_->SetText(text);
  dialog_->raise();
  dialog_->activateWindow();
}

void TFindCommands::DialogSearch(std::optional<bool> backward) {
  if (backward)
    dialog_->SetBackward(*backward);
  dialog_->TakeTextIntoList();
  FindNext(dialog_->Options(), false);
}

TMyContainerClass* TFindCommands::PageOf(const FrameRef& frame) const {
  const TAPIBrowsePage& strip = window_.BrowsePage();
  return strip.GetContainer(strip.IndexOfPageId(frame.page));
}

void TFindCommands::FindNext(const FindOptions& options, bool quiet) {
  const std::optional<FrameRef> frame = window_.BrowsePage().CurrentDocument(false);
  TMyContainerClass* page = frame ? PageOf(*frame) : nullptr;
  if (options.text.isEmpty() || page == nullptr)
    return;
  // The last press starts the search when nothing is selected, in the document it was made in.
  const bool clicked = clickFrame_ == frame;
  const QJsonObject args{{QStringLiteral("text"), options.text},
                         {QStringLiteral("wholeWords"), options.wholeWords},
                         {QStringLiteral("matchCase"), options.matchCase},
                         {QStringLiteral("backward"), options.backward},
                         {QStringLiteral("x"), clicked ? clickX_ : 0},
                         {QStringLiteral("y"), clicked ? clickY_ : 0}};
  window_.BrowsePage().Requests().Send(
      *page, *frame, QStringLiteral("find"), args,
      [this, quiet](std::optional<QByteArray> payload) {
        if (quiet || !dialog_ || !payload)
          return;
        if (AnswerObject(payload).value(QStringLiteral("found")).toBool()) {
          if (dialog_->StatusShown())
            dialog_->ShowStatus({});
        } else {
          dialog_->ShowStatus(
              QString::fromStdString(window_.ThemeTexts().Label(kLabelSearchIsDone)));
        }
      });
}

void TFindCommands::Highlight(const QString& text, bool force) {
  TAPIBrowsePage& strip = window_.BrowsePage();
  const std::optional<FrameRef> frame = strip.CurrentDocument(false);
  TMyContainerClass* page = frame ? PageOf(*frame) : nullptr;
  if (page == nullptr) {
    window_.Rebar().HighlightButton()->setChecked(false);
    return;
  }
  if (highlightRequest_ != 0)
    strip.Requests().Cancel(highlightRequest_);
  const QJsonObject args{
      {QStringLiteral("text"), text},
      {QStringLiteral("wholeWords"), false},
      {QStringLiteral("matchCase"), false},
      {QStringLiteral("colour"),
       QStringLiteral("#") + QString::fromStdString(ColourToText(window_.HighlightColour()))},
      {QStringLiteral("force"), force}};
  window_.ShowStatusText(QString::fromStdString(window_.ThemeTexts().Label(kLabelShiftKeyStopped)));
  stopAsked_ = false;
  highlightRequest_ = strip.Requests().Send(
      *page, *frame, QStringLiteral("highlight"), args,
      [this, frame = *frame](std::optional<QByteArray> payload) { HighlightDone(frame, payload); });
  shiftPoll_->start();
}

void TFindCommands::HighlightDone(const FrameRef& frame, const std::optional<QByteArray>& payload) {
  highlightRequest_ = 0;
  shiftPoll_->stop();
  window_.ShowStatusText({});
  DocumentEntry* entry = window_.BrowsePage().WebEvents().Entry(frame);
  if (!payload) {
    // The document could not be worked on: the button shows what it carried before.
    window_.Rebar().HighlightButton()->setChecked(entry != nullptr && entry->highlighted);
    return;
  }
  const QJsonObject result = AnswerObject(payload);
  const bool inserted = result.value(QStringLiteral("inserted")).toInt() > 0;
  const bool removed = result.value(QStringLiteral("removed")).toInt() > 0;
  window_.Rebar().HighlightButton()->setChecked(inserted);
  if (entry != nullptr && (inserted || removed))
    entry->highlighted = inserted;
}

void TFindCommands::PollShift() {
  if (highlightRequest_ == 0 || stopAsked_ || !shiftDown())
    return;
  stopAsked_ = true;
  window_.BrowsePage().Requests().Stop(highlightRequest_);
}

void TFindCommands::ButtonClicked(bool pressed) {
  QString text;
  if (pressed) {
    TKeywordBox& search = window_.KeywordBox(kListSearchBar);
    text = search.Text();
    search.Add(window_.Settings().Int(kIntSearchBarKeyWordListMax));
  }
  Highlight(text, false);
}

void TFindCommands::ChooseColour() {
  const QColor chosen = QColorDialog::getColor(ToQColor(window_.HighlightColour()), &window_);
  if (!chosen.isValid())
    return;
  window_.SetHighlightColour(ToColour(chosen));
  ShowColour();
  Highlight(window_.KeywordBox(kListSearchBar).Text(), true);
}

void TFindCommands::ShowColour() {
  // The button carries its colour as a bar under its picture.
  QToolButton* button = window_.Rebar().HighlightButton();
  const QSize size = button->iconSize();
  QPixmap picture = button->icon().pixmap(size);
  if (picture.isNull())
    return;
  QPainter painter(&picture);
  painter.fillRect(0, size.height() - 4, size.width(), 4, ToQColor(window_.HighlightColour()));
  painter.end();
  button->setIcon(QIcon(picture));
}

void TFindCommands::PageMouseDown(const FrameRef& frame, int x, int y) {
  clickFrame_ = frame;
  clickX_ = x;
  clickY_ = y;
  if (dialog_ && dialog_->StatusShown())
    dialog_->ShowStatus({});
  ShowHighlightState(frame);
}

void TFindCommands::ShowHighlightState(const FrameRef& frame) {
  const DocumentEntry* entry = window_.BrowsePage().WebEvents().Entry(frame);
  window_.Rebar().HighlightButton()->setChecked(entry != nullptr && entry->highlighted);
}

void TFindCommands::ReadSelection(bool html, bool trimmed,
                                  std::function<void(const QString& text)> done) {
  const std::optional<FrameRef> frame = window_.BrowsePage().CurrentDocument(true);
  TMyContainerClass* page = frame ? PageOf(*frame) : nullptr;
  if (page == nullptr) {
    done({});
    return;
  }
  window_.BrowsePage().Requests().Send(
      *page, *frame, QStringLiteral("selection"), {{QStringLiteral("html"), html}},
      [trimmed, done = std::move(done)](std::optional<QByteArray> payload) {
        const QString text = AnswerObject(payload).value(QStringLiteral("text")).toString();
        done(trimmed ? text.trimmed() : text);
      });
}

}  // namespace zelvora
