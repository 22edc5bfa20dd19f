#include "support/private_cups.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include "support/files.h"

namespace korvel::testing {

PrivateCups::PrivateCups() {
  const QString root = dir_.path();
  // The scheduler's own programs, plus a backend that writes each job, as it
  // came, into the file its device names, complete or not at all.
  QDir(root).mkpath("bin/backend");
  QDir(root).mkdir("spool");
  QFile::link("/usr/lib/cups/daemon", root + "/bin/daemon");
  writeFile(root + "/bin/backend/tofile",
            "#!/bin/sh\nout=\"${DEVICE_URI#tofile:}\"\n"
            "cat ${6:+\"$6\"} > \"$out.part\" && mv \"$out.part\" \"$out\"\n");
  QFile::setPermissions(root + "/bin/backend/tofile", QFileDevice::Permissions(0x7755));
  // The scheduler's unprivileged user runs the backend.
  QFile::setPermissions(root, QFile::permissions(root) | QFileDevice::ExeOther | QFileDevice::ExeGroup);

  const int port = 20000 + static_cast<int>(getpid() % 20000);
  writeFile(root + "/cupsd.conf", QString("Listen 127.0.0.1:%1\nLogLevel warn\nWebInterface No\nBrowsing No\n"
                                          "DefaultAuthType None\n<Policy default>\n<Limit All>\nAllow all\n"
                                          "</Limit>\n</Policy>\n").arg(port).toUtf8());
  // Spool, temporary, cache and state files in one folder, which the scheduler
  // opens to its group.
  writeFile(root + "/cups-files.conf",
            QString("ServerRoot %1\nServerBin %1/bin\nRequestRoot %1/spool\nTempDir %1/spool\nCacheDir %1/spool\n"
                    "StateDir %1/spool\nAccessLog %1/log\nErrorLog %1/log\nPageLog %1/log\n").arg(root).toUtf8());
  // libcups of this process, and of the tools, talk to this scheduler only and
  // keep their own settings here, not in the machine's.
  qputenv("CUPS_SERVER", QString("127.0.0.1:%1").arg(port).toUtf8());
  qputenv("CUPS_SERVERROOT", root.toUtf8());
  qputenv("HOME", root.toUtf8());

  if (!QProcess::startDetached("/usr/sbin/cupsd", {"-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"},
                               root, &pid_)) {
    error = "cupsd could not be started";
    return;
  }
  const auto addQueue = [&](const char* queue) {
    return tool("lpadmin", {"-p", queue, "-E", "-v", "tofile:" + output(queue), "-m", "raw"}) == 0;
  };
  int tries = 0;  // until the scheduler listens
  while (!addQueue("kcd-a") && ++tries < 100) QThread::msleep(100);
  if (tries == 100 || !addQueue("kcd-b") || tool("lpadmin", {"-d", "kcd-a"}) != 0)
    error = "the queues could not be set up";
}

PrivateCups::~PrivateCups() {
  if (pid_ <= 0) return;
  ::kill(static_cast<pid_t>(pid_), SIGTERM);
  for (int i = 0; i < 50 && ::kill(static_cast<pid_t>(pid_), 0) == 0; ++i) QThread::msleep(50);
}

QString PrivateCups::output(const QString& queue) const { return dir_.filePath("spool/" + queue + ".pdf"); }

int PrivateCups::tool(const QString& program, const QStringList& args) const {
  QProcess process;
  process.start(program, args);
  if (process.waitForFinished(15000)) return process.exitCode();
  process.terminate();
  process.waitForFinished(1000);
  return -1;
}

bool PrivateCups::jobArrives(const QString& queue) const {
  QElapsedTimer timer;
  timer.start();
  while (!QFileInfo::exists(output(queue)) && timer.elapsed() < 20000) {
    QApplication::processEvents();
    QThread::msleep(50);
  }
  return QFileInfo::exists(output(queue));
}

void PrivateCups::acceptNextDialogOn(const QString& queue) const {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [this, poll, queue] {
    auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    for (QComboBox* box : dialog->findChildren<QComboBox*>())
      if (box->findText(queue) >= 0) box->setCurrentIndex(box->findText(queue));
    EXPECT_EQ(tool("lpoptions", {"-d", queue}), 0);
    EXPECT_EQ(QPrinterInfo::defaultPrinterName(), queue);
    dialog->accept();
    poll->deleteLater();
  });
  poll->start(50);
}

}  // namespace korvel::testing
