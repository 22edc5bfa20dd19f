#include "common/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <string_view>
#include <utility>

namespace korvel {
namespace {

// Each step below returns 0 or the errno that names why it failed.

// Root passes every access() check, so the mode bits are looked at as well; a
// file system mounted read-only says so itself.
int readOnlyCause(const QByteArray& path) {
  struct statvfs fs {};
  return ::statvfs(path.constData(), &fs) == 0 && (fs.f_flag & ST_RDONLY) != 0 ? EROFS : EACCES;
}

int accessCause(const QByteArray& path) {
  return ::access(path.constData(), W_OK) == 0 ? 0 : errno;
}

int folderCause(const QByteArray& folder) {
  struct stat st {};
  if (::stat(folder.constData(), &st) != 0) return errno;
  if (!S_ISDIR(st.st_mode)) return ENOTDIR;
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return readOnlyCause(folder);
  return accessCause(folder);
}

// An existing target must be a regular file with its owner's write bit: a
// folder, device or pipe is never replaced by a file.
int targetCause(const QByteArray& file, const struct stat& st) {
  if (S_ISDIR(st.st_mode)) return EISDIR;
  if (!S_ISREG(st.st_mode)) return EINVAL;
  if ((st.st_mode & S_IWUSR) == 0) return readOnlyCause(file);
  return accessCause(file);
}

int writeAll(int fd, const char* data, qsizetype size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return errno;
    if (written == 0) return ENOSPC;  // nothing more fits
    data += written;
    size -= written;
  }
  return 0;
}

// Temporary files carry a name that only this program gives, short enough to
// fit beside a target whose own name takes the file system's whole 255 bytes:
// ".kcd-<process id>-<random>.tmp". The process id tells a later save whether
// its writer still runs.
constexpr std::string_view kTempPrefix = ".kcd-";
constexpr std::string_view kTempSuffix = ".tmp";
constexpr int kRandomBase = 36;

QByteArray temporaryName(const QByteArray& folder) {
  return folder + '/' + kTempPrefix.data() + QByteArray::number(::getpid()) + '-' +
         QByteArray::number(QRandomGenerator::global()->generate(), kRandomBase) + kTempSuffix.data();
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
bool linkUnnamed(int fd, const QByteArray& folder, QByteArray& tempName) {
  const QByteArray procPath = "/proc/self/fd/" + QByteArray::number(fd);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    tempName = temporaryName(folder);
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
int createNamed(const QByteArray& folder, QByteArray& tempName) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    tempName = temporaryName(folder);
    const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Whether name is exactly a temporary file of this program, ".kcd-<pid>-<base
// 36>.tmp", left by a process that no longer runs.
bool isLeftover(std::string_view name) {
  if (!name.starts_with(kTempPrefix) || !name.ends_with(kTempSuffix)) return false;
  name = name.substr(kTempPrefix.size(), name.size() - kTempPrefix.size() - kTempSuffix.size());
  const std::size_t dash = name.find('-');
  if (dash == std::string_view::npos) return false;
  const std::string_view digits = name.substr(0, dash);
  const std::string_view random = name.substr(dash + 1);
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (error != std::errc() || end != digits.data() + digits.size() || pid <= 0) return false;
  std::uint32_t ignored = 0;
  const auto [randomEnd, randomError] =
      std::from_chars(random.data(), random.data() + random.size(), ignored, kRandomBase);
  if (random.empty() || randomError != std::errc() || randomEnd != random.data() + random.size() ||
      random.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") != std::string_view::npos) {
    return false;
  }
  return pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH;
}

// Removes the temporary files that a killed save into this folder left behind.
void removeLeftovers(const QByteArray& folder) {
  DIR* dir = ::opendir(folder.constData());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    if (isLeftover(entry->d_name)) ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

// Writes the whole content to fd and syncs it, taking over the old file's
// owner and mode.
int fillTemporary(int fd, const std::function<bool(const ChunkWriter&)>& produce, const struct stat* old) {
  if (old) {
    // Taking over the owner only works for root and is not worth failing for.
    if (old->st_uid != ::geteuid() || old->st_gid != ::getegid()) {
      [[maybe_unused]] const int ignored = ::fchown(fd, old->st_uid, old->st_gid);
    }
    if (::fchmod(fd, old->st_mode & 07777) != 0) return errno;
  }
  int cause = 0;
  const bool produced = produce([fd, &cause](const char* data, qsizetype size) {
    cause = writeAll(fd, data, size);
    return cause == 0;
  });
  if (cause != 0) return cause;
  if (!produced) return ECANCELED;  // the content itself was abandoned
  return ::fsync(fd) == 0 ? 0 : errno;
}

// Closes fd, keeping the first cause of failure.
int closeKeeping(int fd, int cause) {
  const int closed = ::close(fd) == 0 ? 0 : errno;
  return cause != 0 ? cause : closed;
}

// Makes the rename itself durable; a folder that cannot be synced is no error.
void syncFolder(const QByteArray& folder) {
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

FileReplacement::FileReplacement(const QString& path) : path_(path) {
  if (path.isEmpty()) {
    cause_ = ENOENT;
    return;
  }
  // Through a symbolic link the file it points at is replaced, not the link.
  const QFileInfo info(path);
  const QString finalPath = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
  target_ = QFile::encodeName(finalPath);
  folder_ = QFile::encodeName(QFileInfo(finalPath).absolutePath());
  if ((cause_ = folderCause(folder_))) return;

  replacing_ = ::stat(target_.constData(), &old_) == 0;
  if (!replacing_ && errno != ENOENT) {
    cause_ = errno;
    return;
  }
  if (replacing_ && (cause_ = targetCause(target_, old_))) return;

  removeLeftovers(folder_);
  unnamed_ = createUnnamed(folder_);
}

FileReplacement::~FileReplacement() {
  if (unnamed_ >= 0) ::close(unnamed_);
}

FileWriteResult FileReplacement::finish(const std::function<bool(const ChunkWriter&)>& produce) {
  if (cause_ == 0) cause_ = replace(produce);
  return {cause_ == 0, cause_};
}

int FileReplacement::replace(const std::function<bool(const ChunkWriter&)>& produce) {
  const QByteArray& target = target_;
  const QByteArray& folder = folder_;
  const struct stat* const keep = replacing_ ? &old_ : nullptr;
  QByteArray tempName;
  bool named = false;
  const int fd = std::exchange(unnamed_, -1);
  if (fd >= 0) {
    int cause = fillTemporary(fd, produce, keep);
    // A link that fails (no /proc, no privilege) leaves the named way below.
    named = cause == 0 && linkUnnamed(fd, folder, tempName);
    cause = closeKeeping(fd, cause);
    if (cause != 0) {
      if (named) ::unlink(tempName.constData());
      return cause;
    }
  }
  if (!named) {
    const int namedFd = createNamed(folder, tempName);
    if (namedFd < 0) return errno;
    const int cause = closeKeeping(namedFd, fillTemporary(namedFd, produce, keep));
    if (cause != 0) {
      ::unlink(tempName.constData());
      return cause;
    }
  }
  if (::rename(tempName.constData(), target.constData()) != 0) {
    const int cause = errno;
    ::unlink(tempName.constData());
    return cause;
  }
  syncFolder(folder);
  return 0;
}

FileWriteResult writeFileAtomically(const QString& path, const QByteArray& content) {
  return writeFileAtomically(path, [&](const ChunkWriter& write) {
    return write(content.constData(), content.size());
  });
}

FileWriteResult writeFileAtomically(const QString& path, const std::function<bool(const ChunkWriter&)>& produce) {
  return FileReplacement(path).finish(produce);
}

}  // namespace korvel
