#include "common/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <charconv>
#include <string_view>

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

// A name nobody uses yet beside the target: "<target>.<process id>.<random>.tmp".
// The process id tells a later save whether its writer is still running.
QByteArray temporaryName(const QByteArray& target) {
  return target + '.' + QByteArray::number(::getpid()) + '.' +
         QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
}

constexpr int kNameAttempts = 100;

// The new content goes into a file without a name, which nothing can leave
// behind: a program killed while writing it leaves no trace. -1 where the file
// system has no such files.
int createUnnamed(const QByteArray& folder) {
  return ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
}

// Gives the finished unnamed file a temporary name beside the target, through
// /proc or, without it, directly (which needs privileges).
bool linkUnnamed(int fd, const QByteArray& target, QByteArray& tempName) {
  const QByteArray procPath = "/proc/self/fd/" + QByteArray::number(fd);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    tempName = temporaryName(target);
    if (::linkat(AT_FDCWD, procPath.constData(), AT_FDCWD, tempName.constData(),
                 AT_SYMLINK_FOLLOW) == 0 ||
        ::linkat(fd, "", AT_FDCWD, tempName.constData(), AT_EMPTY_PATH) == 0) {
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

// Creates a named temporary file beside the target, for file systems without
// unnamed files. The mode 0666 leaves the umask to decide, as for any new file.
int createNamed(const QByteArray& target, QByteArray& tempName) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    tempName = temporaryName(target);
    const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Whether a temporary file of the target, named "<pid>.<random>" between the
// target's name and ".tmp", was left by a program that no longer runs.
bool isLeftover(std::string_view middle) {
  const std::string_view digits = middle.substr(0, middle.find('.'));
  if (digits.size() == middle.size()) return false;
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (error != std::errc() || end != digits.data() + digits.size() || pid <= 0) return false;
  return pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH;
}

// Removes the target's temporary files that a killed program left behind.
void removeLeftovers(const QByteArray& folder, const QByteArray& target) {
  DIR* dir = ::opendir(folder.constData());
  if (!dir) return;
  const QByteArray prefix = target.mid(target.lastIndexOf('/') + 1) + '.';
  constexpr std::string_view suffix = ".tmp";
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix.constData()) ||
        !name.ends_with(suffix)) {
      continue;
    }
    if (isLeftover(name.substr(prefix.size(), name.size() - prefix.size() - suffix.size())))
      ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

// Writes the whole content to fd and syncs it, taking over the old file's
// owner and mode.
bool fillTemporary(int fd, const std::function<bool(const ChunkWriter&)>& produce, const struct stat* old) {
  bool ok = true;
  if (old) {
    // Taking over the owner only works for root and is not worth failing for.
    if (old->st_uid != ::geteuid() || old->st_gid != ::getegid()) {
      [[maybe_unused]] const int ignored = ::fchown(fd, old->st_uid, old->st_gid);
    }
    ok = ::fchmod(fd, old->st_mode & 07777) == 0;
  }
  return ok && produce([fd](const char* data, qsizetype size) { return writeAll(fd, data, size); }) &&
         ::fsync(fd) == 0;
}

// Makes the rename itself durable; a folder that cannot be synced is no error.
void syncFolder(const QByteArray& folder) {
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

FileWriteResult writeFileAtomically(const QString& path, const QByteArray& content) {
  return writeFileAtomically(path, [&](const ChunkWriter& write) {
    return write(content.constData(), content.size());
  });
}

namespace {

bool replaceAtomically(const QString& path, const std::function<bool(const ChunkWriter&)>& produce) {
  if (path.isEmpty()) {
    errno = ENOENT;
    return false;
  }
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

  removeLeftovers(folder, target);
  const struct stat* const keep = replacing ? &old : nullptr;
  QByteArray tempName;
  bool named = false;
  int fd = createUnnamed(folder);
  if (fd >= 0) {
    bool ok = fillTemporary(fd, produce, keep);
    // A link that fails (no /proc, no privilege) leaves the named way below.
    named = ok && linkUnnamed(fd, target, tempName);
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
      if (named) ::unlink(tempName.constData());
      return false;
    }
  }
  if (!named) {
    fd = createNamed(target, tempName);
    if (fd < 0) return false;
    bool ok = fillTemporary(fd, produce, keep);
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
      ::unlink(tempName.constData());
      return false;
    }
  }
  if (::rename(tempName.constData(), target.constData()) != 0) {
    ::unlink(tempName.constData());
    return false;
  }
  syncFolder(folder);
  return true;
}

}  // namespace

FileWriteResult writeFileAtomically(const QString& path, const std::function<bool(const ChunkWriter&)>& produce) {
  errno = 0;
  if (replaceAtomically(path, produce)) return {true, 0};
  return {false, errno};
}

}  // namespace korvel
