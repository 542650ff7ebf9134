#pragma once

// The bookkeeping of the documents shown in the pages and their frames: which frame documents
// are attached, which one the user last pressed or pointed at, and the document events the
// program reacts to. The pages' bridge scripts report the events; a frame is known by its page
// and its place in the page's frame tree, which survives a reload of the frame, and each
// document it shows has a token of its own.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvora {

// A frame browser: the page (a number the tab strip hands out) and the frame's path from the
// top document, its indexes among its parent's frames joined by "." ("" is the top document).
struct FrameRef {
  std::uint32_t page = 0;
  std::string path;
  bool operator==(const FrameRef&) const = default;
};

struct DocumentEntry {
  FrameRef frame;
  std::string document;      // the token of the document the frame shows
  bool highlighted = false;  // find-in-page highlights are shown in this document
};

class TWebEventClass {
 public:
  // Attaches the document a frame shows; true when a new entry was made. A frame that is
  // attached already keeps its entry (its document token is updated; an empty token, a document
  // reported without one, keeps the token known). When the frame is the unloading window, it
  // becomes the focused and the pointed document again.
  bool AttachDocument(const FrameRef& frame, std::string_view document);
  // Removes the frame's entry and forgets it as focused or pointed document.
  void DetachDocument(const FrameRef& frame);
  // Every frame of a closing page.
  void DetachPage(std::uint32_t page);
  void DetachAll();

  bool IsAttached(const FrameRef& frame) const;
  // A new tab became current: no document of the previous one stays focused or pointed.
  void ClearFocusedAndPointed();
  // The frame's entry, or null; valid until the next attach or detach.
  DocumentEntry* Entry(const FrameRef& frame);
  const std::vector<DocumentEntry>& Connections() const { return connections_; }

  // The focused or pointed frame while it is still attached.
  std::optional<FrameRef> FocusedBrowser() const;
  std::optional<FrameRef> PointedBrowser() const;

  // Events of attached documents; events of frames that are not attached are ignored. Each
  // returns whether the program's callback for it is to run. The unload events name the document
  // that unloads: a late one from a replaced document leaves its successor in the frame alone.
  bool MouseDown(const FrameRef& frame);  // the page mouse press
  void MouseMove(const FrameRef& frame, int x, int y);
  bool MouseUp(const FrameRef& frame);  // true when it ends a selection
  void SelectStart(const FrameRef& frame);
  // The engine is about to open a page's context menu (it names no frame): whether it may; a
  // suppressed menu allows the next one.
  bool ContextMenu();
  void WindowFocus(const FrameRef& frame);
  // True when the before-unload callback runs.
  bool BeforeUnload(const FrameRef& frame, std::string_view document);
  void Unload(const FrameRef& frame, std::string_view document);

  // The selection-action menu was shown: the context menu that follows is suppressed once.
  void SuppressNextContextMenu() { contextMenuAllowed_ = false; }
  // The user asked for the page's own menu after all.
  void AllowContextMenu() { contextMenuAllowed_ = true; }

  bool SelectStarted() const { return selectStarted_; }
  bool ContextMenuAllowed() const { return contextMenuAllowed_; }
  int LastX() const { return lastX_; }
  int LastY() const { return lastY_; }
  const std::optional<FrameRef>& UnloadingWindow() const { return unloadingWindow_; }

 private:
  // Handlers may attach or detach while an event is handled: searches run on a copy that is
  // refreshed only when the list changed.
  const std::vector<DocumentEntry>& Snapshot() const;
  bool Known(const FrameRef& frame) const;
  bool Shows(const FrameRef& frame, std::string_view document) const;

  std::vector<DocumentEntry> connections_;
  mutable std::vector<DocumentEntry> snapshot_;
  mutable bool dirty_ = true;
  std::optional<FrameRef> focused_;
  std::optional<FrameRef> pointed_;
  std::optional<FrameRef> unloadingWindow_;
  bool selectStarted_ = false;
  bool contextMenuAllowed_ = true;
  int lastX_ = 0;
  int lastY_ = 0;
};

}  // namespace zelvora
