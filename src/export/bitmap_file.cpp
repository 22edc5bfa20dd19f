#include "export/bitmap_file.h"

#include <QList>
#include <QtEndian>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include "common/atomic_file.h"
#include "render/drawing_raster.h"
#include "render/one_bit_picture.h"

namespace korvel {

namespace {

constexpr int kInfoHeaderBytes = 40;
constexpr int kFileHeaderBytes = 14 + kInfoHeaderBytes;
// Rows are handed to the file in pieces of about this size: a high-resolution
// sheet's picture is never held in memory a second time.
constexpr qsizetype kChunkBytes = 64 * 1024;

void put16(QByteArray& bytes, quint16 v) {
  char le[2];
  qToLittleEndian(v, le);
  bytes.append(le, 2);
}
void put32(QByteArray& bytes, quint32 v) {
  char le[4];
  qToLittleEndian(v, le);
  bytes.append(le, 4);
}

// The file and information headers, and the palette of a one-bit picture.
QByteArray header(const QImage& picture, qsizetype rowBytes) {
  const QList<QRgb> palette = picture.depth() == 1 ? picture.colorTable() : QList<QRgb>{};
  const auto offset = quint32(kFileHeaderBytes + 4 * palette.size());
  const auto pixelBytes = quint32(rowBytes * picture.height());
  QByteArray bytes;
  bytes.reserve(offset);
  bytes.append("BM");
  put32(bytes, offset + pixelBytes);
  put32(bytes, 0);
  put32(bytes, offset);
  put32(bytes, kInfoHeaderBytes);
  put32(bytes, quint32(picture.width()));
  put32(bytes, quint32(picture.height()));  // positive: bottom row first
  put16(bytes, 1);                          // planes
  put16(bytes, quint16(picture.depth()));
  put32(bytes, 0);  // BI_RGB, no compression
  put32(bytes, pixelBytes);
  put32(bytes, quint32(picture.dotsPerMeterX()));
  put32(bytes, quint32(picture.dotsPerMeterY()));
  put32(bytes, quint32(palette.size()));
  put32(bytes, 0);
  for (const QRgb colour : palette) {  // blue, green, red, reserved
    bytes.append(static_cast<char>(qBlue(colour)));
    bytes.append(static_cast<char>(qGreen(colour)));
    bytes.append(static_cast<char>(qRed(colour)));
    bytes.append('\0');
  }
  return bytes;
}

// The picture's rows, bottom row first, each as the picture holds it: one
// bit a pixel, the leftmost the most significant, or blue, green, red; the
// bits and bytes past the last pixel are zero.
FileWriteResult writeRows(const QImage& picture, FileReplacement& file) {
  const qsizetype bits = qsizetype(picture.width()) * picture.depth();
  const qsizetype rowBytes = (bits + 31) / 32 * 4;
  const qsizetype pixelBytes = (bits + 7) / 8;
  const auto lastByteMask = static_cast<char>(0xFF << (pixelBytes * 8 - bits));
  return file.finish([&](const ChunkWriter& write) {
    QByteArray chunk = header(picture, rowBytes);
    qsizetype used = chunk.size();
    // Room for one more row past a full chunk; the rows are copied in whole.
    chunk.resize(kChunkBytes + rowBytes);
    char* const bytes = chunk.data();
    for (int y = picture.height() - 1; y >= 0; --y) {
      char* const row = bytes + used;
      std::memcpy(row, picture.constScanLine(y), std::size_t(pixelBytes));
      row[pixelBytes - 1] = static_cast<char>(row[pixelBytes - 1] & lastByteMask);
      std::memset(row + pixelBytes, 0, std::size_t(rowBytes - pixelBytes));
      used += rowBytes;
      if (used >= kChunkBytes) {
        if (!write(bytes, used)) return false;
        used = 0;
      }
    }
    return write(bytes, used);
  });
}

// A sheet's bitmap file, begun beside the sheet being drawn by the thread
// that will paint its lower rows, which is otherwise idle then.
struct EarlyFile {
  enum Stage { Waiting, Beginning, Begun, Abandoned };
  explicit EarlyFile(const QString& path) : path(path) {}
  const QString path;
  std::atomic<Stage> stage{Waiting};
  std::optional<FileReplacement> replacement;  // once Begun
};

std::mutex earlyFileMutex;
std::shared_ptr<EarlyFile> earlyFile;  // begun for the next save, if any

// The replacement begun early for path, waited for if it is being begun;
// else one begun now.
class BitmapReplacement {
 public:
  explicit BitmapReplacement(const QString& path) {
    {
      const std::lock_guard lock(earlyFileMutex);
      early_ = std::exchange(earlyFile, nullptr);
    }
    EarlyFile::Stage waiting = EarlyFile::Waiting;
    // Not yet begun, it never will be.
    const bool abandoned = early_ && early_->stage.compare_exchange_strong(waiting, EarlyFile::Abandoned);
    if (early_ && !abandoned && early_->path == path) {
      early_->stage.wait(EarlyFile::Beginning, std::memory_order_acquire);
      return;
    }
    own_.emplace(path);
  }
  FileReplacement& operator*() { return own_ ? *own_ : *early_->replacement; }

 private:
  std::shared_ptr<EarlyFile> early_;
  std::optional<FileReplacement> own_;
};

bool blackAndWhite(const QImage& rgb32) {
  for (int y = 0; y < rgb32.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(rgb32.constScanLine(y));
    // Adding one to the colour leaves 0 for white, 1 for black and more for any other.
    for (int x = 0; x < rgb32.width(); ++x)
      if (((row[x] + 1) & 0xFFFFFF) > 1) return false;
  }
  return true;
}

}  // namespace

// An uncompressed Windows bitmap, rows padded to four bytes: the form every
// viewer opens. Cams are drawn black on white, so one bit per pixel with a
// black and white palette holds them exactly; a picture of any other colour
// takes 24 bits.
FileWriteResult saveBitmap(const QImage& picture, const QString& path) {
  if (picture.isNull()) return {};
  BitmapReplacement file(path);
  if (picture.format() == QImage::Format_Mono) return writeRows(picture, *file);
  // An RGB32 picture is shared here, not copied.
  const QImage rgb32 = picture.convertToFormat(QImage::Format_RGB32);
  if (blackAndWhite(rgb32))
    return writeRows(rgb32.convertToFormat(QImage::Format_Mono, blackAndWhitePalette(), Qt::ThresholdDither), *file);
  return writeRows(rgb32.convertToFormat(QImage::Format_BGR888), *file);
}

void beginBitmapFile(const QString& path) {
  auto file = std::make_shared<EarlyFile>(path);
  {
    const std::lock_guard lock(earlyFileMutex);
    earlyFile = file;
  }
  wakeLowerRowsPainter([file] {
    EarlyFile::Stage waiting = EarlyFile::Waiting;
    if (!file->stage.compare_exchange_strong(waiting, EarlyFile::Beginning)) return;
    file->replacement.emplace(file->path);
    file->stage.store(EarlyFile::Begun, std::memory_order_release);
    file->stage.notify_all();
  });
}

FileWriteResult saveBitmap(const CamDrawing& drawing, const QString& path) {
  const QImage oneBit = rasteriseOneBit(drawing);
  return saveBitmap(oneBit.isNull() ? rasterise(drawing) : oneBit, path);
}

FileWriteResult SavePlot(const CamDrawing& drawing, const QString& appFolder, const QString& fileName) {
  return saveBitmap(drawing, appFolder + fileName);
}

}  // namespace korvel
