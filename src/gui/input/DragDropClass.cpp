#include "gui/input/DragDropClass.h"

#include <QComboBox>
#include <QDrag>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <memory>
#include <utility>

#include "core/shell/Settings.h"
#include "core/tools/TreeFile.h"
#include "gui/browser/BrowseTabBar.h"
#include "gui/browser/EnginePage.h"
#include "gui/browser/MyContainerClass.h"
#include "gui/browser/MyWEBClass4.h"
#include "gui/shell/SDIMainWindow.h"
#include "gui/shell/ToolPanel.h"
#include "gui/tools/FavoriteCommands.h"
#include "gui/tools/KeywordBox.h"
#include "gui/tools/ToolTrees.h"
#include "gui/tools/TreeItemModel.h"
#include "gui/tools/TreeView.h"

namespace zelvora {

namespace {

// The link format of the desktop's browsers: address and title lines, in UTF-16 as they write
// it (UTF-8 is read too).
const QString kMozUrl = QStringLiteral("text/x-moz-url");
// How often a tree scrolls by one step while a drag rests near its edge.
constexpr int kScrollIntervalMs = 100;
// The keyword boxes of the bars and the tool panel, by list index.
constexpr int kBarKeywordBoxes = 4;

QString DecodeMozUrl(const QByteArray& bytes) {
  if (bytes.size() % 2 == 0 && bytes.contains('\0')) {
    QString text =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
    if (text.startsWith(QChar(0xFEFF)))
      text.remove(0, 1);
    return text;
  }
  return QString::fromUtf8(bytes);
}

QByteArray EncodeMozUrl(const QString& text) {
  return QByteArray(reinterpret_cast<const char*>(text.utf16()),
                    static_cast<qsizetype>(text.size() * sizeof(char16_t)));
}

DropOffer OfferOf(const QMimeData* data) {
  DropOffer offer;
  if (data == nullptr)
    return offer;
  if (data->hasFormat(kMozUrl))
    offer.mozUrl = DecodeMozUrl(data->data(kMozUrl)).toStdString();
  for (const QUrl& url : data->urls()) {
    offer.uris.push_back({url.toString().toStdString(),
                          url.isLocalFile() ? url.toLocalFile().toStdString() : std::string()});
  }
  if (data->hasText())
    offer.text = data->text().toStdString();
  return offer;
}

// The drop effect: the one the user asked for when it is allowed, else the first allowed one
// that the source offers.
Qt::DropAction ChooseAction(Qt::DropActions allowed, const QDropEvent& event) {
  if (allowed.testFlag(event.proposedAction()))
    return event.proposedAction();
  for (const Qt::DropAction each : {Qt::CopyAction, Qt::LinkAction, Qt::MoveAction}) {
    if (allowed.testFlag(each) && event.possibleActions().testFlag(each))
      return each;
  }
  return Qt::IgnoreAction;
}

Qt::DropActions AllowedActions(DropKind kind) {
  return kind == DropKind::kFiles ? Qt::DropActions(Qt::CopyAction)
                                  : Qt::DropActions(Qt::CopyAction | Qt::LinkAction);
}

// Accepts the event with the effect; false when no effect is allowed.
bool AcceptWith(QDropEvent& event, Qt::DropActions allowed) {
  const Qt::DropAction action = ChooseAction(allowed, event);
  if (action == Qt::IgnoreAction)
    return false;
  event.setDropAction(action);
  event.accept();
  return true;
}

}  // namespace

TDragAcceptClass::TDragAcceptClass(TSDIMainWindow& window) : QObject(&window), window_(window) {
  runDrag = [](QDrag& drag, Qt::DropActions actions) { drag.exec(actions); };
  scrollTimer_ = new QTimer(this);
  scrollTimer_->setInterval(kScrollIntervalMs);
  connect(scrollTimer_, &QTimer::timeout, this, [this] {
    if (scrolledTree_ == nullptr)
      return;
    QScrollBar* bar = scrolledTree_->verticalScrollBar();
    bar->setValue(bar->value() + scrollDirection_ * bar->singleStep());
  });
  for (int tree = 0; tree < kToolPanelTreeCount; ++tree) {
    TTreeView* view = window.ToolPanel().Tree(tree);
    Target target;
    target.widget = view->viewport();
    target.kind = TargetKind::kTree;
    target.tree = tree;
    Watch(*view->viewport(), target);
    connect(view, &TTreeView::DragStarted, this, [this, tree] { DragTreeItems(tree); });
  }
  for (int list = 0; list < kBarKeywordBoxes; ++list) {
    AddKeywordBox(window.KeywordBox(list));
  }
  TBrowseTabBar& tabs = window.BrowsePage().TabBar();
  Target strip;
  strip.widget = &tabs;
  strip.kind = TargetKind::kTabStrip;
  Watch(tabs, strip);
}

void TDragAcceptClass::AddKeywordBox(TKeywordBox& box) {
  QLineEdit* field = box.Box().lineEdit();
  if (field == nullptr)
    return;
  Target target;
  target.widget = field;
  target.kind = TargetKind::kKeyword;
  target.box = &box;
  Watch(*field, target);
}

void TDragAcceptClass::AddDialogField(QWidget& dialog, QLineEdit& field) {
  Target target;
  target.widget = &field;
  target.kind = TargetKind::kDialogField;
  target.dialog = &dialog;
  Watch(field, target);
  // Its closing takes the fields out of the table.
  dialog.installEventFilter(this);
}

void TDragAcceptClass::Watch(QWidget& widget, Target target) {
  std::erase_if(targets_, [](const Target& each) { return each.widget.isNull(); });
  widget.setAcceptDrops(true);
  widget.installEventFilter(this);
  targets_.push_back(std::move(target));
}

const TDragAcceptClass::Target* TDragAcceptClass::TargetOf(const QObject* widget) const {
  const auto found = std::find_if(targets_.begin(), targets_.end(), [widget](const Target& each) {
    return !each.widget.isNull() && each.widget == widget;
  });
  return found == targets_.end() ? nullptr : &*found;
}

bool TDragAcceptClass::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
      const Target* found = TargetOf(watched);
      if (found == nullptr)
        break;
      // A drop may open dialogs or tabs that change the table.
      const Target target = *found;
      auto& drop = static_cast<QDropEvent&>(*event);
      if (event->type() == QEvent::Drop)
        Drop(target, drop);
      else if (!DragOver(target, drop, event->type() == QEvent::DragEnter))
        drop.ignore();
      return true;
    }
    case QEvent::DragLeave:
      if (TargetOf(watched) == nullptr)
        break;
      DragLeft();
      return true;
    case QEvent::Hide: {
      // The window system hides a dialog with its minimized main window: it is still open.
      if (event->spontaneous())
        break;
      const auto ofDialog = [watched](const Target& each) { return each.dialog == watched; };
      if (std::none_of(targets_.begin(), targets_.end(), ofDialog))
        break;
      for (const Target& each : targets_) {
        if (ofDialog(each) && each.widget != nullptr)
          each.widget->removeEventFilter(this);
      }
      std::erase_if(targets_, ofDialog);
      watched->removeEventFilter(this);
      break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
      if (watched == &window_.BrowsePage().TabBar())
        return TabMouse(event);
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

bool TDragAcceptClass::MovesWithin(const Target& target) const {
  return target.kind == TargetKind::kTree && draggedTree_ == target.tree;
}

bool TDragAcceptClass::DragOver(const Target& target, QDropEvent& event, bool entering) {
  const QPoint pos = event.position().toPoint();
  const bool within = MovesWithin(target);
  // The data stays the same from the drag's entry on: a list of many files is read once.
  if (entering || event.mimeData() != overData_) {
    overData_ = event.mimeData();
    overContent_ = ClassifyDrop(OfferOf(overData_));
  }
  const DropContent& content = overContent_;
  if (!within && content.kind == DropKind::kRefused)
    return false;
  switch (target.kind) {
    case TargetKind::kTree: {
      if (target.tree != window_.ToolPanel().Page())
        return false;
      TTreeView* view = window_.ToolPanel().Tree(target.tree);
      // Near the top or bottom edge of a tree that can scroll that way, the tree scrolls instead
      // of taking the drop.
      const int margin = view->autoScrollMargin();
      const QScrollBar* bar = view->verticalScrollBar();
      int direction = 0;
      if (pos.y() < margin && bar->value() > bar->minimum())
        direction = -1;
      else if (pos.y() >= view->viewport()->height() - margin && bar->value() < bar->maximum())
        direction = 1;
      ScrollTree(view, direction);
      view->SetDropHighlight(direction == 0 ? view->ItemAt(pos) : kNoItem);
      if (direction != 0 && !entering)
        return false;
      break;
    }
    case TargetKind::kDialogField:
      // The caret follows the pointer, so that the user sees where the text will go.
      if (auto* field = qobject_cast<QLineEdit*>(target.widget.data()))
        field->setCursorPosition(field->cursorPositionAt(pos));
      break;
    case TargetKind::kKeyword:
    case TargetKind::kTabStrip:
      break;
  }
  return AcceptWith(event, within ? Qt::DropActions(Qt::MoveAction) : AllowedActions(content.kind));
}

void TDragAcceptClass::DragLeft() {
  overData_ = nullptr;
  overContent_ = {};
  ClearHighlights();
  ScrollTree(nullptr, 0);
}

void TDragAcceptClass::Drop(const Target& target, QDropEvent& event) {
  DragLeft();
  const QPoint pos = event.position().toPoint();
  if (MovesWithin(target)) {
    const TreeHandle item = window_.ToolPanel().Tree(target.tree)->ItemAt(pos);
    if (target.tree != window_.ToolPanel().Page() || item == kNoItem ||
        !AcceptWith(event, Qt::MoveAction))
      return;
    window_.FavoriteCommands().MoveMarkedTo(target.tree, item);
    return;
  }
  TAPIBrowsePage& strip = window_.BrowsePage();
  if (target.kind == TargetKind::kTabStrip && draggedTab_ >= 0) {
    // A tab dropped on the strip only moves there.
    const int from = strip.IndexOfPageId(draggedTab_);
    const int to = strip.TabBar().tabAt(pos);
    if (from >= 0 && to >= 0 && AcceptWith(event, Qt::CopyAction | Qt::LinkAction))
      strip.MoveTab(from, to);
    return;
  }
  const DropContent content = ClassifyDrop(OfferOf(event.mimeData()));
  // Only the tree on show takes drops.
  const bool hiddenTree =
      target.kind == TargetKind::kTree && target.tree != window_.ToolPanel().Page();
  if (content.kind == DropKind::kRefused || hiddenTree ||
      !AcceptWith(event, AllowedActions(content.kind)))
    return;
  switch (target.kind) {
    case TargetKind::kTree:
      DropOnTree(target, pos, content);
      break;
    case TargetKind::kKeyword:
      if (target.box != nullptr)
        target.box->SetText(SingleText(content), true);
      break;
    case TargetKind::kDialogField:
      if (auto* field = qobject_cast<QLineEdit*>(target.widget.data())) {
        // The caret goes to the drop point; the text replaces the selection there (an edit the
        // field can undo) and stays selected.
        field->setCursorPosition(field->cursorPositionAt(pos));
        const int start = field->cursorPosition();
        field->insert(SingleText(content));
        field->setSelection(start, field->cursorPosition() - start);
        field->setFocus();
      }
      break;
    case TargetKind::kTabStrip:
      DropOnTabStrip(pos, content);
      break;
  }
}

QString TDragAcceptClass::SingleText(const DropContent& content) {
  return QString::fromStdString(
      content.kind == DropKind::kFiles ? DroppedFileText(content.files.front()) : content.text);
}

void TDragAcceptClass::DropOnTree(const Target& target, const QPoint& pos,
                                  const DropContent& content) {
  const int tree = target.tree;
  TTreeView* view = window_.ToolPanel().Tree(tree);
  const TreeHandle item = view->ItemAt(pos);
  // A dragged tab names what it carries.
  const std::string title = draggedTab_ >= 0 ? draggedTitle_.toStdString() : content.title;
  TTreeModel& model = window_.ToolTrees().Model(tree);
  const TreeDefaults defaults = TreeDefaultsOf(window_.Settings());
  auto result = std::make_shared<InsertResult>();
  // However many names came, they go in as one job; the shortcut files are read on the worker.
  window_.ToolTrees().RunTreeJob(
      [&model, item, content, title, defaults, result](TJobState& job) {
        const std::string text = content.kind == DropKind::kFiles
                                     ? DroppedFilesTreeText(content.files, title)
                                     : DroppedLinkTreeText(content.text, title);
        if (item != kNoItem)
          SelectTreeItem(model, item);
        *result = InsertTreeText(model, text, true, defaults, &job);
      },
      [this, tree, result] {
        TTreeView* shown = window_.ToolPanel().Tree(tree);
        shown->SyncSelection();
        if (shown->Adapter() != nullptr)
          shown->scrollTo(shown->Adapter()->IndexOf(window_.ToolTrees().Model(tree).Caret()));
        window_.ShowStatusText(QStringLiteral("Read Time : %1").arg(result->milliseconds));
      });
}

void TDragAcceptClass::DropOnTabStrip(const QPoint& pos, const DropContent& content) {
  TAPIBrowsePage& strip = window_.BrowsePage();
  const QString text = SingleText(content);
  if (TMyContainerClass* page = strip.GetContainer(strip.TabBar().tabAt(pos)))
    page->Navigate(QUrl::fromUserInput(text));
  else
    strip.OpenTab(text);
}

bool TDragAcceptClass::TabMouse(QEvent* event) {
  const auto& mouse = static_cast<const QMouseEvent&>(*event);
  const QPoint pos = mouse.position().toPoint();
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      if (mouse.button() == Qt::LeftButton) {
        pressedTab_ = window_.BrowsePage().TabBar().tabAt(pos);
        pressPos_ = pos;
      }
      break;
    case QEvent::MouseMove:
      if (pressedTab_ >= 0 && mouse.buttons().testFlag(Qt::LeftButton) &&
          (std::abs(pos.x() - pressPos_.x()) >= kTabDragDistance ||
           std::abs(pos.y() - pressPos_.y()) >= kTabDragDistance)) {
        DragTab(std::exchange(pressedTab_, -1));
        return true;
      }
      break;
    default:
      pressedTab_ = -1;
      break;
  }
  return false;
}

