// Checking a cut cam from its scan: an A4 page at 1200 dpi with one cam on it
// beside the floor of decoding that PNG alone, and a 600 dpi scan of the cam
// alone.
#include <benchmark/benchmark.h>

#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>

#include "scan/cam_shape.h"
#include "scan/check_scan_job.h"
#include "scan/scan_image.h"

namespace {

using namespace korvel;

constexpr double kFocalMm = 150.0;

// A dark cam, turned a little, on a light lid, as an 8-bit grey PNG.
QString scanFile(const QTemporaryDir& folder, const QString& name, QSize pixels, double dpi) {
  QImage page(pixels, QImage::Format_Grayscale8);
  page.fill(210);
  const CamShape shape = camShapeMm(kFocalMm);
  QPainterPath cam;
  cam.moveTo(shape.edges.front().from.x, shape.edges.front().from.y);
  for (const ShapeEdge& e : shape.edges) cam.lineTo(e.to.x, e.to.y);
  for (const ShapeCircle& h : shape.holes) cam.addEllipse(QPointF(h.centre.x, h.centre.y), h.radius, h.radius);
  {
    QPainter painter(&page);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(pixels.width() / 2.0, pixels.height() / 2.0);
    painter.scale(dpi / 25.4, dpi / 25.4);
    painter.rotate(7.0);
    painter.translate(-20.0, -9.0);
    painter.fillPath(cam, QColor(50, 50, 50));
  }
  const int dotsPerMetre = qRound(dpi / 0.0254);
  page.setDotsPerMeterX(dotsPerMetre);
  page.setDotsPerMeterY(dotsPerMetre);
  const QString path = folder.filePath(name);
  page.save(path);
  return path;
}

const QString& a4Scan() {
  static const QTemporaryDir folder;
  static const QString path = scanFile(folder, "a4.png", QSize(9920, 14030), 1200);
  return path;
}

void BM_CheckScanA4At1200Dpi(benchmark::State& state) {
  CheckScanJob job;
  job.scanPath = a4Scan();
  job.focalMm = kFocalMm;
  for (auto _ : state) benchmark::DoNotOptimize(runCheckScan(job));
}
BENCHMARK(BM_CheckScanA4At1200Dpi)->Unit(benchmark::kMillisecond);

void BM_CheckScanA4At1200DpiFloor(benchmark::State& state) {
  const QString& path = a4Scan();
  QImageReader::setAllocationLimit(0);
  for (auto _ : state) benchmark::DoNotOptimize(QImageReader(path).read());
}
BENCHMARK(BM_CheckScanA4At1200DpiFloor)->Unit(benchmark::kMillisecond);

void BM_CheckScanCamAloneAt600Dpi(benchmark::State& state) {
  const QTemporaryDir folder;
  CheckScanJob job;
  job.scanPath = scanFile(folder, "cam.png", QSize(1100, 650), 600);
  job.focalMm = kFocalMm;
  for (auto _ : state) benchmark::DoNotOptimize(runCheckScan(job));
}
BENCHMARK(BM_CheckScanCamAloneAt600Dpi)->Unit(benchmark::kMillisecond);

}  // namespace
