#include "export/part_files.h"

#include <algorithm>

namespace korvel {

PartPoint partsExtent(const std::vector<PlacedPart>& parts) {
  PartPoint extent{0.0, 0.0};
  for (const PlacedPart& placed : parts) {
    extent.x = std::max(extent.x, placed.at.x + placed.part.widthMm);
    extent.y = std::max(extent.y, placed.at.y + placed.part.heightMm);
  }
  return extent;
}

}  // namespace korvel
