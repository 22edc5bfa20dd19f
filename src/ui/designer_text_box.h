#pragma once

#include <QLineEdit>

// A text box of the designer window. Boxes meant for typing a new number over
// the old one select their whole text whenever they gain the focus; the others
// keep the caret where it is and select nothing.
namespace korvel {

class DesignerTextBox : public QLineEdit {
  Q_OBJECT
 public:
  DesignerTextBox(const QString& text, bool selectAllOnFocus, QWidget* parent);

  // A red frame and a tooltip saying why, until the user edits the text.
  void markWith(const QString& warning);
  void clearMark();
  bool isMarked() const { return !toolTip().isEmpty(); }

 protected:
  void focusInEvent(QFocusEvent* event) override;

 private:
  bool selectAllOnFocus_;
};

// Selects the whole text of the focused control, if it is a text box.
void SelectAllActiveText();

}  // namespace korvel
