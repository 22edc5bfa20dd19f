#pragma once

#include <QString>
#include <string>
#include <vector>

// The command line's lens measurement: rows of magnification and travel from
// a CSV file in, the focal length, the infinity stop's error, their standard
// errors, the residuals and the edge shift out, as text or as one JSON object.
namespace korvel {

inline constexpr int kFitLensBadInput = 2;  // bad rows or a file that cannot be read

struct FitLensReport {
  std::string standardOutput;
  std::vector<std::string> standardError;  // lines, warnings also with JSON
  int exitStatus = 0;
};

FitLensReport fitLensFromCsv(const QString& csvPath, bool json);

}  // namespace korvel
