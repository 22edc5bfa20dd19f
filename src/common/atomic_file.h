#pragma once

#include <QByteArray>
#include <QString>
#include <sys/stat.h>
#include <functional>

// Settings files and bitmaps are never written in place: the new content goes to
// a temporary file in the same folder, which then replaces the old file, so a
// crash or a full disk leaves the previous file intact. The temporary file has
// no name until it is complete, so a killed program leaves nothing behind; where
// the file system cannot do that, or the program is killed in the instant
// between naming it and renaming it, one ".kcd-<pid>-<random>.tmp" file stays,
// which the next save into that folder removes.
namespace korvel {

// How a write ended: the errno of the failure names its cause for the user.
struct FileWriteResult {
  bool written = false;
  // errno of the failure, 0 when written: EACCES or EROFS for a folder or file
  // that cannot be written, ENOENT or ENOTDIR for a missing folder, ENAMETOOLONG,
  // EISDIR for a folder in the file's place and EINVAL for a device, pipe or
  // socket there, ENOSPC or EDQUOT for a full disk, else what the system said.
  int error = 0;
  operator bool() const { return written; }  // NOLINT: reads as the old yes/no
};

// Replaces (or creates) the file at path with content. Fails, leaving any old
// file untouched, when the folder cannot be written, when an existing file is
// read-only (its write permission bits are honoured even for root), or when
// writing fails. An existing file keeps its permissions.
FileWriteResult writeFileAtomically(const QString& path, const QByteArray& content);

// The same for content too large to hold in memory whole: produce hands it
// piece by piece to the writer it is given, which returns false when writing
// fails. When produce returns false the old file stays as it was.
using ChunkWriter = std::function<bool(const char* data, qsizetype size)>;
FileWriteResult writeFileAtomically(const QString& path, const std::function<bool(const ChunkWriter&)>& produce);

// The same, begun before the content is ready: making one checks the folder
// and the file, clears the folder's leftovers and opens the new unnamed file,
// so that this can be done while the content is still being made; finish()
// then writes, names and renames. A replacement never finished leaves the old
// file and nothing else. A cause found while beginning is reported by finish().
class FileReplacement {
 public:
  explicit FileReplacement(const QString& path);
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  const QString& path() const { return path_; }
  // Once only.
  FileWriteResult finish(const std::function<bool(const ChunkWriter&)>& produce);

 private:
  int replace(const std::function<bool(const ChunkWriter&)>& produce);

  QString path_;
  QByteArray target_;  // the file replaced, through any link
  QByteArray folder_;
  struct stat old_ {};  // the file replaced, when replacing_
  bool replacing_ = false;
  int unnamed_ = -1;  // the new file, where the file system has unnamed files
  int cause_ = 0;     // errno of the first failure
};

}  // namespace korvel
