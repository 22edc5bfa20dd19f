#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "settings/program_folder.h"

namespace korvel {
namespace {

enum class Layout { BuildFolder, Installed, ReadOnly };

struct FolderCase {
  const char* name;
  Layout layout;
  const char* xdgDataHome;  // one starting with "/" lies in the scratch root
  const char* expected;     // relative to the scratch root
};

TEST(ProgramFolder, SettingsGoWhereTheyCanBeKeptAndNeverIntoAnInstalledProgram) {
  const FolderCase cases[] = {
      {"writable build folder", Layout::BuildFolder, "/data", "exe"},
      {"installed layout, though writable", Layout::Installed, "/data", "data/KorvelCamDesigner"},
      {"read-only folder", Layout::ReadOnly, "/data", "data/KorvelCamDesigner"},
      {"XDG_DATA_HOME unset", Layout::Installed, "", "home/.local/share/KorvelCamDesigner"},
      {"XDG_DATA_HOME relative is ignored", Layout::Installed, "data", "home/.local/share/KorvelCamDesigner"},
  };
  for (const FolderCase& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir root;
    const QDir r(root.path());
    const QString exe = c.layout == Layout::Installed ? r.filePath("usr/bin") : r.filePath("exe");
    ASSERT_TRUE(QDir().mkpath(exe));
    if (c.layout == Layout::Installed) {
      const QString marker = QDir(exe).filePath(KORVEL_INSTALL_MARKER_FROM_BIN);
      ASSERT_TRUE(QDir().mkpath(QFileInfo(marker).path()));
      QFile file(marker);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    if (c.layout == Layout::ReadOnly) {
      ::chmod(QFile::encodeName(exe).constData(), 0555);
      if (::access(QFile::encodeName(exe).constData(), W_OK) == 0) {
        ::chmod(QFile::encodeName(exe).constData(), 0755);
        continue;  // root writes anyway: nothing to prove here
      }
    }
    const QString xdg = c.xdgDataHome[0] == '/' ? root.path() + c.xdgDataHome : QString(c.xdgDataHome);

    const QString folder = programFolderFor(exe, xdg, r.filePath("home"));

    ::chmod(QFile::encodeName(exe).constData(), 0755);
    EXPECT_EQ(QDir::cleanPath(folder), r.filePath(c.expected));
    EXPECT_TRUE(QFileInfo(folder).isDir()) << "created on first use";
    EXPECT_EQ(QDir(exe).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 0) << "program folder untouched";
  }
}

}  // namespace
}  // namespace korvel
