#pragma once

#include <QString>
#include <optional>

#include "render/drawing_record.h"

// Files a laser cutter, water-jet or mill works from, and the table a
// machinist checks a cam against: the drawing as it stands on its surface,
// mirrored if it was drawn mirrored, at true size (surface inches divided by
// the plot scale), without printer correction. The part's edge is the line's
// centre: kerf and tool compensation belong to the cutter.
namespace korvel {

enum class CutFileFormat { Dxf, Svg, Pdf, ProfileCsv };

// The format a file name's extension names, if any.
std::optional<CutFileFormat> cutFileFormatOf(const QString& path);

struct CutFileResult {
  bool written = false;
  QString message;  // on failure: the file and the reason
};

// Writes the record in the format path's extension names, replacing an
// earlier file only once the new one is complete.
CutFileResult writeCutFile(const DrawingRecord& record, int scale, const QString& path);

}  // namespace korvel
