#include "gui/input/ThemeGridModel.h"

namespace zelvora {

TThemeGridModel::TThemeGridModel(const TThemeTexts& texts, QObject* parent)
    : QAbstractTableModel(parent), texts_(texts) {}

void TThemeGridModel::SetPage(ThemePageData* page) {
  beginResetModel();
  page_ = page;
  endResetModel();
}

void TThemeGridModel::Reload() {
  beginResetModel();
  endResetModel();
}

ThemeColumn TThemeGridModel::ColumnKind(int column) const {
  const auto columns =
      page_ == nullptr ? std::span<const ThemeColumn>() : ThemePageColumns(page_->page);
  return column >= 0 && static_cast<std::size_t>(column) < columns.size()
             ? columns[static_cast<std::size_t>(column)]
             : ThemeColumn::kKeyName;
}

int TThemeGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || page_ == nullptr ? 0 : static_cast<int>(page_->rows.size());
}

int TThemeGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || page_ == nullptr
             ? 0
             : static_cast<int>(ThemePageColumns(page_->page).size());
}

QVariant TThemeGridModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid) || page_ == nullptr)
    return {};
  if (role == kColumnKindRole)
    return static_cast<int>(ColumnKind(index.column()));
  if (role != Qt::DisplayRole && role != Qt::EditRole)
    return {};
  const ThemeGridRow& row = page_->rows[static_cast<std::size_t>(index.row())];
  return QString::fromStdString(row.Cell(ColumnKind(index.column())));
}

bool TThemeGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid) ||
      page_ == nullptr)
    return false;
  const QString text = value.toString();
  // A value that is not valid UTF-8 shows with replacement characters: storing it back
  // unchanged would replace the bytes the file holds.
  if (text == data(index, Qt::EditRole).toString())
    return true;
  if (!page_->SetCell(static_cast<std::size_t>(index.row()), ColumnKind(index.column()),
                      text.toStdString()))
    return false;
  emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
  return true;
}

Qt::ItemFlags TThemeGridModel::flags(const QModelIndex& index) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid) || page_ == nullptr)
    return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (page_->rows[static_cast<std::size_t>(index.row())].Editable(ColumnKind(index.column())))
    flags |= Qt::ItemIsEditable;
  return flags;
}

QVariant TThemeGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole)
    return {};
  if (orientation == Qt::Vertical)
    return section + 1;
  const auto label = ThemeColumnHeader(ColumnKind(section));
  return label ? QString::fromStdString(texts_.Label(*label))
               : QString::fromUtf8(kReadOnlyColumnHeader.data(),
                                   static_cast<qsizetype>(kReadOnlyColumnHeader.size()));
}

}  // namespace zelvora
