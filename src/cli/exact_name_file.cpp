#include "cli/exact_name_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>

#include "common/write_error.h"

namespace korvel {

namespace {

// Closes the folder whatever way the write ends.
class FolderHandle {
 public:
  explicit FolderHandle(const QByteArray& folder)
      : fd_(::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC)) {}
  ~FolderHandle() {
    if (fd_ >= 0) ::close(fd_);
  }
  FolderHandle(const FolderHandle&) = delete;
  FolderHandle& operator=(const FolderHandle&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

CutFileResult failure(const QByteArray& name, int error) {
  return {false, displayName(name) + ": " + writeErrorText(error)};
}

// An existing target is replaced only where the writer would replace it: a
// regular file its owner may write.
int refusalToReplace(int folder, const QByteArray& base, struct stat& old, bool& exists) {
  exists = ::fstatat(folder, base.constData(), &old, 0) == 0;
  if (!exists) return errno == ENOENT ? 0 : errno;
  if (S_ISDIR(old.st_mode)) return EISDIR;
  if (!S_ISREG(old.st_mode)) return EINVAL;
  if ((old.st_mode & S_IWUSR) == 0 || ::faccessat(folder, base.constData(), W_OK, 0) != 0)
    return EACCES;
  return 0;
}

}  // namespace

QString displayName(const QByteArray& name) { return QFile::decodeName(name); }

CutFileResult writeUnderExactName(const QByteArray& name,
                                  const std::function<CutFileResult(const QString& path)>& write) {
  const QString decoded = QFile::decodeName(name);
  if (QFile::encodeName(decoded) == name) return write(decoded);

  const qsizetype slash = name.lastIndexOf('/');
  const QByteArray folderName = slash < 0    ? QByteArray(".")
                                : slash == 0 ? QByteArray("/")
                                             : name.left(slash);
  const QByteArray base = name.mid(slash + 1);
  const FolderHandle folder(folderName);
  if (folder.fd() < 0) return failure(name, errno);
  struct stat old {};
  bool exists = false;
  if (const int refused = refusalToReplace(folder.fd(), base, old, exists))
    return failure(name, refused);

  // The folder is reached through its handle, so its own name may be anything.
  const QByteArray standIn = ".korvel-export-" + QByteArray::number(::getpid()) + '-' +
                             QByteArray::number(QRandomGenerator::global()->generate(), 36) + '.' +
                             QFileInfo(decoded).suffix().toLatin1();
  const QString standInPath =
      QFile::decodeName("/proc/self/fd/" + QByteArray::number(folder.fd()) + '/' + standIn);
  CutFileResult result = write(standInPath);
  if (!result.written) {
    result.message.replace(standInPath, displayName(name));
    return result;
  }
  if ((exists && ::fchmodat(folder.fd(), standIn.constData(), old.st_mode & 07777, 0) != 0) ||
      ::renameat(folder.fd(), standIn.constData(), folder.fd(), base.constData()) != 0) {
    const int error = errno;
    ::unlinkat(folder.fd(), standIn.constData(), 0);
    return failure(name, error);
  }
  return result;
}

}  // namespace korvel
