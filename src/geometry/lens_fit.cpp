#include "geometry/lens_fit.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>

#include "common/number_text.h"
#include "common/units.h"
#include "geometry/cam_profile.h"
#include "geometry/cuttable_range.h"

namespace korvel {
namespace {

std::string numberText(double value) { return generalNumberText(value).value_or("?"); }

std::string rowError(std::size_t index, const std::string& what) {
  return "row " + std::to_string(index + 1) + ": " + what;
}

// The least-squares line t = f·m − δ through the rows, leaving out the row
// at skip (none when skip is past the end).
struct Line {
  double focalMm = 0.0;
  double offsetMm = 0.0;
  std::optional<double> sigma;         // of one row's travel
  std::optional<double> sigmaFocalMm;
  std::optional<double> sigmaOffsetMm;
};

Line fitLine(const std::vector<LensRow>& rows, std::size_t skip) {
  const Eigen::Index n = static_cast<Eigen::Index>(rows.size() - (skip < rows.size() ? 1 : 0));
  Eigen::MatrixX2d a(n, 2);
  Eigen::VectorXd t(n);
  Eigen::Index at = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i == skip) continue;
    a(at, 0) = rows[i].magnification;
    a(at, 1) = -1.0;
    t(at) = rows[i].travelMm;
    ++at;
  }
  const Eigen::Vector2d solution = a.colPivHouseholderQr().solve(t);
  Line line{solution(0), solution(1), {}, {}, {}};
  if (static_cast<std::size_t>(n) >= kRowsForSigma) {
    const double sigma2 = (t - a * solution).squaredNorm() / static_cast<double>(n - 2);
    const Eigen::Matrix2d covariance = sigma2 * (a.transpose() * a).inverse();
    line.sigma = std::sqrt(sigma2);
    line.sigmaFocalMm = std::sqrt(covariance(0, 0));
    line.sigmaOffsetMm = std::sqrt(covariance(1, 1));
  }
  return line;
}

double residual(const LensRow& row, double focalMm, double offsetMm) {
  return row.travelMm - (focalMm * row.magnification - offsetMm);
}

std::optional<std::string> rowProblem(const std::vector<LensRow>& rows) {
  if (rows.empty()) return "no rows: measure at least one magnification and travel";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const double m = rows[i].magnification;
    const double t = rows[i].travelMm;
    if (!std::isfinite(m)) return rowError(i, "the magnification is not a number");
    if (!std::isfinite(t)) return rowError(i, "the travel is not a number");
    if (m <= 0.0) return rowError(i, "the magnification " + numberText(m) + " is not above 0");
    if (m > kLargestMagnification)
      return rowError(i, "the magnification " + numberText(m) + " is above " + numberText(kLargestMagnification));
    if (t <= 0.0) return rowError(i, "the travel " + numberText(t) + " mm is not above 0");
  }
  const bool oneMagnification = std::all_of(rows.begin(), rows.end(), [&](const LensRow& row) {
    return row.magnification == rows.front().magnification;
  });
  if (rows.size() > 1 && oneMagnification)
    return "all rows have the magnification " + numberText(rows.front().magnification) +
           ": no line passes through them; measure at other distances";
  return std::nullopt;
}

}  // namespace

double edgeShiftMm(double focalMm, double deltaMm) {
  const CamProfile a = ComputeCamProfile(focalMm, kExtensionFactorAfterCam, LeadInStyle::Unshifted);
  const CamProfile b = ComputeCamProfile(focalMm + deltaMm, kExtensionFactorAfterCam, LeadInStyle::Unshifted);
  double largest = 0.0;
  const std::size_t both = std::min(a.points.size(), b.points.size());
  for (std::size_t i = 0; i < both; ++i) {
    const CamPoint& p = a.points[i];
    const CamPoint& q = b.points[i];
    if (p.kind != CamPointKind::Profile || q.kind != CamPointKind::Profile) continue;
    largest = std::max(largest, std::abs(p.exactX - q.exactX) * kMmPerInch);
  }
  return largest;
}

LensFitResult fitLens(const std::vector<LensRow>& rows) {
  if (const auto problem = rowProblem(rows)) return {std::nullopt, *problem};
  LensFit fit;
  if (rows.size() == 1) {
    fit.focalMm = rows.front().travelMm / rows.front().magnification;
  } else {
    const Line line = fitLine(rows, rows.size());
    fit.focalMm = line.focalMm;
    fit.infinityOffsetMm = line.offsetMm;
    fit.sigmaFocalMm = line.sigmaFocalMm;
    fit.sigmaOffsetMm = line.sigmaOffsetMm;
  }
  if (!(fit.focalMm > 0.0) || !isCuttableFocalLength(fit.focalMm))
    return {std::nullopt, "the rows give a focal length of " + numberText(fit.focalMm) +
                              " mm; a cam can be cut for " + cuttableRangeText() + ": check the rows"};
  for (const LensRow& row : rows) fit.residualsMm.push_back(residual(row, fit.focalMm, fit.infinityOffsetMm));
  fit.outliers.assign(rows.size(), false);
  if (rows.size() >= kRowsForOutliers) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
      // The others may all share one magnification: no line to judge the row by.
      const double first = rows[i == 0 ? 1 : 0].magnification;
      bool others = false;
      for (std::size_t j = 0; j < rows.size(); ++j) others |= j != i && rows[j].magnification != first;
      if (!others) continue;
      const Line without = fitLine(rows, i);
      const double off = std::abs(residual(rows[i], without.focalMm, without.offsetMm));
      fit.outliers[i] = off > kSmallestMarkedResidualMm && off > kOutlierSigmas * *without.sigma;
    }
  }
  if (fit.sigmaFocalMm) fit.edgeShiftMm = edgeShiftMm(fit.focalMm, *fit.sigmaFocalMm);
  return {fit, {}};
}

std::vector<std::string> lensFitWarnings(const LensFit& fit) {
  std::vector<std::string> warnings;
  for (std::size_t i = 0; i < fit.outliers.size(); ++i)
    if (fit.outliers[i])
      warnings.push_back(rowError(i, "more than three standard errors off the line through the other rows; "
                                     "measure it again"));
  if (const auto stop = infinityStopWarning(fit.infinityOffsetMm)) warnings.push_back(*stop);
  return warnings;
}

std::optional<std::string> infinityStopWarning(double infinityOffsetMm) {
  if (std::abs(infinityOffsetMm) <= kInfinityStopToleranceMm) return std::nullopt;
  const std::string by = roundedNumberText(std::abs(infinityOffsetMm), NumberPattern::TwoDecimals).value_or("?");
  return "the infinity stop holds the lens " + by + " mm " + (infinityOffsetMm > 0 ? "forward of" : "behind") +
         " infinity focus: the cam assumes the stop sits at infinity focus, so set the stop right before the "
         "cam is made";
}

}  // namespace korvel
