// Figures for the work a user waits on: one profile, one preview cam, a sheet
// in both resolutions, the settings file; each beside the floor of writing the
// same bytes to the same folder. Also the memory a high-resolution sheet takes,
// its print, and each file for cutting.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>

#include "commands/cam_sheet.h"
#include "commands/draw_graph.h"
#include "common/atomic_file.h"
#include "geometry/cam_profile.h"
#include "export/cut_files.h"
#include "render/plot_output.h"
#include "render/printer_seam.h"
#include "ui/cam_designer.h"
#include "ui/plot_window.h"

namespace {

using namespace korvel;

struct Session {
  QTemporaryDir folder;
  NoPrinterSeam printer;
  CamDesigner designer{DesignerEnvironment{folder.path(), &printer}};
  Session() {
    designer.SaveToDisk->setChecked(true);
    designer.FocalLength->setText("150");
  }
  qint64 fileSize(const QString& name) const {
    return QFileInfo(QDir(folder.path()).filePath(name)).size();
  }
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
  for (auto _ : state) s.designer.CMDPlotCams_Click();
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
  for (auto _ : state) s.designer.CMDDrawGraph_Click();
  state.counters["bytes"] = static_cast<double>(s.fileSize("KorvelCamDesigner-150.bmp"));
}
BENCHMARK(BM_DrawGraph)->Unit(benchmark::kMillisecond);

void BM_DrawGraphFloor(benchmark::State& state) {
  Session s;
  s.designer.CMDDrawGraph_Click();
  writeFloor(state, s.folder.path(), s.fileSize("KorvelCamDesigner-150.bmp"));
}
BENCHMARK(BM_DrawGraphFloor)->Unit(benchmark::kMillisecond);

void sheet(benchmark::State& state, bool highResolution) {
  Session s;
  s.designer.ChkHiRes->setChecked(highResolution);
  s.designer.ChkDistMarkers->setChecked(true);
  for (auto _ : state) s.designer.CMDPlotCams_Click();
  state.counters["bytes"] = static_cast<double>(s.fileSize("KorvelCamDesigner.bmp"));
}

void sheetFloor(benchmark::State& state, bool highResolution) {
  Session s;
  s.designer.ChkHiRes->setChecked(highResolution);
  s.designer.CMDPlotCams_Click();
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

// A print dialog that picks a PDF file as the printer.
class PdfPrinterSeam : public NoPrinterSeam {
 public:
  explicit PdfPrinterSeam(QString path) : path_(std::move(path)) {}
  bool choosePrinter(QPrinter& printer) override {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path_);
    return true;
  }

 private:
  QString path_;
};

// The drawing of a high-resolution sheet with markers, or of the 150 mm cam.
RasterSurface& drawn(Session& s, bool sheet) {
  if (!sheet) {
    s.designer.CMDDrawGraph_Click();
    return s.designer.previewSurface();
  }
  s.designer.ChkHiRes->setChecked(true);
  s.designer.ChkDistMarkers->setChecked(true);
  s.designer.CMDPlotCams_Click();
  return s.designer.plotWindow()->surface();
}

constexpr int kHighResolutionScale = 6;

void BM_PrintHighResolutionSheet(benchmark::State& state) {
  Session s;
  const RasterSurface& sheet = drawn(s, true);
  const QString path = QDir(s.folder.path()).filePath("print.pdf");
  PdfPrinterSeam printer(path);
  for (auto _ : state) PrintPlot(sheet.drawing(), kHighResolutionScale, {0.9375, 0.9338, true}, printer);
  state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}
BENCHMARK(BM_PrintHighResolutionSheet)->Unit(benchmark::kMillisecond);

void BM_CutFile(benchmark::State& state, bool sheet, const char* extension) {
  Session s;
  const RasterSurface& surface = drawn(s, sheet);
  const QString path = QDir(s.folder.path()).filePath(QString("cut.") + extension);
  for (auto _ : state) writeCutFile(surface.drawing(), sheet ? kHighResolutionScale : 1, path);
  state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}
BENCHMARK_CAPTURE(BM_CutFile, cam_dxf, false, "dxf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CutFile, cam_svg, false, "svg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CutFile, cam_pdf, false, "pdf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CutFile, cam_csv, false, "csv")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CutFile, sheet_dxf, true, "dxf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CutFile, sheet_svg, true, "svg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CutFile, sheet_pdf, true, "pdf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CutFile, sheet_csv, true, "csv")->Unit(benchmark::kMillisecond);

// The settings file as closing the designer writes it.
void BM_SettingsSave(benchmark::State& state) {
  Session s;
  s.designer.SaveSettings();
  for (auto _ : state) s.designer.SaveSettings();
  state.counters["bytes"] = static_cast<double>(s.fileSize("KorvelCamDesigner.ini"));
}
BENCHMARK(BM_SettingsSave)->Unit(benchmark::kMillisecond);

// The same bytes in the same folder, replaced once with the file and the
// folder synced, as the program syncs them.
void BM_SettingsSaveFloor(benchmark::State& state) {
  Session s;
  s.designer.SaveSettings();
  QFile saved(QDir(s.folder.path()).filePath("KorvelCamDesigner.ini"));
  saved.open(QIODevice::ReadOnly);
  const QByteArray content = saved.readAll();
  const QByteArray folder = QFile::encodeName(s.folder.path());
  const QByteArray target = folder + "/floor.ini";
  const QByteArray temporary = target + ".tmp";
  for (auto _ : state) {
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    benchmark::DoNotOptimize(::write(fd, content.constData(), static_cast<size_t>(content.size())));
    ::fsync(fd);
    ::close(fd);
    ::rename(temporary.constData(), target.constData());
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::fsync(dir);
    ::close(dir);
  }
  state.counters["bytes"] = static_cast<double>(content.size());
}
BENCHMARK(BM_SettingsSaveFloor)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
