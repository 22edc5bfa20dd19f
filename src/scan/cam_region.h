#pragma once

#include <QString>
#include <opencv2/core.hpp>
#include <optional>

// Where the cam lies on a scan: found on a reduced copy (a full-size label
// image of an A4 page at 1200 dpi would take half a gigabyte) as the largest
// region, clear of the border, that differs from the background; dark on a
// light lid or light on a dark one, as the image shows.
namespace korvel {

struct CamRegion {
  cv::Rect window;  // full-resolution pixels around the cam, with a margin
  double threshold; // grey level between part and background, at the scan's depth
  bool partIsDark;
};

struct CamRegionResult {
  std::optional<CamRegion> region;
  QString error;
};

// grey: CV_8U or CV_16U. minimumArea: the fewest full-resolution pixels a
// region must cover to count as a cam (dust and scratches are smaller);
// margin: pixels added around it.
CamRegionResult findCamRegion(const cv::Mat& grey, double minimumArea, int margin);

}  // namespace korvel
