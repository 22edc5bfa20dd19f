#include "settings/setting_reader.h"

#include "common/failing_step.h"
#include "common/number_text.h"
#include "settings/ini_file.h"

namespace korvel {

std::string& TrimAtNul(std::string& text) {
  const auto nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

std::string TrimSettingValue(std::string& text) {
  const std::string& whole = TrimAtNul(text);
  return whole.substr(0, whole.find('%'));
}

double readSetting(const IniText& file, const SettingKey& key) {
  IniReadResult stored = file.value(key.section, key.key);
  if (stored.count == 0) return key.fallback;

  const std::string text = TrimSettingValue(stored.value);
  double value = key.fallback;
  if (key.kind == SettingKind::Int16) {
    runStep(value, [&]() -> std::optional<double> {
      const auto number = readLeadingNumber(text);
      if (!number) return std::nullopt;
      const auto whole = toInt16(*number);
      if (!whole) return std::nullopt;
      return static_cast<double>(*whole);
    });
  } else if (key.kind == SettingKind::FocalLength) {
    // Kept with its fraction, but held to the range of the other integer keys.
    runStep(value, [&]() -> std::optional<double> {
      const auto number = readLeadingNumber(text);
      if (!number || !toInt16(*number)) return std::nullopt;
      return number;
    });
  } else {
    runStep(value, [&] { return readLeadingNumber(text); });
  }
  return key.correct(value);
}

std::optional<std::string> shownSettingText(const SettingKey& key, double value) {
  if (key.control == SettingControl::Measurement)
    return formatWithPattern(value, NumberPattern::FourDecimalsNoLeadingZero);
  return generalNumberText(value);
}

std::string initialSettingText(const SettingKey& key) {
  if (!key.initialText.empty()) return std::string(key.initialText);
  return shownSettingText(key, key.fallback).value_or(std::string());
}

}  // namespace korvel
