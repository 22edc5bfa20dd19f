#pragma once

#include <QFont>

// The faces the drawings are lettered in, so a cam drawn without a window
// carries the same captions as the one on screen.
namespace korvel {

// The designer's standard face, whose widths match the captions the window
// and its preview were laid out for.
QFont previewFont();
// The cam sheet's lettering: Arial (metric-compatible Liberation Sans) 8.25 pt.
QFont sheetFont();

}  // namespace korvel
