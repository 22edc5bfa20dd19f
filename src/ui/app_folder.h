#pragma once

#include <QString>

namespace korvel {

// The program folder for the settings file and the bitmaps: the folder of the
// executable, with a trailing "/". A folder whose path holds "\VB" (a build
// folder of the development tools) is replaced by the user's home folder.
QString appFolderFor(const QString& executableFolder, const QString& homeFolder);

}  // namespace korvel
