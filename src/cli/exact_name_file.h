#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

#include "export/cut_files.h"

// A file named on the command line is written under exactly the bytes given.
// Qt turns a name that is not valid in the locale's encoding (caf\xe9.dxf
// under UTF-8) into another one, so such a file is written under a stand-in
// name beside it, which then replaces the target in one rename.
namespace korvel {

// The name as the messages show it.
QString displayName(const QByteArray& name);

// Calls write with a path Qt can name and which ends up as the file name.
CutFileResult writeUnderExactName(const QByteArray& name,
                                  const std::function<CutFileResult(const QString& path)>& write);

}  // namespace korvel
