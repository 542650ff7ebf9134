#include "gui/tools/RegexCheck.h"

#include <QMessageBox>
#include <QStatusBar>

#include "core/text/Regex.h"
#include "core/tools/KeywordList.h"

namespace zelvora {

bool CheckRegexOrExplain(QWidget* parent, const TThemeTexts& texts, const QString& pattern,
                         QStatusBar* status) {
  const RegexBracketCheck check = CheckRegexBrackets(pattern.toStdString());
  const int code = static_cast<int>(check.error);
  if (status != nullptr)
    status->showMessage(QString::number(code));
  const std::string message = RegexCheckMessage(
      code, static_cast<int>(check.position),
      {texts.Message(kMessageNotEnoughClosingBrackets), texts.Message(kMessageUnclosedClass),
       texts.Message(kMessageUnopenedBracket)});
  if (message.empty())
    return true;
  QMessageBox::warning(
      parent,
      QStringLiteral("Zelvora ") + QString::fromStdString(texts.Message(kMessageRegularExpression)),
      QString::fromStdString(message));
  return false;
}

}  // namespace zelvora
