#include "common/atomic_file.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

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
  EXPECT_EQ(dir.entries(), (QStringList{"link.ini", "new.ini", "p.ini"}));
}

// A read-only file or folder, a missing folder, a folder in the file's place,
// no name: the write fails and leaves no stray file.
TEST(AtomicFile, AWriteThatCannotBeDoneLeavesTheFolderAsItWas) {
  testing::TempFolder dir;
  dir.put("ro.ini", "keep me\r\n");
  setMode(dir.path("ro.ini"), 0444);
  ASSERT_TRUE(QDir(dir.root()).mkpath("sub/locked"));
  testing::writeFile(dir.path("sub/locked/a.ini"), "keep me");
  setMode(dir.path("sub/locked"), 0555);
  for (const char* name : {"ro.ini", "missing/a", "sub", "", "sub/locked/a.ini", "sub/locked/b"})
    EXPECT_FALSE(writeFileAtomically(*name ? dir.path(name) : QString(), "x")) << name;
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
  // Where the file system has no unnamed files, the next save removes what a
  // program that is gone left behind, and only that.
  const QString inProgress = QString("a.ini.%1.y.tmp").arg(::getpid());
  dir.put(QString("a.ini.%1.x.tmp").arg(child), "half");
  dir.put(inProgress, "being written");
  EXPECT_TRUE(writeFileAtomically(dir.path("a.ini"), "new"));
  EXPECT_EQ(dir.entries(), (QStringList{"a.ini", inProgress}));
}

}  // namespace
}  // namespace korvel
