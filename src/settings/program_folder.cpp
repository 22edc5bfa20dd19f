#include "settings/program_folder.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace korvel {

namespace {

// The installed program's marker file, relative to the folder of the
// executable; the build passes it so the install and this check agree.
constexpr const char* kInstallMarkerFromBin = KORVEL_INSTALL_MARKER_FROM_BIN;

// The folder under the user's data folder that takes the place of the
// program folder; the same whatever name the application runs under.
constexpr const char* kUserDataFolderName = "KorvelCamDesigner";

bool isInstalled(const QDir& executableFolder) {
  return QFileInfo(executableFolder.filePath(QString::fromUtf8(kInstallMarkerFromBin))).isFile();
}

// Asks the system rather than reading the mode bits, so ACLs and read-only
// mounts count.
bool isWritableFolder(const QString& folder) {
  return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

QString userDataHome(const QString& xdgDataHome, const QString& homeFolder) {
  // Relative paths in XDG variables are invalid and to be ignored.
  if (!xdgDataHome.isEmpty() && QDir::isAbsolutePath(xdgDataHome)) return xdgDataHome;
  return QDir(homeFolder).filePath(QStringLiteral(".local/share"));
}

}  // namespace

QString programFolderFor(const QString& executableFolder, const QString& xdgDataHome, const QString& homeFolder) {
  if (!isInstalled(QDir(executableFolder)) && isWritableFolder(executableFolder)) return executableFolder;
  const QString folder = QDir(userDataHome(xdgDataHome, homeFolder)).filePath(QString::fromUtf8(kUserDataFolderName));
  QDir().mkpath(folder);
  return folder;
}

}  // namespace korvel
