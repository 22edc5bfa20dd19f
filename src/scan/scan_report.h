#pragma once

#include <QByteArray>
#include <QImage>
#include <QStringList>

#include "scan/scan_check.h"

// The figures of a checked cam as the user reads them: report lines, the
// marker table as CSV and the overlay picture. Numbers always take "." as the
// decimal point.
namespace korvel {

// Whether every reported marker lies within toleranceMm of the computed height.
bool withinTolerance(const ScanCheck& check, double toleranceMm);

QStringList reportLines(const ScanCheck& check, double toleranceMm);

// marker,distance_mm,deviation_mm,deviation_in,rangefinder_shows_mm
QByteArray markerCsv(const ScanCheck& check);

// The scan around the cam with the computed outline, and the deviation drawn
// as a band along the edge magnified 20 times: red where material is to be
// removed, blue where it is missing.
QImage overlayImage(const ScanImage& scan, const ScanCheck& check);

}  // namespace korvel
