#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "render/drawing_surface.h"

// A surface that draws nothing and keeps every operation with its exact
// arguments, so tests can compare a drawing figure by figure.
namespace korvel::testing {

struct SurfaceOp {
  std::string name;       // "point", "line", "circle", "text position", "text", ...
  std::vector<float> args;
  std::string text;       // for "text"
};

class RecordingSurface : public DrawingSurface {
 public:
  RecordingSurface(float width = 6.3f, float height = 6.3f) : width_(width), height_(height) {}

  void setDrawColour(Colour c) override { add("colour", {static_cast<float>(c)}); }
  void point(float x, float y) override { add("point", {x, y}); }
  void line(float x1, float y1, float x2, float y2, Colour c) override {
    add("line", {x1, y1, x2, y2, static_cast<float>(c)});
  }
  void circle(float x, float y, float r) override { add("circle", {x, y, r}); }
  void setTextPosition(float x, float y) override { add("text position", {x, y}); }
  void writeText(const std::string& text) override { ops.push_back({"text", {}, text}); }
  void refresh() override { add("refresh", {}); }
  void clear() override { add("clear", {}); }
  void setLineWidth(int px) override { add("line width", {static_cast<float>(px)}); }
  void setTextSize(float pt) override { add("text size", {pt}); }
  QImage copyImage() const override {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
  }
  void setBackgroundPicture(const QImage&) override { add("background", {}); }
  void removeBackgroundPicture() override { add("remove background", {}); }
  void paintPicture(const QImage&, float x, float y, float w, float h) override {
    add("paint picture", {x, y, w, h});
  }
  float innerWidth() const override { return width_; }
  float innerHeight() const override { return height_; }
  float outerWidth() const override { return width_; }
  float outerHeight() const override { return height_; }
  void setOuterWidth(float w) override { width_ = w; add("width", {w}); }
  void setOuterHeight(float h) override { height_ = h; add("height", {h}); }

  std::vector<SurfaceOp> ops;

  std::vector<SurfaceOp> named(const std::string& name) const {
    std::vector<SurfaceOp> found;
    for (const SurfaceOp& op : ops)
      if (op.name == name) found.push_back(op);
    return found;
  }
  // Whether an operation of that name was drawn with these arguments, each
  // within tolerance.
  bool has(const std::string& name, const std::vector<float>& args, float tolerance) const {
    for (const SurfaceOp& op : ops) {
      bool same = op.name == name && op.args.size() >= args.size();
      for (std::size_t i = 0; same && i < args.size(); ++i) same = std::abs(op.args[i] - args[i]) <= tolerance;
      if (same) return true;
    }
    return false;
  }
  std::vector<std::string> texts() const {
    std::vector<std::string> found;
    for (const SurfaceOp& op : ops)
      if (op.name == "text") found.push_back(op.text);
    return found;
  }

 private:
  void add(std::string name, std::vector<float> args) { ops.push_back({std::move(name), std::move(args), {}}); }
  float width_;
  float height_;
};

}  // namespace korvel::testing
