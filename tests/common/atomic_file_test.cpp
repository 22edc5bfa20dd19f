#include "common/atomic_file.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "common/write_error.h"
#include "support/files.h"

namespace korvel {
namespace {

using testing::modeOf, testing::setMode;

// A new file takes the umask; a replaced one keeps its mode, and a link keeps
// pointing at the file it names.
TEST(AtomicFile, ReplacesTheContentOnly) {
  testing::TempFolder dir;
  const mode_t mask = ::umask(022);
  ::umask(mask);
  EXPECT_TRUE(writeFileAtomically(dir.path("new.ini"), QByteArray()));
  EXPECT_EQ(modeOf(dir.path("new.ini")), 0666 & ~mask);
  dir.put("p.ini", "old content, longer than the new one");
  setMode(dir.path("p.ini"), 0640);
  ASSERT_TRUE(QFile::link(dir.path("p.ini"), dir.path("link.ini")));
  EXPECT_TRUE(writeFileAtomically(dir.path("link.ini"), QByteArray("new\0bytes", 9)));
  EXPECT_EQ(modeOf(dir.path("p.ini")), 0640u);
  EXPECT_TRUE(QFileInfo(dir.path("link.ini")).isSymLink());
  EXPECT_EQ(dir.get("p.ini"), QByteArray("new\0bytes", 9));
  // A name that takes the file system's whole 255 bytes leaves no room for a
  // longer temporary one.
  const QString longest(255, 'n');
  EXPECT_TRUE(writeFileAtomically(dir.path(longest), "x"));
  EXPECT_EQ(dir.entries(), (QStringList{"link.ini", "new.ini", longest, "p.ini"}));
}

// A read-only file or folder, a missing folder, a name beyond 255 bytes, a
// folder in the file's place, a write cut off midway: the write fails, names
// its cause, and leaves no stray file.
TEST(AtomicFile, AWriteThatCannotBeDoneNamesItsCauseAndLeavesTheFolderAsItWas) {
  testing::TempFolder dir;
  dir.put("ro.ini", "keep me\r\n");
  setMode(dir.path("ro.ini"), 0444);
  ASSERT_TRUE(QDir(dir.root()).mkpath("sub/locked"));
  testing::writeFile(dir.path("sub/locked/a.ini"), "keep me");
  setMode(dir.path("sub/locked"), 0555);
  struct Row {
    const char* name;
    QString path;
    const char* cause;
    qsizetype bytes = 1;
  };
  const Row rows[] = {
      {"read-only file", dir.path("ro.ini"), "permission denied"},
      {"read-only folder", dir.path("sub/locked/b"), "permission denied"},
      {"read-only folder, file there", dir.path("sub/locked/a.ini"), "permission denied"},
      {"missing folder", dir.path("missing/a"), "no such folder"},
      {"no name", QString(), "no such folder"},
      {"name of 256 bytes", dir.path(QString(256, 'n')), "name too long"},
      {"a folder in its place", dir.path("sub"), "not a regular file"},
      // A size limit fails the write as a full disk would, but it is no full disk.
      {"beyond the size limit", dir.path("big.ini"), "File too large", 100000},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const testing::FileSizeLimit limit(4096);
    const FileWriteResult result = writeFileAtomically(row.path, QByteArray(row.bytes, 'x'));
    EXPECT_FALSE(result);
    EXPECT_EQ(writeErrorText(result.error), row.cause);
  }
  setMode(dir.path("sub/locked"), 0700);
  EXPECT_EQ(dir.get("ro.ini"), "keep me\r\n");
  EXPECT_EQ(dir.entries(), (QStringList{"ro.ini", "sub"}));
}

TEST(AtomicFile, AKilledSaveLeavesTheOldFileAndNothingElse) {
  testing::TempFolder dir;
  dir.put("a.ini", "old");
  const pid_t child = ::fork();
  if (child == 0) {
    // Killed by SIGXFSZ in the middle of writing its content.
    std::signal(SIGXFSZ, SIG_DFL);
    const rlimit small{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &small);
    writeFileAtomically(dir.path("a.ini"), QByteArray(100000, 'x'));
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
  EXPECT_EQ(dir.entries(), QStringList{"a.ini"});
  EXPECT_EQ(dir.get("a.ini"), "old");
  // Where the file system has no unnamed files, the next save into the folder
  // removes what a program that is gone left behind, and only that: a file of a
  // save still running and a user's files that look alike stay.
  const QString inProgress = QString(".kcd-%1-y.tmp").arg(::getpid());
  const QStringList users{QString("a.ini.%1.x.tmp").arg(child), QString(".kcd-%1-x.tmp~").arg(child),
                          "s.csv.2023.backup.tmp"};
  dir.put(QString(".kcd-%1-x.tmp").arg(child), "half");
  for (const QString& name : users + QStringList{inProgress}) dir.put(name, "keep");
  EXPECT_TRUE(writeFileAtomically(dir.path("a.ini"), "new"));
  QStringList kept = users + QStringList{inProgress, "a.ini"};
  QStringList found = dir.entries();
  kept.sort();
  found.sort();
  EXPECT_EQ(found, kept);
}

}  // namespace
}  // namespace korvel
