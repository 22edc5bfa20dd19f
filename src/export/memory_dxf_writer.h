#pragma once

#include <dxflib/dl_dxf.h>

#include <QByteArray>
#include <string>
#include <string_view>

namespace korvel {

// dxflib's writer with the file kept in memory, so that the DXF reaches the
// disk whole through the atomic write, like every other file, and needs no
// temporary folder. Its stream gets no name and so opens nothing; every value
// goes through these three (reals and hex numbers become strings first), in
// the layout of dxflib's own: the group code right-aligned in three places,
// then the value, each on a line of its own.
class MemoryDxfWriter final : public DL_WriterA {
 public:
  explicit MemoryDxfWriter(DL_Codes::version version) : DL_WriterA("", version) {}
  void dxfInt(int gc, int value) const override { line(gc, std::to_string(value)); }
  void dxfString(int gc, const char* value) const override { line(gc, value ? value : ""); }
  void dxfString(int gc, const std::string& value) const override { line(gc, value); }
  QByteArray content() const { return QByteArray::fromStdString(text_); }

 private:
  void line(int gc, std::string_view value) const {
    text_.append(gc < 10 ? "  " : gc < 100 ? " " : "").append(std::to_string(gc)).append("\n");
    text_.append(value).append("\n");
  }
  mutable std::string text_;
};

}  // namespace korvel
