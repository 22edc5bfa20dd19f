#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <optional>

#include "common/number_text.h"

// Numbers out of and into the designer's controls.
namespace korvel {

inline std::optional<double> numberIn(const QString& text) { return readLeadingNumber(text.toStdString()); }
inline std::optional<double> numberIn(const QLineEdit* box) { return numberIn(box->text()); }
inline std::optional<double> numberIn(const QLabel* label) { return numberIn(label->text()); }

inline QString qText(const std::string& text) { return QString::fromStdString(text); }

}  // namespace korvel
