#pragma once

#include <QLocale>
#include <QString>
#include <optional>

namespace korvel {

// A cam sheet field read as a whole: the entire text, blanks around it aside,
// must be one number in the user's regional format, or failing that one with a
// point as the decimal separator; group separators are refused ("1,500" is no
// lens of 1500 mm). Empty text, trailing letters or a value out of range give
// nullopt.
std::optional<double> wholeTextNumber(const QString& text, const QLocale& locale = QLocale::system());

// A printer correction factor: read as a whole like a sheet field, so "0,95"
// under a decimal comma is 0.95; failing that, the leading number of the text
// as the factors have always been read ("0.95x" is 0.95, a text that does not
// begin with a number 0).
std::optional<double> correctionFactorIn(const QString& text, const QLocale& locale = QLocale::system());

}  // namespace korvel
