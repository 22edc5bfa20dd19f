#include "cli/focal_length_argument.h"

#include <QLocale>
#include <cmath>

#include "common/units.h"
#include "geometry/cuttable_range.h"

namespace korvel {

double focalLengthMm(double value, bool inch) { return inch ? value * kMmPerInch : value; }

FocalLengthArgument readPlainNumber(const QString& text) {
  QLocale plain = QLocale::c();
  plain.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);
  bool ok = false;
  const double value = plain.toDouble(text.trimmed(), &ok);
  if (!ok || !std::isfinite(value))
    return {std::nullopt, "not a number: \"" + text +
                              "\" (\".\" is the decimal point, without group separators)"};
  return {value, {}};
}

FocalLengthArgument readFocalLengthArgument(const QString& text, bool inch) {
  const FocalLengthArgument number = readPlainNumber(text);
  if (!number.value) return number;
  const double value = *number.value;
  const double mm = focalLengthMm(value, inch);
  if (!isCuttableFocalLength(mm)) {
    const QString given = inch ? text.trimmed() + " in (" + QString::number(mm, 'g', 10) + " mm)"
                               : text.trimmed() + " mm";
    return {std::nullopt, "the focal length " + given + " lies outside the cuttable range, " +
                              QString::fromStdString(cuttableRangeText())};
  }
  return {value, {}};
}

}  // namespace korvel
