#pragma once

#include <QGraphicsPixmapItem>
#include <QGraphicsView>
#include <QImage>

// A picture that the mouse wheel, or zoomIn() and zoomOut(), enlarge and
// reduce about the pointer; it opens fitted to the view and stays fitted as
// the view grows or shrinks until the user zooms.
namespace korvel {

class ZoomableImageView : public QGraphicsView {
  Q_OBJECT
 public:
  explicit ZoomableImageView(QWidget* parent = nullptr);

  void setImage(const QImage& image);
  QImage image() const { return picture_->pixmap().toImage(); }
  double zoom() const { return transform().m11(); }
  void zoomIn();
  void zoomOut();
  void fitToView();

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QGraphicsPixmapItem* picture_;
  bool fitted_ = true;
};

}  // namespace korvel
