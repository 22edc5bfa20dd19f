#include "ui/outer_size.h"

#include <QEvent>

namespace korvel {

OuterSize::OuterSize(QWidget* window, bool fixed)
    : QObject(window), window_(window), fixed_(fixed), outer_(window->frameGeometry().size()) {
  window->installEventFilter(this);
}

QMargins OuterSize::frame() const {
  const QRect outer = window_->frameGeometry();
  const QRect inner = window_->geometry();
  return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
          outer.bottom() - inner.bottom()};
}

void OuterSize::setWidth(int pixels) {
  outer_.setWidth(pixels);
  apply();
}

void OuterSize::setHeight(int pixels) {
  outer_.setHeight(pixels);
  apply();
}

void OuterSize::apply() {
  appliedFrame_ = frame();
  const QSize inner(std::max(outer_.width() - appliedFrame_.left() - appliedFrame_.right(), 1),
                    std::max(outer_.height() - appliedFrame_.top() - appliedFrame_.bottom(), 1));
  if (fixed_) {
    window_->setFixedSize(inner);
  } else {
    window_->resize(inner);
  }
}

bool OuterSize::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_) {
    const auto type = event->type();
    if (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize) {
      if (frame() != appliedFrame_) {
        apply();
      } else if (type == QEvent::Resize) {
        outer_ = window_->frameGeometry().size();  // the user's own resize
      }
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace korvel
