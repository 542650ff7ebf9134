#pragma once

#include <QObject>

class QSocketNotifier;

namespace zelvora {

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the user-interface thread, so that a
// logout or a shutdown runs the same closing sequence as a user's close.
class TerminationSignals : public QObject {
  Q_OBJECT

 public:
  explicit TerminationSignals(QObject* parent = nullptr);
  ~TerminationSignals() override;

 signals:
  void Received(int signalNumber);

 private:
  void Drain();

  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace zelvora
