#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>

namespace korvel {
namespace {

// Root passes every access() check, so the mode bits are looked at as well: a
// folder without any write bit counts as not writable.
bool folderWritable(const QByteArray& folder) {
  struct stat st {};
  return ::stat(folder.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
         (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 &&
         ::access(folder.constData(), W_OK) == 0;
}

// Likewise an existing file without the owner's write bit counts as read-only.
bool fileWritable(const QByteArray& file, const struct stat& st) {
  return S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) != 0 &&
         ::access(file.constData(), W_OK) == 0;
}

bool writeAll(int fd, const char* data, qsizetype size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

// Creates a new file next to the target under a name nobody uses yet. The mode
// 0666 leaves the umask to decide, as for any new file.
int createTemporary(const QByteArray& target, QByteArray& tempName) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempName =
        target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
    const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Makes the rename itself durable; a folder that cannot be synced is no error.
void syncFolder(const QByteArray& folder) {
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool writeFileAtomically(const QString& path, const QByteArray& content) {
  return writeFileAtomically(path, [&](const ChunkWriter& write) {
    return write(content.constData(), content.size());
  });
}

bool writeFileAtomically(const QString& path, const std::function<bool(const ChunkWriter&)>& produce) {
  if (path.isEmpty()) return false;
  // Through a symbolic link the file it points at is replaced, not the link.
  const QFileInfo info(path);
  const QString finalPath = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
  const QByteArray target = QFile::encodeName(finalPath);
  const QByteArray folder = QFile::encodeName(QFileInfo(finalPath).absolutePath());
  if (!folderWritable(folder)) return false;

  struct stat old {};
  const bool replacing = ::stat(target.constData(), &old) == 0;
  if (!replacing && errno != ENOENT) return false;
  if (replacing && !fileWritable(target, old)) return false;

  QByteArray tempName;
  const int fd = createTemporary(target, tempName);
  if (fd < 0) return false;
  bool ok = true;
  if (replacing) {
    // Keep owner and mode; taking over the owner only works for root and is
    // not worth failing for.
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
      [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
    }
    ok = ::fchmod(fd, old.st_mode & 07777) == 0;
  }
  ok = ok && produce([fd](const char* data, qsizetype size) { return writeAll(fd, data, size); });
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(tempName.constData(), target.constData()) == 0;
  if (!ok) {
    ::unlink(tempName.constData());
    return false;
  }
  syncFolder(folder);
  return true;
}

}  // namespace korvel
