#pragma once

#include <QMargins>
#include <QObject>
#include <QSize>
#include <QWidget>
#include <array>

#include "settings/window_geometry.h"

// Window geometry in the settings file is outer geometry, frame included, in
// twips. The window system may tell the frame's size only once the window is
// shown; this keeps the outer size as asked and re-fits the interior when the
// frame becomes known, so a window never grows by its frame from one run to
// the next.
//
// A pixel is 15 twips, so a stored value that is not a multiple of 15 is shown
// rounded (10000 twips at 667 pixels, which are 10005 twips). Each value keeps
// the twips it was given for as long as the window stays at the pixel it was
// shown at, so a value the user did not move comes back exactly as stored.
namespace korvel {

class OuterSize : public QObject {
 public:
  // fixed: the user cannot resize the window (the interior is fixed too).
  // smallestInterior: however large the frame, the interior never gets
  // smaller, so nothing laid out in it is cut off; the window grows instead.
  // addedHeight: bars the window holds beyond the size the keys keep (a menu
  // bar, a message line); the window grows by them and the keys never count them.
  OuterSize(QWidget* window, bool fixed, QSize smallestInterior = {1, 1}, int addedHeight = 0);

  int twips(GeometryPart part) const;
  void setTwips(GeometryPart part, int twips);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A value as given in twips and the pixel it was shown at.
  struct Kept {
    int twips = 0;
    int pixels = -1;
    bool given = false;
    int twipsAt(int shownPixels) const;
    void give(int value);
  };

  QMargins frame() const;
  void apply();

  QWidget* window_;
  bool fixed_;
  QSize smallestInterior_;
  int addedHeight_;
  QSize outer_;  // as asked, or as the user resized it
  QMargins appliedFrame_;
  QSize appliedInterior_;
  std::array<Kept, kGeometryPartCount> kept_;
};

// A window whose outer geometry in twips is kept by the OuterSize it makes
// when it is built.
class KeepsOuterSize : public OuterTwips {
 public:
  int outerTwips(GeometryPart part) const override { return outerSize_->twips(part); }
  void setOuterTwips(GeometryPart part, int twips) override { outerSize_->setTwips(part, twips); }

 protected:
  ~KeepsOuterSize() = default;
  OuterSize* outerSize_ = nullptr;
};

}  // namespace korvel
