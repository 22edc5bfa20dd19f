#pragma once

#include <QString>

namespace korvel {

// The program folder for the settings file and the bitmaps: the folder the
// program runs from, with a trailing "/".
QString appFolderFor(const QString& executableFolder);

}  // namespace korvel
