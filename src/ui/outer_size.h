#pragma once

#include <QMargins>
#include <QObject>
#include <QSize>
#include <QWidget>

// Window sizes in the settings file are outer sizes, frame included. The
// window system may tell the frame's size only once the window is shown; this
// keeps the outer size as asked and re-fits the interior when the frame
// becomes known, so a window never grows by its frame from one run to the next.
namespace korvel {

class OuterSize : public QObject {
 public:
  // fixed: the user cannot resize the window (the interior is fixed too).
  OuterSize(QWidget* window, bool fixed);

  void setWidth(int pixels);
  void setHeight(int pixels);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QMargins frame() const;
  void apply();

  QWidget* window_;
  bool fixed_;
  QSize outer_;
  QMargins appliedFrame_;
};

}  // namespace korvel
