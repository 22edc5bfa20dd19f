#include "scan/cam_region.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>

namespace korvel {

namespace {

// The reduced copy's longer side, in pixels: a cam on an A4 page still
// covers thousands of them.
constexpr int kReducedSide = 1600;
// A second region this large beside the largest makes the choice a guess.
constexpr double kSecondCandidateShare = 2.0 / 3.0;
// A part stands out from the lid by this many times the grey noise within
// each side; a bare lid split at its mean reaches about 2.7.
constexpr double kLeastSeparation = 8.0;

// How clearly the threshold splits the grey levels into two.
double separation(const cv::Mat& grey, const cv::Mat& bright) {
  cv::Scalar brightMean, brightSpread, darkMean, darkSpread;
  cv::meanStdDev(grey, brightMean, brightSpread, bright);
  cv::meanStdDev(grey, darkMean, darkSpread, ~bright);
  const double noise = std::hypot(brightSpread[0], darkSpread[0]) / std::sqrt(2.0);
  return (brightMean[0] - darkMean[0]) / std::max(noise, 1e-9);
}

bool touchesBorder(const cv::Rect& box, const cv::Size& size) {
  return box.x <= 0 || box.y <= 0 || box.x + box.width >= size.width || box.y + box.height >= size.height;
}

}  // namespace

CamRegionResult findCamRegion(const cv::Mat& grey, double minimumArea, int margin) {
  const int step = std::max(1, static_cast<int>(std::ceil(double(std::max(grey.rows, grey.cols)) / kReducedSide)));
  const double toEight = grey.depth() == CV_16U ? 1.0 / 257.0 : 1.0;
  // Whole blocks of step x step pixels, which OpenCV averages on its fast path;
  // the few rows and columns left over at the far edges are not needed.
  const cv::Size reducedSize(grey.cols / step, grey.rows / step);
  if (reducedSize.width < 3 || reducedSize.height < 3) return {std::nullopt, "the image is too small to hold a cam"};
  cv::Mat reduced;
  cv::resize(grey(cv::Rect(0, 0, reducedSize.width * step, reducedSize.height * step)), reduced, reducedSize, 0, 0,
             cv::INTER_AREA);
  reduced.convertTo(reduced, CV_8U, toEight);

  cv::Mat mask;
  const double threshold = cv::threshold(reduced, mask, 0, 255, cv::THRESH_BINARY | cv::THRESH_OTSU);
  if (separation(reduced, mask) < kLeastSeparation) return {std::nullopt, "no cam found on the scan"};
  // The background is the class most border pixels fall into.
  const cv::Rect inner(1, 1, mask.cols - 2, mask.rows - 2);
  const double borderBright = cv::sum(mask)[0] - cv::sum(mask(inner))[0];
  const double borderPixels = 2.0 * (mask.rows + mask.cols) - 4.0;
  const bool partIsDark = borderBright > 0.5 * 255.0 * borderPixels;
  if (partIsDark) cv::bitwise_not(mask, mask);

  cv::Mat labels, stats, centroids;
  const int count = cv::connectedComponentsWithStats(mask, labels, stats, centroids, 8, CV_32S);
  const double reducedMinimum = minimumArea / (double(step) * step);
  int best = -1;
  int second = -1;
  bool cutOff = false;
  for (int i = 1; i < count; ++i) {
    const cv::Rect box(stats.at<int>(i, cv::CC_STAT_LEFT), stats.at<int>(i, cv::CC_STAT_TOP),
                       stats.at<int>(i, cv::CC_STAT_WIDTH), stats.at<int>(i, cv::CC_STAT_HEIGHT));
    const int area = stats.at<int>(i, cv::CC_STAT_AREA);
    if (touchesBorder(box, mask.size())) {
      cutOff = cutOff || area >= reducedMinimum;
      continue;
    }
    if (best < 0 || area > stats.at<int>(best, cv::CC_STAT_AREA)) {
      second = best;
      best = i;
    } else if (second < 0 || area > stats.at<int>(second, cv::CC_STAT_AREA)) {
      second = i;
    }
  }
  if (best < 0 || stats.at<int>(best, cv::CC_STAT_AREA) < reducedMinimum) {
    return {std::nullopt, cutOff ? "the cam touches the border of the scan; scan it clear of the edges"
                                 : "no cam found on the scan"};
  }
  if (second >= 0 && stats.at<int>(second, cv::CC_STAT_AREA) > kSecondCandidateShare * stats.at<int>(best, cv::CC_STAT_AREA)) {
    return {std::nullopt, "more than one cam-sized part on the scan; scan one cam at a time"};
  }
  cv::Rect window(stats.at<int>(best, cv::CC_STAT_LEFT) * step - margin - step,
                  stats.at<int>(best, cv::CC_STAT_TOP) * step - margin - step,
                  stats.at<int>(best, cv::CC_STAT_WIDTH) * step + 2 * (margin + step),
                  stats.at<int>(best, cv::CC_STAT_HEIGHT) * step + 2 * (margin + step));
  window &= cv::Rect(0, 0, grey.cols, grey.rows);
  return {CamRegion{window, (threshold + 0.5) / toEight, partIsDark}, {}};
}

}  // namespace korvel
