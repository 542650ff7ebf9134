#pragma once

// The local socket between a second start and the running instance: the running instance
// listens; a second start sends its switches, one message each, waiting for each to be applied.

#include <QObject>
#include <functional>
#include <string>

#include "core/shell/CommandLine.h"

class QLocalServer;

namespace zelvora {

class InstanceServer : public QObject {
  Q_OBJECT

 public:
  // Called for every message, in order, before it is acknowledged.
  using Handler = std::function<void(std::uint32_t code, const std::string& value)>;

  InstanceServer(const std::string& socketPath, Handler handler, QObject* parent = nullptr);
  bool IsListening() const;

 private:
  void Accept();

  QLocalServer* server_;
  Handler handler_;
};

// How long a second start waits for the running instance to listen and to answer each message:
// an instance that is still starting answers once its window is up.
inline constexpr int kHandOverPatienceMs = 15000;

// Sends the activation request and every non-empty switch to the running instance, emptying the
// slots it sent. False when the running instance did not answer in time.
bool HandOverToRunningInstance(const std::string& socketPath, bool bringToFront,
                               CommandLine& commandLine, int patienceMs = kHandOverPatienceMs);

}  // namespace zelvora
