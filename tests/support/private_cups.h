#pragma once

#include <QString>
#include <QTemporaryDir>

// A CUPS scheduler of the tests' own: its own folders and a port on loopback,
// two queues that write every job into a file, the first one the default. The
// environment points libcups (and so Qt) at it.
namespace korvel::testing {

class PrivateCups {
 public:
  PrivateCups();
  ~PrivateCups();
  PrivateCups(const PrivateCups&) = delete;
  PrivateCups& operator=(const PrivateCups&) = delete;

  bool running() const { return pid_ > 0; }
  QString error() const { return error_; }
  // The file a queue ("kcd-a" or "kcd-b") writes its jobs into.
  QString output(const QString& queue) const;
  // Runs a CUPS command-line tool (lpadmin, lpoptions, ...) against it.
  int tool(const QString& program, const QStringList& args) const;
  // Waits, letting events through, until a job has arrived in a queue's file.
  bool jobArrives(const QString& queue) const;

 private:
  QTemporaryDir dir_;
  qint64 pid_ = 0;
  QString error_;
};

// Accepts the next print dialog, after picking queue in it when one is named.
void acceptNextPrintDialog(const QString& queue = {});

}  // namespace korvel::testing
