#include "ui/app_folder.h"

namespace korvel {

QString appFolderFor(const QString& executableFolder, const QString& homeFolder) {
  QString folder = executableFolder.contains(QStringLiteral("\\VB")) ? homeFolder : executableFolder;
  if (!folder.endsWith('/')) folder += '/';
  return folder;
}

}  // namespace korvel
