#include "render/pixel_figures.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace korvel {

namespace {

// Farther right than any picture reaches.
constexpr double kUnboundedPixels = 1e6;
// Pixels the rasteriser may round a figure's edge out by.
constexpr double kRoundingMargin = 3;
// A pixel is painted where its centre falls within half the pen of a line or
// circle: within half a pen and a pixel of it, and a pixel more for rounding.
constexpr double kPenEdgeMargin = 2;

QRect wholePixels(QRectF area) {
  const auto pixel = [](double v) { return static_cast<int>(std::clamp(v, -kUnboundedPixels, kUnboundedPixels)); };
  return QRect(QPoint(pixel(std::floor(area.left())), pixel(std::floor(area.top()))),
               QPoint(pixel(std::ceil(area.right())), pixel(std::ceil(area.bottom()))));
}

// One figure; a text with the metrics of its font, which every text has.
PixelFigure inPixels(const DrawnFigure& figure, const QFontMetricsF* fontMetrics) {
  PixelFigure step;
  step.a = figure.a * kPixelsPerInch;
  step.b = figure.b * kPixelsPerInch;
  step.radius = figure.radius * kPixelsPerInch;
  // How far above and below its points the figure may paint.
  double reach = figure.penWidth;
  if (figure.shape == FigureShape::Circle) reach += step.radius;
  QRectF ink = QRectF(step.a, step.b).normalized().adjusted(-reach, -reach, reach, reach);
  if (figure.shape == FigureShape::Text && fontMetrics) {
    const QFontMetricsF& metrics = *fontMetrics;
    // The canvas keeps positions in single precision, as it is handed them.
    const QPointF topLeft(static_cast<float>(figure.a.x()) * kPixelsPerInch,
                          static_cast<float>(figure.a.y()) * kPixelsPerInch);
    step.a = QPointF(topLeft.x(), topLeft.y() + metrics.ascent());
    step.b = QPointF(step.a.x(), step.a.y() + metrics.descent());
    reach = metrics.height();
    // Measuring a text's ink shapes it once more than painting it does, so a
    // text whose box was not kept is given its whole line from a font's
    // height left of its start to the picture's edge, a generous band.
    ink = figure.ink.isEmpty() ? QRectF(QPointF(-reach, -metrics.ascent() - reach / 4),
                                        QPointF(kUnboundedPixels, metrics.descent() + reach / 4))
                               : figure.ink;
    ink.translate(step.a);
  }
  const double top = std::min(step.a.y(), step.b.y()) - reach - 2;
  const double bottom = std::max(step.a.y(), step.b.y()) + reach + 2;
  step.firstRow = static_cast<int>(std::floor(std::max(top, -1.0)));
  step.lastRow = static_cast<int>(std::ceil(std::min(bottom, double(figure.drawnHeight) + 1)));
  step.ink = wholePixels(ink.adjusted(-kRoundingMargin, -kRoundingMargin, kRoundingMargin, kRoundingMargin));
  step.paintedWhole = figure.shape == FigureShape::Circle ||
                      (figure.shape == FigureShape::Line && step.a.x() != step.b.x() && step.a.y() != step.b.y());
  return step;
}

// The pen of each kind of figure, kept from the last figure painted: making
// a pen for each of a cam's hundreds of segments cost more than drawing it.
class KeptPens {
 public:
  const QPen& pen(FigureShape shape, const QColor& colour, int width) {
    Kept& kept = kept_[std::size_t(shape)];
    if (!kept.made || kept.colour != colour || kept.width != width) {
      kept = {true, colour, width, make(shape, colour, width)};
    }
    return kept.pen;
  }

 private:
  static QPen make(FigureShape shape, const QColor& colour, int width) {
    switch (shape) {
      case FigureShape::Point:
        return QPen(colour, width, Qt::SolidLine, Qt::RoundCap);
      case FigureShape::Line:
        return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
      case FigureShape::Circle:
        return QPen(colour, width);
      case FigureShape::Text:
        break;
    }
    return QPen(colour);
  }
  struct Kept {
    bool made = false;
    QColor colour;
    int width = 0;
    QPen pen;
  };
  std::array<Kept, 4> kept_;
};

thread_local KeptPens keptPens;

}  // namespace

InkAlongRows::InkAlongRows(const DrawnFigure& figure, const PixelFigure& step)
    : left_(step.ink.left()), right_(step.ink.right() + 1), reach_(figure.penWidth / 2.0 + kPenEdgeMargin) {
  if (figure.shape == FigureShape::Line && step.a.y() != step.b.y()) {
    kind_ = Kind::Line;
    slope_ = (step.b.x() - step.a.x()) / (step.b.y() - step.a.y());
    xAtRowZero_ = step.a.x() - step.a.y() * slope_;
  } else if (figure.shape == FigureShape::Circle) {
    kind_ = Kind::Ring;
    centre_ = step.a;
    outer_ = step.radius + reach_;
    inner_ = step.radius - reach_;
  }
}

std::vector<PixelFigure> inPixels(const CamDrawing& drawing) {
  std::vector<PixelFigure> steps;
  steps.reserve(drawing.figures().size());
  // The texts of a drawing share a font or two, and metrics are slow to make.
  std::optional<QFontMetricsF> metrics;
  int measured = -1;
  for (const DrawnFigure& figure : drawing.figures()) {
    if (figure.shape == FigureShape::Text && figure.font != measured) {
      metrics.emplace(drawing.font(figure), &surfaceFontDevice());
      measured = figure.font;
    }
    steps.push_back(inPixels(figure, metrics ? &*metrics : nullptr));
  }
  return steps;
}

void LineRun::add(const DrawnFigure& line, const PixelFigure& step) {
  if (!lines_.empty() && (line.colour != colour_ || line.penWidth != width_)) paint();
  colour_ = line.colour;
  width_ = line.penWidth;
  lines_.emplace_back(step.a, step.b);
}

void LineRun::paint() {
  if (lines_.empty()) return;
  painter_.setPen(keptPens.pen(FigureShape::Line, colour_, width_));
  painter_.drawLines(lines_.data(), static_cast<int>(lines_.size()));
  lines_.clear();
}

void paintFigure(QPainter& painter, const CamDrawing& drawing, const DrawnFigure& figure, const PixelFigure& step,
                 double fontScale) {
  switch (figure.shape) {
    case FigureShape::Point:
      painter.setPen(keptPens.pen(figure.shape, figure.colour, figure.penWidth));
      painter.drawPoint(step.a);
      break;
    case FigureShape::Line:
      painter.setPen(keptPens.pen(figure.shape, figure.colour, figure.penWidth));
      painter.drawLine(step.a, step.b);
      break;
    case FigureShape::Circle:
      painter.setPen(keptPens.pen(figure.shape, figure.colour, figure.penWidth));
      painter.setBrush(Qt::NoBrush);
      painter.drawEllipse(step.a, step.radius, step.radius);
      break;
    case FigureShape::Text:
      if (fontScale != 1.0) {
        QFont font = drawing.font(figure);
        font.setPointSizeF(font.pointSizeF() * fontScale);
        painter.setFont(font);
      } else {
        painter.setFont(drawing.font(figure));
      }
      painter.setPen(keptPens.pen(figure.shape, figure.colour, 1));
      painter.drawText(step.a, QString::fromStdString(figure.text));
      break;
  }
}

}  // namespace korvel
