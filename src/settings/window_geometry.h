#pragma once

#include <array>
#include <string>

#include "settings/ini_file.h"
#include "settings/setting_keys.h"

// A window keeps its outer geometry (frame included) in four keys of the
// settings file, in twips: read when it opens, written when it closes.
namespace korvel {

// A window whose outer geometry is read and set in twips, one part at a time.
class OuterTwips {
 public:
  virtual int outerTwips(GeometryPart part) const = 0;
  virtual void setOuterTwips(GeometryPart part, int twips) = 0;

  int outerTopTwips() const { return outerTwips(GeometryPart::Top); }
  int outerLeftTwips() const { return outerTwips(GeometryPart::Left); }
  int outerWidthTwips() const { return outerTwips(GeometryPart::Width); }
  int outerHeightTwips() const { return outerTwips(GeometryPart::Height); }
  void setOuterTopTwips(int twips) { setOuterTwips(GeometryPart::Top, twips); }
  void setOuterLeftTwips(int twips) { setOuterTwips(GeometryPart::Left, twips); }
  void setOuterWidthTwips(int twips) { setOuterTwips(GeometryPart::Width, twips); }
  void setOuterHeightTwips(int twips) { setOuterTwips(GeometryPart::Height, twips); }

 protected:
  ~OuterTwips() = default;
};

// Reads the window's four keys and sets each part in turn; a part that cannot
// be set keeps its geometry.
void readWindowGeometry(const IniText& file, const WindowGeometryKeys& keys,
                        OuterTwips& window);

// The window's four keys as it stands now, to be written with other keys in one
// replacement of the file. The entries point into texts.
std::array<IniEntry, kGeometryPartCount> windowGeometryEntries(
    const WindowGeometryKeys& keys, const OuterTwips& window,
    std::array<std::string, kGeometryPartCount>& texts);

// Writes the window's four keys with one replacement of the file.
bool writeWindowGeometry(const std::string& filePath, const WindowGeometryKeys& keys,
                         const OuterTwips& window);

}  // namespace korvel
