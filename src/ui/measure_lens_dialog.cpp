#include "ui/measure_lens_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>
#include <cmath>

#include "common/number_text.h"
#include "common/units.h"

namespace korvel {
namespace {

// The whole text as a finite number, "." as the decimal point.
std::optional<double> cellNumber(const QString& text) {
  const std::string s = text.trimmed().toStdString();
  double value = 0.0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

// Fixed decimals for the results; never "-0.000".
QString fixed(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return QString::number(std::round(value * scale) / scale + 0.0, 'f', decimals);
}

QString plainText(double value) { return QString::fromStdString(generalNumberText(value).value_or("")); }

QString rowMessage(int row, const QString& what) { return QString("row %1: %2").arg(row + 1).arg(what); }

QString notANumber(int row, const char* what, const QString& text) {
  return rowMessage(row, QString("the %1 \"%2\" is not a number").arg(what, text.trimmed()));
}

}  // namespace

MeasureLensDialog::MeasureLensDialog(const QString& programFolder, MeasureLensUnits units, QWidget* parent)
    : QDialog(parent), folder_(programFolder), units_(units) {
  setWindowTitle("Measure a lens");
  LensName = new QLineEdit;
  EngravedFocal = new QLineEdit;
  auto* identity = new QFormLayout;
  identity->addRow("Name:", LensName);
  identity->addRow("Engraved focal length (mm):", EngravedFocal);

  Rows = new QTableWidget(1, ColumnCount);
  Rows->setHorizontalHeaderLabels({"Magnification", "Image", "Object",
                                   units_.travelInches ? "Travel (in)" : "Travel (mm)", "Residual (mm)"});
  Rows->horizontalHeaderItem(Magnification)
      ->setToolTip("Image size over object size, as 0.25 or 1:4; or leave it empty and give both sizes");
  Rows->horizontalHeaderItem(Travel)->setToolTip("Travel of the lens standard from its infinity stop");
  Rows->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  auto* intro = new QLabel(
      "With the lens standard at its infinity stop, focus on a ruler; measure the magnification on the ground "
      "glass and the travel of the standard from the stop. Rows at several distances give the infinity stop's "
      "error too.");
  intro->setWordWrap(true);

  Result = new QLabel;
  Warnings = new QLabel;
  Warnings->setWordWrap(true);
  Warnings->setStyleSheet("color: #a00000");
  UseFocal = new QPushButton("Use this focal length");
  SaveLens = new QPushButton("Save lens");
  auto* actions = new QHBoxLayout;
  actions->addWidget(UseFocal);
  actions->addWidget(SaveLens);
  actions->addStretch();

  KeptLenses = new QListWidget;
  KeptLenses->setMaximumHeight(100);
  UseKept = new QPushButton("Use");
  EditKept = new QPushButton("Edit");
  DeleteKept = new QPushButton("Delete");
  auto* keptButtons = new QVBoxLayout;
  for (QPushButton* button : {UseKept, EditKept, DeleteKept}) keptButtons->addWidget(button);
  keptButtons->addStretch();
  auto* keptBox = new QGroupBox("Kept lenses");
  auto* keptLayout = new QHBoxLayout(keptBox);
  keptLayout->addWidget(KeptLenses);
  keptLayout->addLayout(keptButtons);

  Message = new QLabel;
  Message->setWordWrap(true);
  auto* close = new QDialogButtonBox(QDialogButtonBox::Close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addLayout(identity);
  layout->addWidget(Rows, 1);  // the rows get the room
  layout->addWidget(Result);
  layout->addWidget(Warnings);
  layout->addLayout(actions);
  layout->addWidget(keptBox);
  layout->addWidget(Message);
  layout->addWidget(close);

  connect(Rows, &QTableWidget::cellChanged, this, [this](int row, int) { rowsEdited(row); });
  connect(UseFocal, &QPushButton::clicked, this, [this] {
    if (fit_) choose(fit_->focalMm);
  });
  connect(SaveLens, &QPushButton::clicked, this, &MeasureLensDialog::saveLens);
  connect(UseKept, &QPushButton::clicked, this, [this] {
    const int at = KeptLenses->currentRow();
    if (at >= 0) choose(kept_[static_cast<std::size_t>(at)].focalMm);
  });
  connect(EditKept, &QPushButton::clicked, this, &MeasureLensDialog::editKept);
  connect(DeleteKept, &QPushButton::clicked, this, &MeasureLensDialog::deleteKept);
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
  resize(640, 600);

  const LensStoreRead read = readLensStore(folder_);
  kept_ = read.lenses;
  Message->setText(read.problem);
  showKept();
  refit();
}

QString MeasureLensDialog::focalText(double focalMm) const {
  const auto text = units_.focalInches ? roundedNumberText(focalMm / kMmPerInch, NumberPattern::FourDecimals)
                                       : roundedNumberText(focalMm, NumberPattern::TwoDecimals);
  return QString::fromStdString(text.value_or(""));
}

QString MeasureLensDialog::focalLengthText() const { return fit_ ? focalText(fit_->focalMm) : QString(); }

MeasureLensDialog::TableRows MeasureLensDialog::readTable() const {
  TableRows table;
  const auto cell = [&](int row, int column) {
    const QTableWidgetItem* item = Rows->item(row, column);
    return item ? item->text().trimmed() : QString();
  };
  for (int r = 0; r < Rows->rowCount(); ++r) {
    const QString ratio = cell(r, Magnification), image = cell(r, Image), object = cell(r, Object),
                  travel = cell(r, Travel);
    if (ratio.isEmpty() && image.isEmpty() && object.isEmpty() && travel.isEmpty()) continue;
    std::optional<double> m;
    if (!ratio.isEmpty()) {
      const QStringList parts = ratio.split(':');
      const auto a = cellNumber(parts.front());
      const auto b = parts.size() == 2 ? cellNumber(parts.back()) : std::optional<double>(1.0);
      if (!a || !b || parts.size() > 2) return {{}, notANumber(r, "magnification", ratio)};
      m = *a / *b;
    } else if (!image.isEmpty() && !object.isEmpty()) {
      const auto a = cellNumber(image), b = cellNumber(object);
      if (!a) return {{}, notANumber(r, "image size", image)};
      if (!b) return {{}, notANumber(r, "object size", object)};
      m = *a / *b;
    } else {
      return {{}, rowMessage(r, "give the magnification, or the image and the object size")};
    }
    if (travel.isEmpty()) return {{}, rowMessage(r, "the travel is missing")};
    const auto t = cellNumber(travel);
    if (!t) return {{}, notANumber(r, "travel", travel)};
    table.rows.push_back({*m, units_.travelInches ? *t * kMmPerInch : *t});
  }
  return table;
}

void MeasureLensDialog::rowsEdited(int row) {
  if (filling_) return;
  filling_ = true;
  const auto blank = [&](int r) {
    for (int c = Magnification; c <= Travel; ++c)
      if (const QTableWidgetItem* item = Rows->item(r, c); item && !item->text().trimmed().isEmpty()) return false;
    return true;
  };
  // One empty row stays at the end to type into; an emptied row elsewhere goes,
  // so the rows keep the numbers the messages give them.
  const int last = Rows->rowCount() - 1;
  if (row == last && !blank(row)) Rows->insertRow(Rows->rowCount());
  else if (row != last && blank(row)) Rows->removeRow(row);
  filling_ = false;
  refit();
}

void MeasureLensDialog::refit() {
  fit_.reset();
  const TableRows table = readTable();
  QString problem = table.error;
  if (problem.isEmpty() && !table.rows.empty()) {
    const LensFitResult result = fitLens(table.rows);
    fit_ = result.fit;
    problem = QString::fromStdString(result.error);
  }
  filling_ = true;
  for (int r = 0; r < Rows->rowCount(); ++r) {
    const bool measured = fit_ && static_cast<std::size_t>(r) < fit_->residualsMm.size();
    const bool outlier = measured && fit_->outliers[static_cast<std::size_t>(r)];
    auto* item = new QTableWidgetItem(measured ? fixed(fit_->residualsMm[static_cast<std::size_t>(r)], 3) +
                                                     (outlier ? "  outlier" : "")
                                               : QString());
    item->setFlags(Qt::ItemIsEnabled);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Rows->setItem(r, Residual, item);
    for (int c = 0; c < ColumnCount; ++c)
      if (QTableWidgetItem* cell = Rows->item(r, c)) cell->setBackground(outlier ? QColor(255, 210, 210) : QBrush());
  }
  filling_ = false;
  UseFocal->setEnabled(fit_.has_value());
  if (!fit_) {
    Result->setText(table.rows.empty() && problem.isEmpty() ? "Type the rows measured on the camera." : problem);
    Warnings->clear();
    return;
  }
  const auto withSigma = [](double value, const std::optional<double>& sigma) {
    return fixed(value, 3) + (sigma ? " ± " + fixed(*sigma, 3) : QString()) + " mm";
  };
  QString text = "f = " + withSigma(fit_->focalMm, fit_->sigmaFocalMm) + ",  δ = " +
                 withSigma(fit_->infinityOffsetMm, fit_->sigmaOffsetMm);
  if (fit_->residualsMm.size() == 1) text += " (one row: δ taken as 0)";
  if (fit_->edgeShiftMm) text += "\n±σ moves the working edge by up to " + fixed(*fit_->edgeShiftMm, 2) + " mm";
  Result->setText(text);
  QStringList warnings;
  for (const std::string& warning : lensFitWarnings(*fit_)) {
    QString line = QString::fromStdString(warning);
    line[0] = line[0].toUpper();  // a sentence of its own here
    warnings << line + '.';
  }
  Warnings->setText(warnings.join('\n'));
}

void MeasureLensDialog::choose(double focalMm) {
  emit focalLengthChosen(focalText(focalMm));
  accept();
}

void MeasureLensDialog::showKept() {
  KeptLenses->clear();
  for (const KeptLens& lens : kept_)
    KeptLenses->addItem(QString("%1 — %2 mm, measured %3")
                            .arg(lens.name, fixed(lens.focalMm, 2), lens.measured.toString(Qt::ISODate)));
}

bool MeasureLensDialog::writeKept() {
  const LensStoreWrite written = writeLensStore(folder_, kept_);
  Message->setText(written.message);
  return written.written;
}

void MeasureLensDialog::saveLens() {
  const auto refuse = [&](const QString& why) { Message->setText("Not saved: " + why); };
  if (LensName->text().trimmed().isEmpty()) return refuse("give the lens a name");
  std::optional<double> engraved;
  if (!EngravedFocal->text().trimmed().isEmpty()) {
    engraved = cellNumber(EngravedFocal->text());
    if (!engraved || *engraved <= 0) return refuse("the engraved focal length is not a positive number");
  }
  const TableRows table = readTable();
  if (!table.error.isEmpty()) return refuse(table.error);
  const LensFitResult result = fitLens(table.rows);
  if (!result.fit) return refuse(QString::fromStdString(result.error));

  KeptLens lens{LensName->text().trimmed(), engraved, result.fit->focalMm, result.fit->sigmaFocalMm,
                result.fit->infinityOffsetMm, QDate::currentDate(), {}};
  for (const LensRow& row : table.rows) lens.rows.push_back({row.magnification, row.travelMm});
  const std::vector<KeptLens> before = kept_;
  const auto same = std::find_if(kept_.begin(), kept_.end(), [&](const KeptLens& k) { return k.name == lens.name; });
  if (same != kept_.end()) *same = lens;
  else kept_.push_back(lens);
  if (!writeKept()) {
    kept_ = before;
    return;
  }
  showKept();
  if (Message->text().isEmpty()) Message->setText("Saved " + lens.name + ".");
}

void MeasureLensDialog::editKept() {
  const int at = KeptLenses->currentRow();
  if (at < 0) return;
  const KeptLens& lens = kept_[static_cast<std::size_t>(at)];
  LensName->setText(lens.name);
  EngravedFocal->setText(lens.engravedFocalMm ? plainText(*lens.engravedFocalMm) : QString());
  filling_ = true;
  Rows->clearContents();
  Rows->setRowCount(static_cast<int>(lens.rows.size()) + 1);
  for (int r = 0; r < static_cast<int>(lens.rows.size()); ++r) {
    const KeptLensRow& row = lens.rows[static_cast<std::size_t>(r)];
    Rows->setItem(r, Magnification, new QTableWidgetItem(plainText(row.magnification)));
    Rows->setItem(r, Travel, new QTableWidgetItem(plainText(units_.travelInches ? row.travelMm / kMmPerInch
                                                                                   : row.travelMm)));
  }
  filling_ = false;
  refit();
}

void MeasureLensDialog::deleteKept() {
  const int at = KeptLenses->currentRow();
  if (at < 0) return;
  const std::vector<KeptLens> before = kept_;
  kept_.erase(kept_.begin() + at);
  if (!writeKept()) kept_ = before;
  showKept();
}

}  // namespace korvel
