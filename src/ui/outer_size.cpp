#include "ui/outer_size.h"

#include <QEvent>

#include "ui/twips.h"

namespace korvel {

int OuterSize::Kept::twipsAt(int shownPixels) const {
  return given && shownPixels == pixels ? twips : pixelsToTwips(shownPixels);
}

void OuterSize::Kept::give(int value) {
  twips = value;
  pixels = twipsToPixels(value);
  given = true;
}

OuterSize::OuterSize(QWidget* window, bool fixed, QSize smallestInterior, int addedHeight)
    : QObject(window),
      window_(window),
      fixed_(fixed),
      smallestInterior_(smallestInterior),
      addedHeight_(addedHeight),
      outer_(window->frameGeometry().size() - QSize(0, addedHeight)) {
  window->installEventFilter(this);
}

int OuterSize::twips(GeometryPart part) const {
  const QRect frame = window_->frameGeometry();
  const int shown[] = {frame.y(), frame.x(), outer_.width(), outer_.height()};
  const auto k = static_cast<std::size_t>(part);
  return kept_[k].twipsAt(shown[k]);
}

void OuterSize::setTwips(GeometryPart part, int twips) {
  Kept& kept = kept_[static_cast<std::size_t>(part)];
  kept.give(twips);
  const QRect frame = window_->frameGeometry();
  switch (part) {
    case GeometryPart::Top: return window_->move(frame.x(), kept.pixels);
    case GeometryPart::Left: return window_->move(kept.pixels, frame.y());
    case GeometryPart::Width: outer_.setWidth(kept.pixels); break;
    case GeometryPart::Height: outer_.setHeight(kept.pixels); break;
  }
  apply();
}

QMargins OuterSize::frame() const {
  const QRect outer = window_->frameGeometry();
  const QRect inner = window_->geometry();
  return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
          outer.bottom() - inner.bottom()};
}

void OuterSize::apply() {
  appliedFrame_ = frame();
  appliedInterior_ = QSize(outer_.width() - appliedFrame_.left() - appliedFrame_.right(),
                           outer_.height() - appliedFrame_.top() - appliedFrame_.bottom())
                         .expandedTo(smallestInterior_) +
                     QSize(0, addedHeight_);
  if (fixed_) {
    window_->setFixedSize(appliedInterior_);
  } else {
    window_->resize(appliedInterior_);
  }
}

bool OuterSize::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_) {
    const auto type = event->type();
    if (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize) {
      if (frame() != appliedFrame_) {
        apply();
      } else if (type == QEvent::Resize && window_->size() != appliedInterior_) {
        outer_ = window_->frameGeometry().size() - QSize(0, addedHeight_);  // the user's own resize
      }
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace korvel
