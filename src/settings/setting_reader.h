#pragma once

#include <optional>
#include <string>

#include "settings/ini_file.h"
#include "settings/setting_keys.h"

namespace korvel {

// Shortens text in place to the part before its first NUL and returns it.
std::string& TrimAtNul(std::string& text);

// Cuts the text at its first NUL, then returns the part before the first "%".
std::string TrimSettingValue(std::string& text);

// Reads one key of the settings file, read once: the key's fallback when it
// is missing or empty; otherwise its text trimmed, read leniently as a number
// (rounded to a 16-bit integer for the integer keys) and corrected. A text whose
// number cannot be held (99999 for a 16-bit key or a focal length, 1e400)
// counts as missing.
double readSetting(const IniText& file, const SettingKey& key);

// The text a key's text box shows for a value: "#.####" for a measurement,
// the shortest number otherwise; nullopt for a value that has no text.
std::optional<std::string> shownSettingText(const SettingKey& key, double value);

// The text a key's text box holds before the settings are read.
std::string initialSettingText(const SettingKey& key);

}  // namespace korvel
