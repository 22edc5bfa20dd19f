#include <QStringList>

#include "export/cut_file_formats.h"

// The profile table: one row per point of each cam as it was drawn, in the
// cam's own frame, for checking a cut cam with calipers.
namespace korvel {

namespace {

QString kindName(CamPointKind kind) {
  switch (kind) {
    case CamPointKind::LeadIn:
      return "lead-in";
    case CamPointKind::Profile:
      return "profile";
    case CamPointKind::ClampedEnd:
      return "clamped-end";
    case CamPointKind::Final:
      return "end";
  }
  return {};
}

QString shortest(double value) { return QString::number(value, 'g', 15); }

}  // namespace

QByteArray profileCsvContent(const CamDrawing& drawing) {
  QByteArray content =
      "focal_length_mm,index,distance_mm,marker,factor,kind,x_in,y_in,height_in,x_mm,height_mm\n";
  for (const KeptProfile& profile : drawing.profiles()) {
    for (const CamPoint& p : profile.points) {
      const double height = kBaseLine - p.exactY;
      const QStringList fields{
          shortest(profile.focalMm),
          shortest(p.index),
          shortest(p.distanceMm),
          p.marker ? "1" : "0",
          QString::number(p.factor, 'g', 7),  // the single-precision factor as set
          kindName(p.kind),
          fixed6(p.exactX),
          fixed6(p.exactY),
          fixed6(height),
          fixed6(p.exactX * kMmPerInch),
          fixed6(height * kMmPerInch)};
      content += fields.join(',').toUtf8() + "\n";
    }
  }
  return content;
}

}  // namespace korvel
