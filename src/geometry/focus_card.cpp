#include "geometry/focus_card.h"

#include <charconv>
#include <cmath>

#include "common/units.h"
#include "geometry/cam_profile.h"
#include "geometry/distance_marker_table.h"

namespace korvel {

namespace {

// The shortest text that reads back as the same double, whatever the locale.
std::string exactText(double value) {
  char text[32];
  const auto written = std::to_chars(text, text + sizeof text, value);
  return std::string(text, written.ptr);
}

}  // namespace

std::vector<FocusCardRow> focusCardRows(double focalMm) {
  std::vector<FocusCardRow> rows;
  const CamProfile profile = ComputeCamProfile(focalMm, kExtensionFactorAfterCam, LeadInStyle::Unshifted);
  for (const CamPoint& p : profile.points) {
    if (p.kind != CamPointKind::Profile || !p.marker) continue;
    const DistanceRow& row = DistanceMarkerTable[static_cast<std::size_t>(p.index * 2.0f)];
    // Every marker stands at a whole number of inches: its feet come out exact.
    const double inches = std::round(row.distanceMm / kMmPerInch);
    rows.push_back({static_cast<int>(p.index), inches / kInchesPerFoot,
                    row.distanceMm / 1000.0, focalMm * focalMm / (row.distanceMm - focalMm),
                    lensExtension(focalMm, row.distanceMm), row.heightIn * kMmPerInch});
  }
  return rows;
}

std::string focusCardCsv(const std::vector<FocusCardRow>& rows) {
  std::string csv = "marker,distance_ft,distance_m,travel_mm,travel_in,cam_height_mm\n";
  for (const FocusCardRow& r : rows)
    csv += std::to_string(r.marker) + ',' + exactText(r.distanceFt) + ',' + exactText(r.distanceM) + ',' +
           exactText(r.travelMm) + ',' + exactText(r.travelIn) + ',' + exactText(r.camHeightMm) + '\n';
  return csv;
}

FileWriteResult writeFocusCardCsv(const QString& path, double focalMm) {
  return writeFileAtomically(path, QByteArray::fromStdString(focusCardCsv(focusCardRows(focalMm))));
}

}  // namespace korvel
