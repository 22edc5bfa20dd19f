#include "support/private_cups.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPrintDialog>
#include <QProcess>
#include <QThread>
#include <QTimer>

namespace korvel::testing {

namespace {

bool portAnswers(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return connected;
}

void writeFile(const QString& path, const QString& text) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(text.toUtf8());
}

}  // namespace

PrivateCups::PrivateCups() {
  const QString root = dir_.path();
  for (const char* sub : {"spool", "tmp", "cache", "state", "log", "out", "home", "bin", "bin/backend"})
    QDir(root).mkdir(sub);
  // The scheduler's own programs, plus a backend that writes each job, as it
  // came, into the file its device names.
  for (const char* sub : {"filter", "daemon", "notifier", "cgi-bin", "driver", "monitor"})
    QFile::link(QString("/usr/lib/cups/") + sub, root + "/bin/" + sub);
  writeFile(root + "/bin/backend/tofile",
            "#!/bin/sh\n"
            "if [ $# -eq 0 ]; then echo 'direct tofile \"Unknown\" \"Job to file\"'; exit 0; fi\n"
            "out=\"${DEVICE_URI#tofile:}\"\n"
            "if [ -n \"$6\" ]; then cat \"$6\" > \"$out.part\"; else cat > \"$out.part\"; fi\n"
            "mv \"$out.part\" \"$out\"\n");
  QFile::setPermissions(root + "/bin/backend/tofile", QFileDevice::Permissions(0x7755));
  // Jobs are written by the scheduler's unprivileged user.
  QFile::setPermissions(root + "/out", QFileDevice::Permissions(0x7777));
  QFile::setPermissions(root + "/tmp", QFileDevice::Permissions(0x7777));
  QFile::setPermissions(root, QFile::permissions(root) | QFileDevice::ExeOther | QFileDevice::ExeGroup);

  const int port = 20000 + static_cast<int>(getpid() % 20000);
  writeFile(root + "/cupsd.conf", QString("Listen 127.0.0.1:%1\nLogLevel warn\nWebInterface No\nBrowsing No\n"
                                          "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n"
                                          "</Location>\n<Policy default>\n  <Limit All>\n    Order allow,deny\n"
                                          "    Allow all\n  </Limit>\n</Policy>\n")
                                      .arg(port));
  writeFile(root + "/cups-files.conf",
            QString("ServerRoot %1\nRequestRoot %1/spool\nTempDir %1/tmp\nCacheDir %1/cache\n"
                    "StateDir %1/state\nServerBin %1/bin\nDataDir /usr/share/cups\n"
                    "AccessLog %1/log/access_log\nErrorLog %1/log/error_log\nPageLog %1/log/page_log\n")
                .arg(root));
  // libcups of this process, and of the tools, talk to this scheduler only and
  // keep their own settings here, not in the machine's.
  qputenv("CUPS_SERVER", QString("127.0.0.1:%1").arg(port).toUtf8());
  qputenv("CUPS_SERVERROOT", root.toUtf8());
  qputenv("HOME", (root + "/home").toUtf8());

  if (!QProcess::startDetached("/usr/sbin/cupsd", {"-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"},
                               root, &pid_)) {
    error_ = "cupsd could not be started";
    pid_ = 0;
    return;
  }
  bool listening = false;
  for (int i = 0; i < 100 && !listening; ++i) {
    listening = portAnswers(port);
    if (!listening) QThread::msleep(100);
  }
  if (!listening) {
    error_ = "cupsd is not listening on its port";
    return;
  }
  for (const char* queue : {"kcd-a", "kcd-b"})
    tool("lpadmin", {"-p", queue, "-E", "-v", "tofile:" + output(queue), "-m", "raw"});
  tool("lpadmin", {"-d", "kcd-a"});
}

PrivateCups::~PrivateCups() {
  if (pid_ > 0) {
    ::kill(static_cast<pid_t>(pid_), SIGTERM);
    for (int i = 0; i < 50 && ::kill(static_cast<pid_t>(pid_), 0) == 0; ++i) QThread::msleep(50);
  }
}

QString PrivateCups::output(const QString& queue) const { return dir_.filePath("out/" + queue + ".pdf"); }

int PrivateCups::tool(const QString& program, const QStringList& args) const {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(15000)) {
    p.kill();
    return -1;
  }
  return p.exitCode();
}

bool PrivateCups::jobArrives(const QString& queue) const {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 20000) {
    QApplication::processEvents();
    if (QFileInfo(output(queue)).size() > 0) {
      QThread::msleep(300);  // let the scheduler finish writing
      return true;
    }
    QThread::msleep(50);
  }
  return false;
}

void acceptNextPrintDialog(const QString& queue) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, queue] {
    auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    for (QComboBox* box : dialog->findChildren<QComboBox*>()) {
      const int index = queue.isEmpty() ? -1 : box->findText(queue);
      if (index >= 0) box->setCurrentIndex(index);
    }
    dialog->accept();
    poll->deleteLater();
  });
  poll->start(50);
}

}  // namespace korvel::testing
