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

OuterSize::OuterSize(QWidget* window, bool fixed, QSize smallestInterior)
    : QObject(window),
      window_(window),
      fixed_(fixed),
      smallestInterior_(smallestInterior),
      outer_(window->frameGeometry().size()) {
  window->installEventFilter(this);
}

int OuterSize::topTwips() const { return top_.twipsAt(window_->frameGeometry().y()); }
int OuterSize::leftTwips() const { return left_.twipsAt(window_->frameGeometry().x()); }
int OuterSize::widthTwips() const { return width_.twipsAt(outer_.width()); }
int OuterSize::heightTwips() const { return height_.twipsAt(outer_.height()); }

void OuterSize::setTopTwips(int twips) {
  top_.give(twips);
  window_->move(window_->frameGeometry().x(), top_.pixels);
}

void OuterSize::setLeftTwips(int twips) {
  left_.give(twips);
  window_->move(left_.pixels, window_->frameGeometry().y());
}

void OuterSize::setWidthTwips(int twips) {
  width_.give(twips);
  outer_.setWidth(width_.pixels);
  apply();
}

void OuterSize::setHeightTwips(int twips) {
  height_.give(twips);
  outer_.setHeight(height_.pixels);
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
                         .expandedTo(smallestInterior_);
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
        outer_ = window_->frameGeometry().size();  // the user's own resize
      }
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace korvel
