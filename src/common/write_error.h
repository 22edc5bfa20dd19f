#pragma once

#include <QString>

namespace korvel {

// The cause of a failed write, from its errno, in the words the window and the
// command line show: "permission denied", "the disk is full", ...
QString writeErrorText(int error);

}  // namespace korvel
