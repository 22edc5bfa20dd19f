#pragma once

#include <QImage>
#include <QString>

// Compares a picture pixel for pixel with its golden image in
// tests/data/golden. On a mismatch the actual picture and a difference image
// (differing pixels red over a faint copy of the golden one) are written to
// the build's tests/golden folder, named after the golden file, for a look.
namespace korvel::testing {

void expectMatchesGolden(const QImage& actual, const QString& goldenName);

}  // namespace korvel::testing
