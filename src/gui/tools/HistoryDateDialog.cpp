#include "gui/tools/HistoryDateDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>

#include "core/shell/MainWindowRules.h"
#include "core/tools/HistoryDateSettings.h"
#include "gui/shell/SDIMainWindow.h"

namespace zelvora {

namespace {

constexpr int kHistoryDateCommand = 3034;
// Where the dialog opens the first time, from the main window's corner.
constexpr int kFirstOffset = 50;

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

const QString& DateFormat() {
  static const QString format = QStringLiteral("yyyy/MM/dd");
  return format;
}

const QString& TimeFormat() {
  static const QString format = QStringLiteral("HH:mm");
  return format;
}

// A stored date, read as the search reads it (a range from that day to that day), or today when
// the text is empty or does not read as a date.
QDate DateOf(const std::string& text) {
  const LocalTime today = ToLocalTime(QDateTime::currentMSecsSinceEpoch());
  const auto range = ParseVisitRange({false, text, text, "00:00", "00:00"}, today);
  if (!range || text.empty())
    return QDate::currentDate();
  const LocalTime day = FromLocalMilliseconds(range->from);
  return QDate(day.year, day.month, day.day);
}

// A stored time, or `fallback` when the text does not read as one.
QTime TimeOf(const std::string& text, QTime fallback) {
  const QTime time = QTime::fromString(Text(text), TimeFormat());
  return time.isValid() ? time : fallback;
}

}  // namespace

THistoryDateDialog::THistoryDateDialog(TSDIMainWindow& window) : QDialog(&window), window_(window) {
  setObjectName(QStringLiteral("HistoryDateDialog"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(Text(window.CaptionOfCommand(kHistoryDateCommand)));
  const TThemeTexts& texts = window.ThemeTexts();
  auto* grid = new QGridLayout(this);
  const auto row = [&](int line, ControlLabel label, QDateEdit*& date, QTimeEdit*& time) {
    date = new QDateEdit;
    date->setDisplayFormat(DateFormat() + QStringLiteral("(ddd)"));
    date->setCalendarPopup(true);
    time = new QTimeEdit;
    time->setDisplayFormat(TimeFormat());
    grid->addWidget(new QLabel(Text(texts.Label(label))), line, 0);
    grid->addWidget(date, line, 1);
    grid->addWidget(time, line, 2);
    connect(date, &QDateEdit::dateChanged, this, [this] { changed_ = true; });
    connect(time, &QTimeEdit::timeChanged, this, [this] { changed_ = true; });
  };
  row(0, kLabelFrom, dateFrom_, timeFrom_);
  row(1, kLabelTo, dateTo_, timeTo_);
  dateFrom_->setObjectName(QStringLiteral("DateFrom"));
  dateTo_->setObjectName(QStringLiteral("DateTo"));
  timeFrom_->setObjectName(QStringLiteral("TimeFrom"));
  timeTo_->setObjectName(QStringLiteral("TimeTo"));
  alwaysToday_ = new QCheckBox(Text(texts.Label(kLabelAlwaysToday)));
  alwaysToday_->setObjectName(QStringLiteral("AlwaysToday"));
  connect(alwaysToday_, &QCheckBox::toggled, this, [this](bool on) {
    changed_ = true;
    dateFrom_->setEnabled(!on);
    dateTo_->setEnabled(!on);
  });
  auto* today = new QPushButton(Text(texts.Label(kLabelToday)));
  today->setObjectName(QStringLiteral("Today"));
  connect(today, &QPushButton::clicked, this, [this] {
    dateFrom_->setDate(QDate::currentDate());
    dateTo_->setDate(QDate::currentDate());
    timeFrom_->setTime(QTime(0, 0));
    timeTo_->setTime(QTime(23, 59));
  });
  grid->addWidget(alwaysToday_, 2, 0, 1, 2);
  grid->addWidget(today, 2, 2);
  auto* ok = new QPushButton(Text(texts.Label(kLabelOk)));
  ok->setObjectName(QStringLiteral("OK"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(Text(texts.Label(kLabelCancel)));
  cancel->setObjectName(QStringLiteral("Cancel"));
  connect(ok, &QPushButton::clicked, this, [this] { Accept(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::close);
  grid->addWidget(ok, 3, 1);
  grid->addWidget(cancel, 3, 2);

  Fill(LoadVisitRangeTexts(window.Paths().settingsFile));
  const DialogPosition position = LoadHistoryDateDialogPosition(window.Paths().settingsFile);
  move(position.x.value_or(window.x() + kFirstOffset),
       position.y.value_or(window.y() + kFirstOffset));
  window.RegisterDialog(this, kLayeredHistoryDate);
}

void THistoryDateDialog::Fill(const VisitRangeTexts& texts) {
  dateFrom_->setDate(DateOf(texts.dateFrom));
  dateTo_->setDate(DateOf(texts.dateTo));
  timeFrom_->setTime(TimeOf(texts.timeFrom, QTime(0, 0)));
  timeTo_->setTime(TimeOf(texts.timeTo, QTime(23, 59)));
  alwaysToday_->setChecked(texts.alwaysToday);
  dateFrom_->setEnabled(!texts.alwaysToday);
  dateTo_->setEnabled(!texts.alwaysToday);
  changed_ = false;
}

VisitRangeTexts THistoryDateDialog::Texts() const {
  return {alwaysToday_->isChecked(), dateFrom_->date().toString(DateFormat()).toStdString(),
          dateTo_->date().toString(DateFormat()).toStdString(),
          timeFrom_->time().toString(TimeFormat()).toStdString(),
          timeTo_->time().toString(TimeFormat()).toStdString()};
}

void THistoryDateDialog::Accept() {
  if (!SaveVisitRangeTexts(window_.Paths().settingsFile, Texts()))
    qWarning("Zelvora: the history date range could not be written");
  changed_ = false;
  close();
}

void THistoryDateDialog::closeEvent(QCloseEvent* event) {
  SaveHistoryDateDialogPosition(window_.Paths().settingsFile, x(), y());
  QDialog::closeEvent(event);
}

}  // namespace zelvora
