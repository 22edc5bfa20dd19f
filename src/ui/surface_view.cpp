#include "ui/surface_view.h"

#include <QPaintEvent>
#include <QPainter>

#include "render/drawing_raster.h"

namespace korvel {

SurfaceView::SurfaceView(RasterSurface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  syncSize();
  surface_.setRefreshHandler([this] {
    syncSize();
    if (isVisible()) repaint();
  });
  surface_.setChangeHandler([this] {
    syncSize();
    if (repaintAsked_) return;
    repaintAsked_ = true;
    update();
  });
}

void SurfaceView::syncSize() {
  const QSize size = surface_.pixelSize();
  if (this->size() != size) resize(size);
}

void SurfaceView::paintEvent(QPaintEvent* event) {
  repaintAsked_ = false;
  QPainter painter(this);
  const QRect area = event->rect();
  painter.fillRect(area, Qt::white);
  paintOnScreen(surface_.drawing(), painter, area);
}

}  // namespace korvel
