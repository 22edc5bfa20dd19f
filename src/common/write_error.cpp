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
      return QStringLiteral("read-only file system");
    case ENOENT:
    case ENOTDIR:
      return QStringLiteral("no such folder");
    case ENAMETOOLONG:
      return QStringLiteral("name too long");
    case EISDIR:
    case EINVAL:  // a device, pipe or socket in the file's place
      return QStringLiteral("not a regular file");
    case ENOSPC:
    case EDQUOT:
      return QStringLiteral("disk full");
    case 0:
      return QStringLiteral("writing failed");
    default:
      return QString::fromLocal8Bit(std::strerror(error));
  }
}

}  // namespace korvel
