#include "settings/program_folder.h"

#include <unistd.h>

#include "support/files.h"

namespace korvel {
namespace {

// Rows: name, installed, read-only, XDG_DATA_HOME (a leading "/" lies in the
// scratch folder), where the settings go (in the scratch folder).
TEST(ProgramFolder, SettingsGoWhereTheyCanBeKeptAndNeverIntoAnInstalledProgram) {
  const std::tuple<const char*, bool, bool, QString, QString> rows[] = {
      {"writable build folder", false, false, "/data", "usr/bin"},
      {"installed, though writable", true, false, "/data", "data/KorvelCamDesigner"},
      {"read-only folder", false, true, "/data", "data/KorvelCamDesigner"},
      {"no XDG_DATA_HOME", true, false, "", "home/.local/share/KorvelCamDesigner"},
      {"relative XDG_DATA_HOME", true, false, "data", "home/.local/share/KorvelCamDesigner"},
  };
  for (const auto& [name, installed, readOnly, xdg, expected] : rows) {
    const testing::TempFolder root;
    const QString exe = root.path("usr/bin");
    ASSERT_TRUE(QDir().mkpath(exe));
    if (installed) {
      const QString marker = QDir(exe).filePath(KORVEL_INSTALL_MARKER_FROM_BIN);
      ASSERT_TRUE(QDir().mkpath(QFileInfo(marker).path()));
      testing::writeFile(marker, "");
    }
    testing::setMode(exe, readOnly ? 0555 : 0755);
    if (readOnly && ::access(QFile::encodeName(exe).constData(), W_OK) == 0) continue;  // root
    const QString xdgHome = xdg.startsWith('/') ? root.root() + xdg : xdg;
    const QString folder = programFolderFor(exe, xdgHome, root.path("home"));
    testing::setMode(exe, 0755);
    EXPECT_EQ(QDir::cleanPath(folder), root.path(expected)) << name;
    EXPECT_TRUE(QFileInfo(folder).isDir()) << name << ": created on first use";
    EXPECT_TRUE(QDir(exe).isEmpty()) << name << ": program folder untouched";
  }
}

}  // namespace
}  // namespace korvel
