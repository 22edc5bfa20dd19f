#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <optional>
#include <vector>

#include "geometry/lens_fit.h"
#include "settings/lens_store.h"

// "Measure a lens…": rows of magnification and travel measured on the camera
// give the lens's true focal length, the infinity stop's error and what the
// uncertainty means for the cam; measured lenses are kept for later.
namespace korvel {

struct MeasureLensUnits {
  bool travelInches = false;  // the measurement unit boxes: travel typed in inches
  bool focalInches = false;   // the focal-length unit: what FocalLength takes
};

class MeasureLensDialog : public QDialog {
  Q_OBJECT
 public:
  // Table columns.
  enum Column { Magnification, Image, Object, Travel, Residual, ColumnCount };

  MeasureLensDialog(const QString& programFolder, MeasureLensUnits units, QWidget* parent = nullptr);

  // The focal length as FocalLength takes it: mm with two decimals, inches
  // with four; empty without a fit.
  QString focalLengthText() const;
  const std::optional<LensFit>& fit() const { return fit_; }

  QLineEdit* LensName;
  QLineEdit* EngravedFocal;  // mm
  QTableWidget* Rows;
  QLabel* Result;
  QLabel* Warnings;
  QPushButton* UseFocal;
  QPushButton* SaveLens;
  QListWidget* KeptLenses;
  QPushButton* UseKept;
  QPushButton* EditKept;
  QPushButton* DeleteKept;
  QLabel* Message;

 signals:
  // "Use this focal length" or a kept lens's "Use": the text for FocalLength.
  void focalLengthChosen(const QString& text);

 private:
  struct TableRows {
    std::vector<LensRow> rows;
    QString error;
  };
  TableRows readTable() const;
  void refit();
  void rowsEdited(int row);
  void choose(double focalMm);
  void saveLens();
  void editKept();
  void deleteKept();
  void showKept();
  bool writeKept();
  QString focalText(double focalMm) const;

  QString folder_;
  MeasureLensUnits units_;
  std::optional<LensFit> fit_;
  std::vector<KeptLens> kept_;
  bool filling_ = false;  // the dialog itself writes cells
};

}  // namespace korvel
