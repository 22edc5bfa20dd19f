#pragma once

#include <QString>
#include <optional>

// A focal length typed on the command line. "." is the only decimal point and
// a group separator is refused, so a user with a decimal comma never gets a
// cam a thousand times too long from "1,500"; the lens must lie in the range a
// cam can be cut for.
namespace korvel {

struct FocalLengthArgument {
  std::optional<double> value;  // as typed, in inches or millimetres
  QString error;                // why the text was refused, naming it
};

FocalLengthArgument readFocalLengthArgument(const QString& text, bool inch);

// Any number typed on the command line: "." as the decimal point, no group
// separators, finite.
FocalLengthArgument readPlainNumber(const QString& text);

// The focal length in millimetres, for a value in inches or millimetres.
double focalLengthMm(double value, bool inch);

}  // namespace korvel
