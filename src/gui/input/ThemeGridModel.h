#pragma once

// The rows of one theme editor page as a table: one column per editable value, then the key
// name, read-only under the header "-".

#include <QAbstractTableModel>

#include "core/input/ThemePages.h"

namespace zelvora {

class TThemeGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // Which value a column holds (a ThemeColumn), for the cell editor.
  static constexpr int kColumnKindRole = Qt::UserRole;

  TThemeGridModel(const TThemeTexts& texts, QObject* parent);

  // Shows the page's rows, which stay owned by the caller; null shows nothing.
  void SetPage(ThemePageData* page);
  // The page's values were replaced behind the model's back.
  void Reload();
  ThemeColumn ColumnKind(int column) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const TThemeTexts& texts_;
  ThemePageData* page_ = nullptr;
};

}  // namespace zelvora
