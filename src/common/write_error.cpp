#include "common/write_error.h"

#include <cerrno>
#include <cstring>

namespace korvel {

QString writeErrorText(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return QStringLiteral("permission denied");
    case EROFS:
      return QStringLiteral("the file system is read-only");
    case ENOENT:
    case ENOTDIR:
      return QStringLiteral("no such folder");
    case ENAMETOOLONG:
      return QStringLiteral("the name is too long");
    case EISDIR:
      return QStringLiteral("not a regular file");
    case ENOSPC:
    case EDQUOT:
      return QStringLiteral("the disk is full");
    case 0:
      return QStringLiteral("writing failed");
    default:
      return QString::fromLocal8Bit(std::strerror(error));
  }
}

}  // namespace korvel
