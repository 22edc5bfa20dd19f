#include "settings/window_geometry.h"

#include "common/failing_step.h"
#include "common/number_text.h"
#include "settings/setting_reader.h"

namespace korvel {

void readWindowGeometry(const IniText& file, const WindowGeometryKeys& keys,
                        OuterTwips& window) {
  for (std::size_t k = 0; k < keys.size(); ++k) {
    const double value = readSetting(file, keys[k]);
    runStep([&] { window.setOuterTwips(GeometryPart(k), int{toInt16(value).value()}); });
  }
}

std::array<IniEntry, kGeometryPartCount> windowGeometryEntries(
    const WindowGeometryKeys& keys, const OuterTwips& window,
    std::array<std::string, kGeometryPartCount>& texts) {
  std::array<IniEntry, kGeometryPartCount> entries;
  for (std::size_t k = 0; k < keys.size(); ++k) {
    texts[k] = std::to_string(window.outerTwips(GeometryPart(k)));
    entries[k] = {keys[k].section, keys[k].key, texts[k]};
  }
  return entries;
}

bool writeWindowGeometry(const std::string& filePath, const WindowGeometryKeys& keys,
                         const OuterTwips& window) {
  std::array<std::string, kGeometryPartCount> texts;
  return writeIniValues(filePath, windowGeometryEntries(keys, window, texts));
}

}  // namespace korvel
