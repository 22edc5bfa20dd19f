#include "ui/surface_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWindow>

#include "render/drawing_raster.h"

namespace korvel {

SurfaceView::SurfaceView(RasterSurface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  syncSize();
  surface_.setRefreshHandler([this] {
    syncSize();
    // A window not on the screen yet, or minimised, shows nothing now; the
    // repaint asked for when the drawing changed paints it once it is shown.
    const QWindow* shownIn = window()->windowHandle();
    if (isVisible() && shownIn && shownIn->isExposed()) repaint();
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
