#pragma once

#include <QString>
#include <cstdint>

#include "geometry/cam_profile.h"

// Values the designer window holds for the whole run, besides its controls.
namespace korvel {

inline constexpr const char* kAuthorWebAddress = "www.orlan.example";

struct DesignerState {
  float ExtensionFactor = kExtensionFactorAtStart;
  std::int16_t PlotScale = 4;   // surface inches per inch of cam on the plot surface
  QString AppFolder;            // ends with "/": settings file and bitmaps lie here
  QString SettingsFilePath;
  double XCor = 0.0;            // current printer correction factors, reloaded
  double YCor = 0.0;            // by every drawing command
};

// The program folder for the settings file and the bitmaps: the folder of the
// executable, with a trailing "/". A folder whose path holds "\VB" (a build
// folder of the development tools) is replaced by the user's home folder.
QString appFolderFor(const QString& executableFolder, const QString& homeFolder);

}  // namespace korvel
