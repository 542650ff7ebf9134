#include "gui/shell/TerminationSignals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace zelvora {

namespace {

// The handler may only do async-signal-safe work: it writes the signal number into a socket
// that the event loop watches.
int gSignalFds[2] = {-1, -1};

void OnSignal(int signalNumber) {
  const int savedErrno = errno;
  const unsigned char byte = static_cast<unsigned char>(signalNumber);
  [[maybe_unused]] const ssize_t written = ::write(gSignalFds[0], &byte, 1);
  errno = savedErrno;
}

constexpr int kHandledSignals[] = {SIGTERM, SIGINT, SIGHUP};

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, gSignalFds) != 0) {
    qWarning("Zelvora: termination signals cannot be watched");
    return;
  }
  notifier_ = new QSocketNotifier(gSignalFds[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::Drain);

  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signalNumber : kHandledSignals)
    sigaction(signalNumber, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
  for (const int signalNumber : kHandledSignals)
    std::signal(signalNumber, SIG_DFL);
  for (int& fd : gSignalFds) {
    if (fd >= 0)
      ::close(fd);
    fd = -1;
  }
}

void TerminationSignals::Drain() {
  unsigned char byte = 0;
  while (::read(gSignalFds[1], &byte, 1) == 1)
    emit Received(byte);
}

}  // namespace zelvora
