// Any bytes as a scanned cam: read with a resolution given, then searched for
// the cam; a message or a region comes out, never a crash or a region outside
// the image.
#include <QBuffer>
#include <cstdint>
#include <cstdlib>

#include "scan/cam_region.h"
#include "scan/scan_image.h"

using namespace korvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QBuffer device(&bytes);
  device.open(QIODevice::ReadOnly);
  const ScanReadResult read = readScan(device, "fuzz", 300.0);
  if (!read.scan) return 0;
  const cv::Mat& grey = read.scan->grey;
  const CamRegionResult found = findCamRegion(grey, 4.0, 2);
  if (found.region && (found.region->window & cv::Rect(0, 0, grey.cols, grey.rows)) != found.region->window) std::abort();
  return 0;
}
