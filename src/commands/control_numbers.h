#pragma once

#include <QString>
#include <optional>

#include "common/number_text.h"

// Numbers out of and into the texts of the designer's controls.
namespace korvel {

inline std::optional<double> numberIn(const QString& text) { return readLeadingNumber(text.toStdString()); }

inline QString qText(const std::string& text) { return QString::fromStdString(text); }

}  // namespace korvel
