#pragma once

#include <optional>
#include <string>
#include <vector>

// A lens's true focal length from measurements made on the camera. With the
// lens standard at its infinity stop the user focuses on an object of known
// size and measures the magnification m on the ground glass and the travel t
// of the standard from the stop. Newton's lens equation, which holds for thick
// lenses wherever their principal planes lie, gives
//     t = f·m − δ
// where δ is the stop's error: positive when the stop holds the lens δ mm
// forward of true infinity focus.
namespace korvel {

// Beyond this a ground glass cannot show the object whole.
inline constexpr double kLargestMagnification = 10.0;
// A stop further off than this focuses every near distance visibly wrong.
inline constexpr double kInfinityStopToleranceMm = 0.1;
// A row is marked when its residual against the fit without it exceeds this
// many of that fit's standard errors.
inline constexpr double kOutlierSigmas = 3.0;
// Calipers read no finer: a smaller residual is never marked, also when
// the other rows lie exactly on their line.
inline constexpr double kSmallestMarkedResidualMm = 0.001;
// Leave-one-out fits need this many rows left for a standard error.
inline constexpr std::size_t kRowsForOutliers = 4;
inline constexpr std::size_t kRowsForSigma = 3;

struct LensRow {
  double magnification;  // image size over object size
  double travelMm;       // of the lens standard from its infinity stop
};

struct LensFit {
  double focalMm = 0.0;
  double infinityOffsetMm = 0.0;         // δ
  std::optional<double> sigmaFocalMm;    // from three rows on
  std::optional<double> sigmaOffsetMm;   // from three rows on
  std::vector<double> residualsMm;       // t − (f·m − δ), one per row
  std::vector<bool> outliers;            // one per row, all false below four rows
  // How far ±σ_f moves the working edge of the cam Draw Graph draws, in mm;
  // from three rows on.
  std::optional<double> edgeShiftMm;
};

// A fit, or the message that names what is wrong ("row 3: ..."); data row 1
// is the first row.
struct LensFitResult {
  std::optional<LensFit> fit;
  std::string error;
};

// One row: f = t / m with δ = 0. Two or more: least squares, with standard
// errors from the residuals from three rows on.
LensFitResult fitLens(const std::vector<LensRow>& rows);

// The largest difference in x, in mm, between the points of the same row of
// the cam profiles for focalMm and focalMm + deltaMm, as Draw Graph computes
// them, over the profile rows both reach.
double edgeShiftMm(double focalMm, double deltaMm);

// What to tell the user about a fit: the rows to measure again, then the
// infinity stop when it is off.
std::vector<std::string> lensFitWarnings(const LensFit& fit);

// What to tell the user when the infinity stop is off by more than the
// tolerance; nullopt when it sits right.
std::optional<std::string> infinityStopWarning(double infinityOffsetMm);

}  // namespace korvel
