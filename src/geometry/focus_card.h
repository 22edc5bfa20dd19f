#pragma once

#include <QString>
#include <string>
#include <vector>

#include "common/atomic_file.h"

// The focus check card: for each distance marker the cam reaches, where the
// user checks focus on the ground glass against the rangefinder, with the
// lens's extension there and the cam's height the follower rides at.
namespace korvel {

struct FocusCardRow {
  int marker;          // 1 (far) to 13 (closest)
  double distanceFt;
  double distanceM;
  double travelMm;     // the lens's extension beyond infinity focus, f²/(D − f), without the cam's factor
  double travelIn;
  double camHeightMm;  // the cam's height above the base line at the marker
};

// The markers 1 to 13 that the cam of focalMm reaches before its working edge
// runs out at the working length (Draw Graph's cam).
std::vector<FocusCardRow> focusCardRows(double focalMm);

// "marker,distance_ft,distance_m,travel_mm,travel_in,cam_height_mm" and one
// line per row, numbers with "." in the shortest text that reads back the same.
std::string focusCardCsv(const std::vector<FocusCardRow>& rows);

FileWriteResult writeFocusCardCsv(const QString& path, double focalMm);

}  // namespace korvel
