// Any text as a lens's measured rows: whatever reads as rows and fits gives
// finite figures and a residual for every row.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "geometry/lens_fit.h"
#include "geometry/lens_rows_csv.h"

using namespace korvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const LensRowsRead read = readLensRowsCsv(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!read.error.empty()) return 0;
  const LensFitResult result = fitLens(read.rows);
  if (!result.fit) return 0;
  const LensFit& fit = *result.fit;
  if (!std::isfinite(fit.focalMm) || !std::isfinite(fit.infinityOffsetMm) ||
      fit.residualsMm.size() != read.rows.size())
    std::abort();
  return 0;
}
