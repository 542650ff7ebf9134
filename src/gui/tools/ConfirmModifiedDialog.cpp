#include "gui/tools/ConfirmModifiedDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/input/ThemeTexts.h"
#include "core/shell/Paths.h"

namespace zelvora {

namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

TConfirmModifiedDialog::TConfirmModifiedDialog(const TThemeTexts& texts, const std::string& section,
                                               const std::string& file, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("ConfirmModified"));
  setWindowTitle(Text(kProgramName));
  auto* column = new QVBoxLayout(this);
  auto* name = new QLabel(Text(section));
  QFont bold = name->font();
  bold.setBold(true);
  name->setFont(bold);
  column->addWidget(name);
  const QString message = Text(texts.Message(kMessageModified))
                              .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                              .replace(QStringLiteral("%1"), Text(file));
  auto* question = new QLabel(message);
  question->setObjectName(QStringLiteral("Question"));
  question->setTextInteractionFlags(Qt::TextSelectableByMouse);
  column->addWidget(question);

  auto* buttons = new QHBoxLayout;
  const auto button = [&](const QString& caption, const char* objectName, Answer answer) {
    auto* push = new QPushButton(caption);
    push->setObjectName(QLatin1String(objectName));
    push->setAutoDefault(false);
    connect(push, &QPushButton::clicked, this, [this, answer] {
      answer_ = answer;
      answer == kCancel ? reject() : accept();
    });
    buttons->addWidget(push);
    return push;
  };
  button(Text(texts.Label(kLabelDontWrite)), "DontWrite", kDontWrite);
  button(Text(texts.Label(kLabelCancel)), "Cancel", kCancel);
  QPushButton* write =
      button(Text(texts.Label(kLabelOk) + "(" + texts.Label(kLabelWrite) + ")"), "Write", kWrite);
  write->setDefault(true);
  QPushButton* close = button(Text(texts.Label(kLabelCross)), "Close", kCancel);
  close->setFlat(true);
  close->setMaximumWidth(close->fontMetrics().horizontalAdvance(close->text()) + 12);
  column->addLayout(buttons);
}

}  // namespace zelvora
