#pragma once

#include <QString>

// The folder that holds the settings file, the bitmaps and the exports'
// default folder.
namespace korvel {

// The executable's own folder while it is writable and the program is not
// installed (a build folder, a portable copy). An installed program (its
// folder has the installed shared files beside it, whatever its write bits:
// root can write to /usr/bin) or a read-only folder uses
// `<data home>/KorvelCamDesigner`, created here, where the data home is
// xdgDataHome when that is an absolute path and `<home>/.local/share` else.
QString programFolderFor(const QString& executableFolder, const QString& xdgDataHome, const QString& homeFolder);

}  // namespace korvel
