#pragma once

#include <QByteArray>
#include <QSizeF>
#include <QString>
#include <functional>
#include <optional>

class QPainter;

// One portrait page of standard paper as a PDF, painted in memory so that the
// file is written in one piece: the drawing for filing a cam to, and the focus
// check card.
namespace korvel {

enum class Paper { A4, Letter };

// Letter where the user's locale measures in US units, A4 everywhere else.
Paper localePaper();

// "a4" or "letter", in any letter case.
std::optional<Paper> paperNamed(const QString& name);

// Portrait: width by height, in inches.
QSizeF paperSizeIn(Paper paper);

// Painted at this many dots per inch: a micrometre is well below one dot.
inline constexpr int kPdfDotsPerInch = 1200;

// The page's content, painted by paint with (0, 0) at the page's top-left
// corner and no margins; nothing, with the reason in error, when the PDF
// cannot be started.
std::optional<QByteArray> paintPdfPage(Paper paper, const std::function<void(QPainter&)>& paint,
                                       QString& error);

}  // namespace korvel
