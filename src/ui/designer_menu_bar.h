#pragma once

#include <QMenuBar>
#include <QString>
#include <QUrl>

// The designer window's menu bar: File (Export for cutting…, Export focus
// check card…, Save cam bitmap,
// Quit), Tools (Measure a lens…, Check a cut cam…) and Help (Manual, About).
namespace korvel {

class CamDesigner;

QMenuBar* createDesignerMenuBar(CamDesigner& designer);

// The manual for a program running from programFolder: the README an
// installed, built or portable program finds beside it, else the man page.
QUrl manualUrl(const QString& programFolder);

}  // namespace korvel
