#include "gui/tools/KeywordBox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace zelvora {

TKeywordBox::TKeywordBox(QComboBox& box, int list, const std::string& folder)
    : QObject(&box), box_(box), list_(list), folder_(folder) {
  if (QLineEdit* edit = box_.lineEdit()) {
    connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) {
      // Typing leaves the list's selection, as an edit field over a list does.
      model_.text = text.toStdString();
      model_.selected = -1;
      model_.changed = true;
    });
    connect(edit, &QLineEdit::editingFinished, this, [this] { Settle(); });
  }
  connect(&box_, &QComboBox::activated, this, [this](int index) { model_.Select(index); });
}

std::string TKeywordBox::FilePath() const {
  const KeywordListFiles* files = KeywordListOf(list_);
  return files == nullptr ? std::string() : folder_ + "/" + std::string(files->file);
}

bool TKeywordBox::Load(bool base) {
  const KeywordListFiles* files = KeywordListOf(list_);
  if (files == nullptr || (base && files->baseFile.empty()))
    return false;
  const std::string path = base ? folder_ + "/" + std::string(files->baseFile) : FilePath();
  if (!model_.Load(path))
    return false;
  Show();
  return true;
}

FileWriteResult TKeywordBox::Save() {
  return model_.Save(FilePath());
}

void TKeywordBox::Add(int maximum) {
  model_.text = box_.currentText().toStdString();
  model_.Add(maximum);
  Show();
}

void TKeywordBox::Settle() {
  model_.Settle();
}

void TKeywordBox::DeleteSelected() {
  model_.DeleteSelected();
  Show();
}

void TKeywordBox::Clear() {
  model_.items.clear();
  model_.selected = -1;
  Show();
}

void TKeywordBox::Select(int index) {
  model_.Select(index);
  Show();
}

void TKeywordBox::SetText(const QString& text, bool changed) {
  model_.text = text.toStdString();
  model_.changed = model_.changed || changed;
  if (changed)
    model_.selected = -1;
  box_.setEditText(text);
}

QString TKeywordBox::Text() const {
  return box_.currentText();
}

void TKeywordBox::Show() {
  // The box shows the model; its own signals would report the change back as a choice.
  const QSignalBlocker blocker(&box_);
  const QString text = QString::fromStdString(model_.text);
  box_.clear();
  QStringList items;
  items.reserve(static_cast<qsizetype>(model_.items.size()));
  for (const std::string& item : model_.items) {
    items << QString::fromStdString(item);
  }
  box_.addItems(items);
  box_.setCurrentIndex(model_.selected);
  if (box_.isEditable())
    box_.setEditText(text);
}

}  // namespace zelvora
