#include "gui/tools/RegexCheck.h"

#include <QMessageBox>
#include <QStatusBar>

#include "core/shell/Paths.h"
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

bool CheckPatternOrExplain(QWidget* parent, const TThemeTexts& texts, const QString& keyword,
                           const std::string& pattern, QStatusBar* status) {
  if (!CheckRegexOrExplain(parent, texts, keyword, status))
    return false;
  // Brackets in order, and still no pattern: the compiler says why.
  if (const Regex compiled(pattern); !compiled.IsValid()) {
    QMessageBox::warning(parent, QString::fromUtf8(kProgramName.data(), kProgramName.size()),
                         QString::fromStdString(compiled.Error()));
    return false;
  }
  return true;
}

}  // namespace zelvora
