#pragma once

// The Qt item model over one tool-panel tree: it reads the core model and passes its changes on
// to the view. While a job works on the core model the adapter is detached and shows an empty
// tree; attaching again resets the view from the model in one step.

#include <QAbstractItemModel>
#include <QIcon>

#include "core/tools/TreeViewClass.h"

namespace zelvora {

class TTreeItemModel : public QAbstractItemModel, private TTreeModelListener {
  Q_OBJECT

 public:
  TTreeItemModel(TTreeModel& model, QObject* parent);
  ~TTreeItemModel() override;

  TTreeModel& Model() const { return model_; }
  QModelIndex IndexOf(TreeHandle item) const;
  TreeHandle HandleOf(const QModelIndex& index) const;

  // Before a job: the view sees an empty tree and the job has the model to itself.
  void Detach();
  // After a job: the view is reset from the model.
  void Attach();
  bool Attached() const { return attached_; }

  // Tool tips ("ToolTip", "ToolTipCharMax"): the name and the value, each shortened.
  void SetToolTips(bool on, int charMax);

  QModelIndex index(int row, int column, const QModelIndex& parent) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent) const override;
  int columnCount(const QModelIndex& parent) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  // In-place name editing: a non-empty name that differs (case-sensitively) replaces the old one
  // and makes the tree modified.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 signals:
  // An item's open state or mark may have changed: the view follows.
  void ItemStateChanged(TreeHandle item);
  // The model was replaced as a whole: the view takes over the open folders and marks.
  void ModelReset();

 private:
  void BeforeInsert(TreeHandle parent, int row) override;
  void AfterInsert() override;
  void BeforeRemove(TreeHandle parent, int row) override;
  void AfterRemove() override;
  void BeforeReset() override;
  void AfterReset() override;
  void ItemChanged(TreeHandle item) override;
  QIcon IconOf(TreeHandle item) const;

  TTreeModel& model_;
  bool attached_ = true;
  bool toolTips_ = true;
  int toolTipCharMax_ = 60;
  QIcon folderClosed_;
  QIcon folderOpen_;
  QIcon link_;
  QIcon proxy_;
  QIcon notCached_;
};

}  // namespace zelvora
