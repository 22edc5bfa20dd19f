#pragma once

#include <QCheckBox>

// A check box's value as the settings file and the commands know it: 0 clear,
// 1 checked, 2 dimmed. Only 1 counts as checked.
namespace korvel {

inline int checkValue(const QCheckBox* box) {
  switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
  }
}

inline bool isChecked(const QCheckBox* box) { return checkValue(box) == 1; }

// Refuses values outside 0..2; the box then keeps its state. Only the settings
// file dims a box; the user's clicks never make it dimmed again.
inline bool setCheckValue(QCheckBox* box, int value) {
  if (value < 0 || value > 2) return false;
  box->setTristate(value == 2);
  box->setCheckState(value == 0 ? Qt::Unchecked : value == 1 ? Qt::Checked : Qt::PartiallyChecked);
  return true;
}

// A check box of the designer window: a click on a dimmed box checks it.
class DesignerCheckBox : public QCheckBox {
 public:
  DesignerCheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {}

 protected:
  void nextCheckState() override {
    if (checkState() == Qt::PartiallyChecked) {
      setCheckValue(this, 1);
    } else {
      QCheckBox::nextCheckState();
    }
  }
};

}  // namespace korvel
