#pragma once

#include <QString>

namespace korvel {

// The cause of a failed write, from its errno, in the words the window and the
// command line show: "permission denied", "read-only file system", "no such
// folder", "name too long", "not a regular file", "disk full" (only for a full
// disk or quota), else the system's own text.
QString writeErrorText(int error);

}  // namespace korvel
