#include "gui/tools/TreeItemModel.h"

#include <QApplication>
#include <QStyle>

#include "core/browser/PageRules.h"
#include "core/shell/WindowState.h"
#include "core/tools/ItemEdit.h"

namespace zelvora {

namespace {

// The desktop's icon for the role, or the style's own when the icon theme lacks it.
QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback) {
  return QIcon::fromTheme(QLatin1String(name), QApplication::style()->standardIcon(fallback));
}

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

TTreeItemModel::TTreeItemModel(TTreeModel& model, QObject* parent)
    : QAbstractItemModel(parent),
      model_(model),
      folderClosed_(ThemeIcon("folder", QStyle::SP_DirClosedIcon)),
      folderOpen_(ThemeIcon("folder-open", QStyle::SP_DirOpenIcon)),
      link_(ThemeIcon("text-html", QStyle::SP_FileLinkIcon)),
      proxy_(ThemeIcon("network-server", QStyle::SP_DriveNetIcon)),
      notCached_(ThemeIcon("text-x-generic", QStyle::SP_FileIcon)) {
  model_.SetListener(this);
}

TTreeItemModel::~TTreeItemModel() {
  model_.SetListener(nullptr);
}

QModelIndex TTreeItemModel::IndexOf(TreeHandle item) const {
  if (!attached_ || !model_.Exists(item))
    return {};
  return createIndex(model_.Row(item), 0, static_cast<quintptr>(item));
}

TreeHandle TTreeItemModel::HandleOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<TreeHandle>(index.internalId()) : kNoItem;
}

void TTreeItemModel::Detach() {
  if (!attached_)
    return;
  beginResetModel();
  attached_ = false;
  model_.SetListener(nullptr);
  endResetModel();
}

void TTreeItemModel::Attach() {
  if (attached_)
    return;
  beginResetModel();
  attached_ = true;
  model_.SetListener(this);
  endResetModel();
  emit ModelReset();
}

void TTreeItemModel::SetToolTips(bool on, int charMax) {
  toolTips_ = on;
  toolTipCharMax_ = charMax;
}

QModelIndex TTreeItemModel::index(int row, int column, const QModelIndex& parent) const {
  if (!attached_ || column != 0 || row < 0)
    return {};
  const std::vector<TreeHandle>& children = model_.Children(HandleOf(parent));
  if (static_cast<std::size_t>(row) >= children.size())
    return {};
  return createIndex(row, 0, static_cast<quintptr>(children[static_cast<std::size_t>(row)]));
}

QModelIndex TTreeItemModel::parent(const QModelIndex& child) const {
  const TreeHandle item = HandleOf(child);
  if (!attached_ || item == kNoItem)
    return {};
  return IndexOf(model_.Parent(item));
}

int TTreeItemModel::rowCount(const QModelIndex& parent) const {
  if (!attached_ || parent.column() > 0)
    return 0;
  return static_cast<int>(model_.Children(HandleOf(parent)).size());
}

int TTreeItemModel::columnCount(const QModelIndex&) const {
  return 1;
}

QVariant TTreeItemModel::data(const QModelIndex& index, int role) const {
  const TreeHandle item = HandleOf(index);
  if (!attached_ || !model_.Exists(item))
    return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return ToQString(model_.Name(item));
    case Qt::DecorationRole:
      return IconOf(item);
    case Qt::ToolTipRole: {
      if (!toolTips_)
        return {};
      const TTreeItemRec* record = model_.Record(item);
      const std::string_view value =
          record != nullptr && !record->IsFolder ? std::string_view(record->Value) : "";
      return ToQString(TabToolTipText(model_.Name(item), value, toolTipCharMax_));
    }
    default:
      return {};
  }
}

bool TTreeItemModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  const TreeHandle item = HandleOf(index);
  if (role != Qt::EditRole || !attached_)
    return false;
  return RenameItem(model_, item, value.toString().toStdString());
}

Qt::ItemFlags TTreeItemModel::flags(const QModelIndex& index) const {
  if (!index.isValid())
    return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QIcon TTreeItemModel::IconOf(TreeHandle item) const {
  const TTreeItemRec* record = model_.Record(item);
  if (record == nullptr || record->IsFolder)
    return model_.IsOpen(item) ? folderOpen_ : folderClosed_;
  if (model_.Tree() == kToolProxy)
    return proxy_;
  if (record->VisitStamp != kNoVisitStamp && UnpackVisitStamp(record->VisitStamp).notCached == 1)
    return notCached_;
  return link_;
}

void TTreeItemModel::BeforeInsert(TreeHandle parent, int row) {
  beginInsertRows(IndexOf(parent), row, row);
}

void TTreeItemModel::AfterInsert() {
  endInsertRows();
}

void TTreeItemModel::BeforeRemove(TreeHandle parent, int row) {
  beginRemoveRows(IndexOf(parent), row, row);
}

void TTreeItemModel::AfterRemove() {
  endRemoveRows();
}

void TTreeItemModel::BeforeReset() {
  beginResetModel();
}

void TTreeItemModel::AfterReset() {
  endResetModel();
  emit ModelReset();
}

void TTreeItemModel::ItemChanged(TreeHandle item) {
  const QModelIndex index = IndexOf(item);
  if (!index.isValid())
    return;
  emit dataChanged(index, index, {Qt::DisplayRole, Qt::DecorationRole});
  emit ItemStateChanged(item);
}

}  // namespace zelvora
