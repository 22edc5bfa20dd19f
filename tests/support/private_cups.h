#pragma once

#include <QString>
#include <QTemporaryDir>

// A CUPS scheduler of the tests' own: its own folder and a port on loopback,
// two queues, "kcd-a" (the default) and "kcd-b", that write every job into a
// file. The environment points libcups (and so Qt) at it.
namespace korvel::testing {

class PrivateCups {
 public:
  PrivateCups();
  ~PrivateCups();
  PrivateCups(const PrivateCups&) = delete;
  PrivateCups& operator=(const PrivateCups&) = delete;

  // The file a queue writes its jobs into.
  QString output(const QString& queue) const;
  // Waits, letting events through, until a job has arrived in a queue's file.
  bool jobArrives(const QString& queue) const;
  // Accepts the next print dialog with queue picked in it, after making queue
  // the default as some desktops' dialogs do.
  void acceptNextDialogOn(const QString& queue) const;

  QString error;  // why the scheduler is not running; empty when it is

 private:
  // Runs a CUPS command-line tool against it; its exit code.
  int tool(const QString& program, const QStringList& args) const;

  QTemporaryDir dir_;
  qint64 pid_ = 0;
};

}  // namespace korvel::testing
