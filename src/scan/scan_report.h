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

// The marker table, the findings and the verdict, one line each.
QStringList reportLines(const ScanCheck& check, double toleranceMm);

// One marker's row: marker, distance_mm, deviation_mm, deviation_in,
// rangefinder_shows_mm ("inf", "near", or "nan" where no edge was found).
QStringList markerFields(const MarkerCheck& m);

// The largest deviation off the markers, the holes, the fit's RMS and whether
// the scan was mirrored.
QStringList findingLines(const ScanCheck& check);

// "within tolerance (0.0250 mm)", or "outside tolerance (…) at markers 7, 8".
QString verdictLine(const ScanCheck& check, double toleranceMm);

// marker,distance_mm,deviation_mm,deviation_in,rangefinder_shows_mm
QByteArray markerCsv(const ScanCheck& check);

// The scan around the cam with the computed outline, and the deviation drawn
// as a band along the edge magnified 20 times: red where material is to be
// removed, blue where it is missing.
QImage overlayImage(const ScanImage& scan, const ScanCheck& check);

}  // namespace korvel
