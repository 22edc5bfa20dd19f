// Any bytes as a settings file. Reading never fails and never returns more than
// a value's 39 characters; a key that is written reads back as written, and a
// write that cannot be done leaves the file as it was.
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "settings/ini_file.h"

using namespace korvel;

// Names the program reads and names a junk file is likely to hold.
static const std::string kSections[] = {"Windows", "PrinterCor", "FocalLengths", "S"};
static const std::string kKeys[] = {"TavoTop", "XCor", "FL0", "k"};

static bool isBlank(char c) { return c == ' ' || c == '\t'; }

static std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

static void checkRead(const std::string& path, const std::string& section, const std::string& key) {
  const IniReadResult r = readIniValue(path, section, key);
  const std::string& v = r.value;
  if (r.count != v.size() || r.count > kIniValueCapacity || v.find('\n') != v.npos) std::abort();
  // Blanks are trimmed before the value is cut, so only a cut value may end in one.
  const bool cut = r.count == kIniValueCapacity;
  if (!v.empty() && (isBlank(v.front()) || (isBlank(v.back()) && !cut))) std::abort();
}

// Writes one key: it reads back as written, or the file stays as it was.
static void checkWrite(const std::string& path, const std::string& section, const std::string& key,
                const std::string& value) {
  const std::string before = fileText(path);
  if (!writeIniValue(path, section, key, value)) {
    if (fileText(path) != before) std::abort();
    return;
  }
  if (!value.empty() && (isBlank(value.front()) || isBlank(value.back()))) return;
  if (readIniValue(path, section, key).value != value.substr(0, kIniValueCapacity)) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static QTemporaryDir folder;
  const std::string path = folder.filePath("KorvelCamDesigner.ini").toStdString();
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << input;
  for (const std::string& section : kSections)
    for (const std::string& key : kKeys) checkRead(path, section, key);

  // A key that may stand in the file, then one of a section it lacks; the
  // first still reads back after the second. The value is the input's tail.
  const std::string& section = kSections[size % 4];
  const std::string& key = kKeys[size / 4 % 4];
  const std::string value = input.substr(size - std::min<std::size_t>(size, 1 + size % 45));
  checkWrite(path, section, key, value);
  checkWrite(path, section + "Fz", key, value);
  checkWrite(path, section, key, value);
  return 0;
}
