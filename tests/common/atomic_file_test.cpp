#include "common/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>

#include "support/file_size_limit.h"

namespace korvel {
namespace {

class AtomicFileTest : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return dir.filePath(name); }

  void put(const QString& name, const QByteArray& bytes) {
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
  }

  QByteArray get(const QString& name) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
  }

  mode_t modeOf(const QString& name) const {
    struct stat st {};
    EXPECT_EQ(::stat(QFile::encodeName(path(name)).constData(), &st), 0);
    return st.st_mode & 07777;
  }

  void setMode(const QString& name, mode_t mode) const {
    ASSERT_EQ(::chmod(QFile::encodeName(path(name)).constData(), mode), 0);
  }

  QStringList entries() const {
    return QDir(dir.path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  }

  QTemporaryDir dir;
};

mode_t currentUmask() {
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

TEST_F(AtomicFileTest, CreatesNewFileWithDefaultPermissions) {
  ASSERT_TRUE(dir.isValid());
  EXPECT_TRUE(writeFileAtomically(path("new.ini"), "hello\n"));
  EXPECT_EQ(get("new.ini"), "hello\n");
  EXPECT_EQ(modeOf("new.ini"), 0666 & ~currentUmask());
  EXPECT_EQ(entries(), QStringList{"new.ini"});
}

TEST_F(AtomicFileTest, WritesEmptyContent) {
  EXPECT_TRUE(writeFileAtomically(path("empty.bin"), QByteArray()));
  EXPECT_TRUE(QFile::exists(path("empty.bin")));
  EXPECT_EQ(get("empty.bin"), QByteArray());
}

TEST_F(AtomicFileTest, ReplacesExistingFile) {
  put("a.ini", "old content that is longer than the new one\n");
  EXPECT_TRUE(writeFileAtomically(path("a.ini"), QByteArray("new\0bytes", 9)));
  EXPECT_EQ(get("a.ini"), QByteArray("new\0bytes", 9));
  EXPECT_EQ(entries(), QStringList{"a.ini"});
}

TEST_F(AtomicFileTest, KeepsPermissionsOfExistingFile) {
  for (const mode_t mode : {mode_t{0640}, mode_t{0600}, mode_t{0664}, mode_t{0200}}) {
    put("p.ini", "old");
    setMode("p.ini", mode);
    EXPECT_TRUE(writeFileAtomically(path("p.ini"), "new")) << std::oct << mode;
    EXPECT_EQ(modeOf("p.ini"), mode) << std::oct << mode;
    setMode("p.ini", 0600);
    EXPECT_EQ(get("p.ini"), "new");
    QFile::remove(path("p.ini"));
  }
}

TEST_F(AtomicFileTest, ReadOnlyFileStaysUnchanged) {
  put("ro.ini", "keep me\r\n");
  setMode("ro.ini", 0444);
  EXPECT_FALSE(writeFileAtomically(path("ro.ini"), "replaced"));
  EXPECT_EQ(get("ro.ini"), "keep me\r\n");
  EXPECT_EQ(modeOf("ro.ini"), mode_t{0444});
  EXPECT_EQ(entries(), QStringList{"ro.ini"});
}

TEST_F(AtomicFileTest, ReadOnlyFolderLeavesFileAndNoStrayFiles) {
  put("a.ini", "keep me");
  const QByteArray folder = QFile::encodeName(dir.path());
  ASSERT_EQ(::chmod(folder.constData(), 0555), 0);
  const bool written = writeFileAtomically(path("a.ini"), "replaced");
  const bool createdNew = writeFileAtomically(path("b.ini"), "new");
  ASSERT_EQ(::chmod(folder.constData(), 0700), 0);
  EXPECT_FALSE(written);
  EXPECT_FALSE(createdNew);
  EXPECT_EQ(get("a.ini"), "keep me");
  EXPECT_EQ(entries(), QStringList{"a.ini"});
}

TEST_F(AtomicFileTest, MissingFolderFails) {
  EXPECT_FALSE(writeFileAtomically(path("missing/a.ini"), "x"));
  EXPECT_FALSE(QFile::exists(path("missing")));
  EXPECT_TRUE(entries().isEmpty());
}

TEST_F(AtomicFileTest, FolderAsTargetFails) {
  ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
  EXPECT_FALSE(writeFileAtomically(path("sub"), "x"));
  EXPECT_TRUE(QFileInfo(path("sub")).isDir());
  EXPECT_EQ(entries(), QStringList{"sub"});
}

TEST_F(AtomicFileTest, EmptyPathFails) { EXPECT_FALSE(writeFileAtomically(QString(), "x")); }

TEST_F(AtomicFileTest, FailedWriteLeavesOldFile) {
  put("big.bin", "old content");
  bool written = true;
  {
    const testing::FileSizeLimit limit(4096);
    written = writeFileAtomically(path("big.bin"), QByteArray(100000, 'x'));
  }
  EXPECT_FALSE(written);
  EXPECT_EQ(get("big.bin"), "old content");
  EXPECT_EQ(entries(), QStringList{"big.bin"});
}

TEST_F(AtomicFileTest, NothingHalfWrittenOutlivesAKilledSave) {
  put("a.ini", "old");
  const pid_t child = ::fork();
  if (child == 0) {
    // Killed by SIGXFSZ in the middle of writing its content.
    std::signal(SIGXFSZ, SIG_DFL);
    const rlimit small{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &small);
    writeFileAtomically(path("a.ini"), QByteArray(100000, 'x'));
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
  EXPECT_EQ(entries(), QStringList{"a.ini"});
  EXPECT_EQ(get("a.ini"), "old");

  // Where the file system has no unnamed files, the next save removes what a
  // program that is gone left behind, and only that.
  const QString leftover = QString("a.ini.%1.x.tmp").arg(child);
  const QString inProgress = QString("a.ini.%1.y.tmp").arg(::getpid());
  put(leftover, "half");
  put(inProgress, "being written");
  EXPECT_TRUE(writeFileAtomically(path("a.ini"), "new"));
  EXPECT_EQ(entries(), (QStringList{"a.ini", inProgress}));
}

TEST_F(AtomicFileTest, ReplacesTargetOfSymbolicLink) {
  put("real.ini", "old");
  ASSERT_TRUE(QFile::link(path("real.ini"), path("link.ini")));
  EXPECT_TRUE(writeFileAtomically(path("link.ini"), "new"));
  EXPECT_TRUE(QFileInfo(path("link.ini")).isSymLink());
  EXPECT_EQ(get("real.ini"), "new");
}

}  // namespace
}  // namespace korvel
