#include "gui/tools/WorkingDialog.h"

#include "core/shell/Paths.h"

namespace zelvora {

namespace {

QString MessageText(const TThemeTexts& texts, ThemeMessage message) {
  return QString::fromStdString(texts.Message(message))
      .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
      .trimmed();
}

}  // namespace

TWorkingDialog::TWorkingDialog(const TThemeTexts& texts, std::function<void()> stop,
                               QWidget* parent)
    : QMessageBox(QMessageBox::Question,
                  QString::fromUtf8(kProgramName.data(), kProgramName.size()) + QLatin1Char(' ') +
                      MessageText(texts, kMessageWorkingNow),
                  MessageText(texts, kMessageStopWork), QMessageBox::Yes | QMessageBox::No, parent),
      finishedText_(MessageText(texts, kMessageWorkFinished)) {
  setObjectName(QStringLiteral("WorkingDialog"));
  setWindowModality(Qt::NonModal);
  connect(this, &QDialog::finished, this, [this, stop = std::move(stop)](int result) {
    if (result == QMessageBox::Yes)
      stop();
    deleteLater();
  });
}

void TWorkingDialog::ShowFinished() {
  setIcon(QMessageBox::Information);
  setText(finishedText_);
  setStandardButtons(QMessageBox::Ok);
}

}  // namespace zelvora
