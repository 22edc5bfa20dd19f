#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

// The lenses a user has measured, kept in the program folder beside the
// settings file (whose values are cut at 39 characters, too short for a
// table of rows). A damaged file is never overwritten: it is moved aside
// under a new name and the user is told.
namespace korvel {

inline constexpr char kLensStoreFileName[] = "KorvelCamDesigner-lenses.json";

struct KeptLensRow {
  double magnification;
  double travelMm;
};

struct KeptLens {
  QString name;
  std::optional<double> engravedFocalMm;
  double focalMm = 0.0;                  // measured
  std::optional<double> sigmaFocalMm;
  double infinityOffsetMm = 0.0;
  QDate measured;
  std::vector<KeptLensRow> rows;
};

struct LensStoreRead {
  std::vector<KeptLens> lenses;
  QString problem;  // for the user: the file was damaged and moved aside, or could not be
  bool canWrite = true;  // false while a damaged file could not be moved aside
};

// The kept lenses of the program folder; none when there is no file yet. A
// damaged file is renamed to `<name>.damaged-<UTC time>` (with a number when
// that name is taken).
LensStoreRead readLensStore(const QString& folder, const QDateTime& nowUtc = QDateTime::currentDateTimeUtc());

struct LensStoreWrite {
  bool written = false;
  QString message;  // for the user: why not, or that a damaged file was moved aside first
};

// Replaces the kept lenses atomically, first moving a damaged file aside.
LensStoreWrite writeLensStore(const QString& folder, const std::vector<KeptLens>& lenses,
                       const QDateTime& nowUtc = QDateTime::currentDateTimeUtc());

}  // namespace korvel
