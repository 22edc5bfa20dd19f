#pragma once

#include <QLocale>
#include <QString>
#include <optional>

namespace korvel {

// A cam sheet field read as a whole: the entire text, blanks around it aside,
// must be one number in the user's regional format, or failing that one with a
// point as the decimal separator. Empty text, trailing letters or a value out
// of range give nullopt.
std::optional<double> wholeTextNumber(const QString& text, const QLocale& locale = QLocale::system());

}  // namespace korvel
