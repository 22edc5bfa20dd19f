#include "ui/exit_signals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace korvel {

namespace {

int signalPipe[2] = {-1, -1};  // written by the handler, read by the event loop

void onExitSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
  errno = saved;
}

}  // namespace

void runOnExitSignals(QObject& owner, std::function<void()> exit) {
  if (signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
  ::fcntl(signalPipe[0], F_SETFL, O_NONBLOCK);  // a storm of signals never blocks the handler
  auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, &owner);
  QObject::connect(notifier, &QSocketNotifier::activated, &owner, [exit = std::move(exit)] {
    char byte = 0;
    if (::read(signalPipe[1], &byte, 1) == 1) exit();
  });
  struct sigaction action = {};
  action.sa_handler = onExitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

}  // namespace korvel
