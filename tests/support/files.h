#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>

// Files on disk for the tests: a scratch folder that goes away with the test,
// whole-file reading and writing, and a full disk.
namespace korvel::testing {

// The file's bytes, or "<unreadable>" when it cannot be read.
inline QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

inline mode_t modeOf(const QString& path) {
  struct stat st {};
  EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
  return st.st_mode & 07777;
}

inline void setMode(const QString& path, mode_t mode) {
  ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

class TempFolder {
 public:
  QString path(const QString& name) const { return dir_.filePath(name); }
  // The path as the standard library takes it.
  std::string local(const QString& name) const {
    return QFile::encodeName(path(name)).toStdString();
  }
  QString root() const { return dir_.path(); }
  void put(const QString& name, const QByteArray& bytes) const { writeFile(path(name), bytes); }
  QByteArray get(const QString& name) const { return readFile(path(name)); }
  // Every entry, hidden ones too, by name.
  QStringList entries() const {
    const auto all = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
    return QDir(dir_.path()).entryList(all, QDir::Name);
  }

 private:
  QTemporaryDir dir_;
};

// Caps the size of files this process writes while it lives, so that a write
// beyond the cap fails with EFBIG (SIGXFSZ is ignored meanwhile) as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) : oldHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    rlimit capped = old_;
    capped.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &capped);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  void (*oldHandler_)(int);
  rlimit old_{};
};

}  // namespace korvel::testing
