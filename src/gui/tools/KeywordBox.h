#pragma once

// A combo box that shows a keyword list: the list's items, most recent first, mirrored from the
// core's list, which is loaded from and saved to the list's file. Editing the text marks it
// changed, so that the next "go" takes it into the list.

#include <QObject>
#include <string>

#include "core/tools/KeywordList.h"

class QComboBox;

namespace zelvora {

class TKeywordBox : public QObject {
  Q_OBJECT

 public:
  // `folder` is the per-user folder that holds the list's files.
  TKeywordBox(QComboBox& box, int list, const std::string& folder);

  int List() const { return list_; }
  QComboBox& Box() const { return box_; }
  const TKeywordList& Model() const { return model_; }

  // The list's file (or its base file); a missing file leaves the box as it is.
  bool Load(bool base);
  FileWriteResult Save();
  // Takes the typed text into the list (see TKeywordList::Add).
  void Add(int maximum);
  // See TKeywordList::Settle.
  void Settle();
  void DeleteSelected();
  void Clear();
  void Select(int index);
  // Puts a text into the edit field as if typed (`changed`) or as shown by the program.
  void SetText(const QString& text, bool changed);
  QString Text() const;
  std::string FilePath() const;

 private:
  void Show();

  QComboBox& box_;
  int list_;
  std::string folder_;
  TKeywordList model_;
};

}  // namespace zelvora
