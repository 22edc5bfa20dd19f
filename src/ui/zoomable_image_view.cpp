#include "ui/zoomable_image_view.h"

#include <QWheelEvent>

namespace korvel {

namespace {

constexpr double kZoomStep = 1.25;
// From a whole A4 page on screen to single scanner pixels many screen pixels wide.
constexpr double kLeastZoom = 0.02;
constexpr double kMostZoom = 32.0;

}  // namespace

ZoomableImageView::ZoomableImageView(QWidget* parent) : QGraphicsView(parent) {
  setScene(new QGraphicsScene(this));
  picture_ = scene()->addPixmap(QPixmap());
  picture_->setTransformationMode(Qt::SmoothTransformation);
  setDragMode(QGraphicsView::ScrollHandDrag);
  setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
  setBackgroundBrush(palette().dark());
}

void ZoomableImageView::setImage(const QImage& image) {
  picture_->setPixmap(QPixmap::fromImage(image));
  scene()->setSceneRect(picture_->boundingRect());
  fitToView();
}

void ZoomableImageView::fitToView() {
  fitted_ = true;
  if (!picture_->pixmap().isNull()) fitInView(picture_, Qt::KeepAspectRatio);
}

void ZoomableImageView::zoomIn() {
  fitted_ = false;
  if (zoom() * kZoomStep <= kMostZoom) scale(kZoomStep, kZoomStep);
}

void ZoomableImageView::zoomOut() {
  fitted_ = false;
  if (zoom() / kZoomStep >= kLeastZoom) scale(1 / kZoomStep, 1 / kZoomStep);
}

void ZoomableImageView::resizeEvent(QResizeEvent* event) {
  QGraphicsView::resizeEvent(event);
  if (fitted_) fitToView();
}

void ZoomableImageView::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y();
  if (steps > 0) zoomIn();
  else if (steps < 0) zoomOut();
  event->accept();
}

}  // namespace korvel
