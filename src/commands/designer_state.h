#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

#include "geometry/cam_profile.h"

// Values the designer holds for the whole run, besides its controls.
namespace korvel {

inline constexpr const char* kAuthorWebAddress = "www.orlan.example";

struct DesignerState {
  float ExtensionFactor = kExtensionFactorAfterCam;  // every cam starts from it, the first too
  std::int16_t PlotScale = 4;   // surface inches per inch of cam on the plot surface
  QString AppFolder;            // ends with "/": settings file and bitmaps lie here
  QString SettingsFilePath;
  double XCor = 0.0;            // current printer correction factors, reloaded
  double YCor = 0.0;            // by every drawing command
  // The date and time the sheet's title line shows.
  QDateTime (*now)() = &QDateTime::currentDateTime;
};

}  // namespace korvel
