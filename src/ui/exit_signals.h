#pragma once

#include <QObject>
#include <functional>

// SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C in the terminal, a closed
// terminal) end the program as Exit does, so its settings are saved. The
// handlers only write a byte into a pipe; the exit itself runs in the event
// loop, which reads that pipe.
namespace korvel {

// Installs the handlers for as long as owner lives; exit runs once per signal.
void runOnExitSignals(QObject& owner, std::function<void()> exit);

}  // namespace korvel
