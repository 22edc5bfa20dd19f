#include "ui/app_folder.h"

namespace korvel {

QString appFolderFor(const QString& executableFolder) {
  QString folder = executableFolder;
  if (!folder.endsWith('/')) folder += '/';
  return folder;
}

}  // namespace korvel
