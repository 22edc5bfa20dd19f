// Figures for the work a user waits on: one profile, one preview cam, a sheet
// in both resolutions, the settings file; each beside the floor of writing the
// same bytes to the same folder. Also the memory a high-resolution sheet takes.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "commands/cam_sheet.h"
#include "commands/draw_graph.h"
#include "common/atomic_file.h"
#include "geometry/cam_profile.h"
#include "render/printer_seam.h"
#include "ui/cam_designer.h"
#include "ui/plot_window.h"

namespace {

using namespace korvel;

class NoPrinter : public PrinterSeam {
 public:
  QString defaultPrinterName() override { return {}; }
  bool choosePrinter(QPrinter&) override { return false; }
  void makeDefaultPrinter(const QString&) override {}
  void processEvents() override {}
};

struct Session {
  QTemporaryDir folder;
  NoPrinter printer;
  CamDesigner designer{DesignerEnvironment{folder.path(), QDir::homePath(), &printer}};
  Session() {
    designer.SaveToDisk->setChecked(true);
    designer.FocalLength->setText("150");
  }
  qint64 fileSize(const QString& name) const { return QFileInfo(QDir(folder.path()).filePath(name)).size(); }
};

// Writing the same number of bytes, ready in memory, to the same folder,
// replaced and synced (file and folder) the same way.
void writeFloor(benchmark::State& state, const QString& folder, qint64 bytes) {
  const QByteArray content(bytes, 'x');
  const QString path = QDir(folder).filePath("floor.bin");
  for (auto _ : state) benchmark::DoNotOptimize(writeFileAtomically(path, content));
  state.SetBytesProcessed(state.iterations() * bytes);
}

// The process's peak resident memory after one high-resolution sheet. It runs
// first, so no earlier benchmark has raised the peak; run it alone
// (--benchmark_filter=PeakMemory) for a figure of its own.
void BM_PeakMemoryAfterHighResolutionSheet(benchmark::State& state) {
  Session s;
  s.designer.ChkHiRes->setChecked(true);
  s.designer.ChkDistMarkers->setChecked(true);
  for (auto _ : state) PlotCamSheet(s.designer);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_PeakMemoryAfterHighResolutionSheet)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_CamProfile(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ComputeCamProfile(150.0, 1.074f));
}
BENCHMARK(BM_CamProfile);

void BM_DrawGraph(benchmark::State& state) {
  Session s;
  for (auto _ : state) DrawGraph(s.designer);
  state.counters["bytes"] = static_cast<double>(s.fileSize("KorvelCamDesigner-150.bmp"));
}
BENCHMARK(BM_DrawGraph)->Unit(benchmark::kMillisecond);

void BM_DrawGraphFloor(benchmark::State& state) {
  Session s;
  DrawGraph(s.designer);
  writeFloor(state, s.folder.path(), s.fileSize("KorvelCamDesigner-150.bmp"));
}
BENCHMARK(BM_DrawGraphFloor)->Unit(benchmark::kMillisecond);

void sheet(benchmark::State& state, bool highResolution) {
  Session s;
  s.designer.ChkHiRes->setChecked(highResolution);
  s.designer.ChkDistMarkers->setChecked(true);
  for (auto _ : state) PlotCamSheet(s.designer);
  state.counters["bytes"] = static_cast<double>(s.fileSize("KorvelCamDesigner.bmp"));
}

void sheetFloor(benchmark::State& state, bool highResolution) {
  Session s;
  s.designer.ChkHiRes->setChecked(highResolution);
  PlotCamSheet(s.designer);
  writeFloor(state, s.folder.path(), s.fileSize("KorvelCamDesigner.bmp"));
}

void BM_SheetNormal(benchmark::State& state) { sheet(state, false); }
void BM_SheetNormalFloor(benchmark::State& state) { sheetFloor(state, false); }
void BM_SheetHigh(benchmark::State& state) { sheet(state, true); }
void BM_SheetHighFloor(benchmark::State& state) { sheetFloor(state, true); }
BENCHMARK(BM_SheetNormal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SheetNormalFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SheetHigh)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SheetHighFloor)->Unit(benchmark::kMillisecond);

void BM_SettingsSaveAndLoad(benchmark::State& state) {
  Session s;
  s.designer.SaveSettings();
  for (auto _ : state) {
    s.designer.SaveSettings();
    s.designer.LoadSettings();
  }
  state.counters["bytes"] = static_cast<double>(s.fileSize("KorvelCamDesigner.ini"));
}
BENCHMARK(BM_SettingsSaveAndLoad)->Unit(benchmark::kMillisecond);

void BM_SettingsFloor(benchmark::State& state) {
  Session s;
  s.designer.SaveSettings();
  writeFloor(state, s.folder.path(), s.fileSize("KorvelCamDesigner.ini"));
}
BENCHMARK(BM_SettingsFloor)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
