#include "ui/designer_text_box.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTimer>

namespace korvel {

DesignerTextBox::DesignerTextBox(const QString& text, bool selectAllOnFocus, QWidget* parent)
    : QLineEdit(text, parent), selectAllOnFocus_(selectAllOnFocus) {
  connect(this, &QLineEdit::textEdited, this, [this] { clearMark(); });
}

void DesignerTextBox::markWith(const QString& warning) {
  setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid red; }"));
  setToolTip(warning);
}

void DesignerTextBox::clearMark() {
  setStyleSheet(QString());
  setToolTip(QString());
}

void DesignerTextBox::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (selectAllOnFocus_) {
    SelectAllActiveText();
    // A click that brought the focus places the caret after this event; select
    // again once it has.
    if (event->reason() == Qt::MouseFocusReason) QTimer::singleShot(0, this, [] { SelectAllActiveText(); });
  } else if (hasSelectedText()) {
    deselect();
  }
}

void SelectAllActiveText() {
  if (auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget())) box->selectAll();
}

}  // namespace korvel
