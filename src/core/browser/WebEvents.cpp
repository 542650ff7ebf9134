#include "core/browser/WebEvents.h"

#include <algorithm>

namespace zelvora {

namespace {

bool OnPage(const std::optional<FrameRef>& frame, std::uint32_t page) {
  return frame && frame->page == page;
}

void ForgetIf(std::optional<FrameRef>& slot, const FrameRef& frame) {
  if (slot == frame)
    slot.reset();
}

}  // namespace

bool TWebEventClass::AttachDocument(const FrameRef& frame, std::string_view document) {
  DocumentEntry* existing = Entry(frame);
  const bool added = existing == nullptr;
  if (added)
    connections_.push_back({frame, std::string(document)});
  else if (!document.empty())
    existing->document = document;
  // A reloaded frame comes back under the same path: it keeps the focus it had before unloading.
  if (unloadingWindow_ == frame) {
    focused_ = frame;
    pointed_ = frame;
    unloadingWindow_.reset();
  }
  dirty_ = true;
  return added;
}

void TWebEventClass::DetachDocument(const FrameRef& frame) {
  std::erase_if(connections_, [&](const DocumentEntry& entry) { return entry.frame == frame; });
  ForgetIf(focused_, frame);
  ForgetIf(pointed_, frame);
  dirty_ = true;
}

void TWebEventClass::DetachPage(std::uint32_t page) {
  std::erase_if(connections_, [&](const DocumentEntry& entry) { return entry.frame.page == page; });
  for (std::optional<FrameRef>* slot : {&focused_, &pointed_, &unloadingWindow_}) {
    if (OnPage(*slot, page))
      slot->reset();
  }
  dirty_ = true;
}

void TWebEventClass::DetachAll() {
  connections_.clear();
  focused_.reset();
  pointed_.reset();
  unloadingWindow_.reset();
  selectStarted_ = false;
  dirty_ = true;
}

bool TWebEventClass::IsAttached(const FrameRef& frame) const {
  return Known(frame);
}

DocumentEntry* TWebEventClass::Entry(const FrameRef& frame) {
  const auto found = std::find_if(connections_.begin(), connections_.end(),
                                  [&](const DocumentEntry& entry) { return entry.frame == frame; });
  return found == connections_.end() ? nullptr : &*found;
}

void TWebEventClass::ClearFocusedAndPointed() {
  focused_.reset();
  pointed_.reset();
}

std::optional<FrameRef> TWebEventClass::FocusedBrowser() const {
  if (focused_ && IsAttached(*focused_))
    return focused_;
  return std::nullopt;
}

std::optional<FrameRef> TWebEventClass::PointedBrowser() const {
  if (pointed_ && IsAttached(*pointed_))
    return pointed_;
  return std::nullopt;
}

bool TWebEventClass::MouseDown(const FrameRef& frame) {
  if (!Known(frame))
    return false;
  focused_ = frame;
  pointed_ = frame;
  return true;
}

void TWebEventClass::MouseMove(const FrameRef& frame, int x, int y) {
  if (!Known(frame))
    return;
  pointed_ = frame;
  contextMenuAllowed_ = true;
  lastX_ = x;
  lastY_ = y;
}

bool TWebEventClass::MouseUp(const FrameRef& frame) {
  if (!Known(frame) || !selectStarted_)
    return false;
  selectStarted_ = false;
  return true;
}

void TWebEventClass::SelectStart(const FrameRef& frame) {
  if (Known(frame))
    selectStarted_ = true;
}

bool TWebEventClass::ContextMenu() {
  if (!contextMenuAllowed_) {
    contextMenuAllowed_ = true;
    return false;
  }
  return true;
}

void TWebEventClass::WindowFocus(const FrameRef& frame) {
  if (!Known(frame))
    return;
  focused_ = frame;
  pointed_ = frame;
}

bool TWebEventClass::BeforeUnload(const FrameRef& frame, std::string_view document) {
  if (!Shows(frame, document))
    return false;
  unloadingWindow_ = frame;
  DetachDocument(frame);
  selectStarted_ = false;
  return true;
}

void TWebEventClass::Unload(const FrameRef& frame, std::string_view document) {
  if (Shows(frame, document))
    DetachDocument(frame);
}

const std::vector<DocumentEntry>& TWebEventClass::Snapshot() const {
  if (dirty_) {
    snapshot_ = connections_;
    dirty_ = false;
  }
  return snapshot_;
}

bool TWebEventClass::Known(const FrameRef& frame) const {
  const std::vector<DocumentEntry>& entries = Snapshot();
  return std::any_of(entries.begin(), entries.end(),
                     [&](const DocumentEntry& entry) { return entry.frame == frame; });
}

bool TWebEventClass::Shows(const FrameRef& frame, std::string_view document) const {
  const std::vector<DocumentEntry>& entries = Snapshot();
  return std::any_of(entries.begin(), entries.end(), [&](const DocumentEntry& entry) {
    return entry.frame == frame && entry.document == document;
  });
}

}  // namespace zelvora
