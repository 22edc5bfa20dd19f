// Any bytes as a settings file. Reading never fails and never returns more than
// a value's 39 characters; a key that is written reads back as written.
//
// The section and key names come from the input itself: every "[name]" line
// gives a section, every "name=value" line a key and a value, so the writes hit
// keys that are there as well as keys and sections that are not.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ini_file.h"

using namespace korvel;

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool hasOuterBlank(std::string_view s) {
  return !s.empty() && (isBlank(s.front()) || isBlank(s.back()));
}

bool holdsBreakOrNul(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Names that a "[name]" line and a "name=value" line can carry unchanged. A
// section with "]" or a key with "=" cannot be found again by any reader of
// this dialect, and a "key=value" line that starts with "[" and holds "]" reads
// as a section, so the round trip is only checked for the others.
bool representableSection(std::string_view s) {
  return !s.empty() && !hasOuterBlank(s) && s.find(']') == std::string_view::npos &&
         !holdsBreakOrNul(s);
}

bool representableEntry(std::string_view k, std::string_view value) {
  if (k.empty() || hasOuterBlank(k) || k.find('=') != std::string_view::npos ||
      holdsBreakOrNul(k)) {
    return false;
  }
  const bool looksLikeSection = k.front() == '[' && (k.find(']') != std::string_view::npos ||
                                                     value.find(']') != std::string_view::npos);
  return !looksLikeSection;
}

struct Names {
  std::vector<std::string> sections;
  std::vector<std::string> keys;
  std::vector<std::string> values;  // untrimmed, as they stand after the "="
};

Names namesIn(std::string_view text) {
  Names names;
  std::size_t begin = 0;
  while (begin < text.size() && names.sections.size() + names.keys.size() < 16) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(begin, end - begin);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    begin = end + 1;

    const std::string_view t = trimmed(line);
    if (!t.empty() && t.front() == '[') {
      const std::size_t close = t.find(']');
      if (close != std::string_view::npos) {
        names.sections.emplace_back(trimmed(t.substr(1, close - 1)));
        continue;
      }
    }
    const std::size_t equals = line.find('=');
    if (equals != std::string_view::npos) {
      names.keys.emplace_back(trimmed(line.substr(0, equals)));
      names.values.emplace_back(line.substr(equals + 1));
    }
  }
  return names;
}

void checkRead(const std::string& path, std::string_view section, std::string_view key) {
  const IniReadResult r = readIniValue(path, section, key);
  if (r.count != r.value.size() || r.count > kIniValueCapacity) std::abort();
  // Blanks are trimmed before the value is cut, so only a cut value may end in one.
  if (!r.value.empty() && isBlank(r.value.front())) std::abort();
  if (!r.value.empty() && isBlank(r.value.back()) && r.count != kIniValueCapacity) std::abort();
  if (r.value.find('\n') != std::string::npos) std::abort();
}

// Writes one key and, when that succeeded, reads it back.
void checkWrite(const std::string& path, const std::string& section, const std::string& key,
                const std::string& value) {
  if (!writeIniValue(path, section, key, value)) return;
  if (!representableSection(section) || !representableEntry(key, value)) return;
  if (hasOuterBlank(value)) return;
  const std::string expected(trimmed(value).substr(0, kIniValueCapacity));
  const IniReadResult back = readIniValue(path, section, key);
  if (back.value != expected || back.count != expected.size()) std::abort();
}

template <typename T>
const T& pick(const std::vector<T>& from, std::size_t seed, const T& fallback) {
  return from.empty() ? fallback : from[seed % from.size()];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static QTemporaryDir folder;
  if (!folder.isValid()) return 0;
  const std::string path =
      QFile::encodeName(QDir(folder.path()).filePath("KorvelCamDesigner.ini")).toStdString();
  const std::string input(reinterpret_cast<const char*>(data), size);
  {
    QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    if (file.write(input.data(), static_cast<qint64>(input.size())) !=
        static_cast<qint64>(input.size())) {
      return 0;
    }
  }
  const Names names = namesIn(input);

  // The keys the program itself reads, and every name pair the input offers.
  checkRead(path, "Windows", "TavoTop");
  checkRead(path, "PrinterCor", "XCor");
  checkRead(path, "FocalLengths", "FL0");
  for (std::size_t s = 0; s < names.sections.size() && s < 4; ++s) {
    for (std::size_t k = 0; k < names.keys.size() && k < 4; ++k) {
      checkRead(path, names.sections[s], names.keys[k]);
    }
  }

  const std::string fallbackSection = "Windows";
  const std::string fallbackKey = "TavoTop";
  const std::string fallbackValue = "150";
  const std::size_t seed = size;
  const std::string& section = pick(names.sections, seed, fallbackSection);
  const std::string& key = pick(names.keys, seed / 3, fallbackKey);
  const std::string& value = pick(names.values, seed / 7 + 1, fallbackValue);

  // A key that may stand in the file already, a key the section lacks, and a
  // section the file lacks.
  checkWrite(path, section, key, value);
  checkWrite(path, section, key + "Fz", std::string(trimmed(value)));
  checkWrite(path, section + "Fz", key, value);
  // The earlier keys still read back after the later writes.
  checkWrite(path, section, key, value);
  return 0;
}