void TDragAcceptClass::DragTab(int index) {
  TAPIBrowsePage& strip = window_.BrowsePage();
  TMyContainerClass* page = strip.GetContainer(index);
  if (page == nullptr)
    return;
  const QUrl url = page->Page()->url();
  if (url.isEmpty())
    return;
  QString title = page->DocumentTitle();
  if (title.isEmpty())
    title = strip.TabBar().Caption(index);
  auto* data = new QMimeData;
  data->setUrls({url});
  // A page of a local file goes as that file; any other as a link with its title.
  if (url.isLocalFile()) {
    data->setText(url.toLocalFile());
  } else {
    data->setText(url.toString());
    data->setData(kMozUrl, EncodeMozUrl(QString::fromStdString(
                               MozUrlText({{url.toString().toStdString(), title.toStdString()}}))));
  }
  draggedTab_ = page->Id();
  draggedTitle_ = title;
  RunDrag(data, Qt::CopyAction | Qt::LinkAction);
  draggedTab_ = -1;
  draggedTitle_.clear();
}

void TDragAcceptClass::DragTreeItems(int tree) {
  if (tree != window_.ToolPanel().Page() || window_.ToolTaskRunning())
    return;
  const std::vector<DraggedLink> links = MarkedLinks(window_.ToolTrees().Model(tree));
  auto* data = new QMimeData;
  if (!links.empty()) {
    QList<QUrl> urls;
    QStringList lines;
    for (const DraggedLink& link : links) {
      urls.append(QUrl::fromUserInput(QString::fromStdString(link.url)));
      lines.append(QString::fromStdString(link.url));
    }
    data->setUrls(urls);
    data->setText(lines.join(QLatin1Char('\n')));
    data->setData(kMozUrl, EncodeMozUrl(QString::fromStdString(MozUrlText(links))));
  }
  draggedTree_ = tree;
  RunDrag(data, Qt::CopyAction | Qt::LinkAction | Qt::MoveAction);
  draggedTree_ = -1;
}

void TDragAcceptClass::RunDrag(QMimeData* data, Qt::DropActions actions) {
  auto* drag = new QDrag(&window_);
  drag->setMimeData(data);
  runDrag(*drag, actions);
  // The drag loop schedules the same; a second request is harmless.
  drag->deleteLater();
  DragLeft();
}

void TDragAcceptClass::ClearHighlights() {
  for (int tree = 0; tree < kToolPanelTreeCount; ++tree) {
    window_.ToolPanel().Tree(tree)->SetDropHighlight(kNoItem);
  }
}

void TDragAcceptClass::ScrollTree(TTreeView* tree, int direction) {
  if (tree == nullptr || direction == 0) {
    scrollTimer_->stop();
    scrolledTree_ = nullptr;
    return;
  }
  scrolledTree_ = tree;
  scrollDirection_ = direction;
  if (!scrollTimer_->isActive())
    scrollTimer_->start();
}

}  // namespace zelvora
