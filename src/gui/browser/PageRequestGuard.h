#pragma once

// Every request a page makes passes here first and is blocked or sent as the page's
// download-control flags and the program's offline state decide (DecideRequest).

#include <QWebEngineUrlRequestInterceptor>
#include <atomic>
#include <cstdint>

namespace zelvora {

class TPageRequestGuard : public QWebEngineUrlRequestInterceptor {
  Q_OBJECT

 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

  // The page's download-control flags.
  void SetFlags(std::uint32_t flags) { flags_.store(flags); }
  // The program's offline state, shared by every page.
  static void SetOffline(bool offline) { offline_.store(offline); }
  static bool Offline() { return offline_.load(); }

  void interceptRequest(QWebEngineUrlRequestInfo& info) override;

 private:
  std::atomic<std::uint32_t> flags_{0};
  static std::atomic<bool> offline_;
};

}  // namespace zelvora
