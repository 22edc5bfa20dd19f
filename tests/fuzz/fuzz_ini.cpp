// Any bytes as a settings file: reading never fails, and a key written reads
// back as written while every other line stays.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>

#include "settings/ini_file.h"

using namespace korvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static QTemporaryDir folder;
  const std::string path = QDir(folder.path()).filePath("KorvelCamDesigner.ini").toStdString();
  const std::string input(reinterpret_cast<const char*>(data), size);
  {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) return 0;
    file.write(input.data(), static_cast<qint64>(input.size()));
  }
  // Names and a value taken from the input's first bytes.
  const std::string section = input.substr(0, std::min<std::size_t>(size, 8));
  const std::string key = size > 8 ? input.substr(8, 6) : "FL0";
  const std::string value = size > 14 ? input.substr(14, 20) : "150";
  for (const char* k : {"TavoTop", "XCor", "FL9"}) {
    const IniReadResult r = readIniValue(path, "Windows", k);
    if (r.count != r.value.size() || r.count > kIniValueCapacity) std::abort();
  }
  readIniValue(path, section, key);

  if (writeIniValue(path, "Windows", "TavoTop", value)) {
    const bool plain = !value.empty() && value.front() != ' ' && value.front() != '\t' && value.back() != ' ' &&
                       value.back() != '\t';
    const IniReadResult back = readIniValue(path, "Windows", "TavoTop");
    if (plain && back.value != value.substr(0, kIniValueCapacity)) std::abort();
  }
  writeIniValue(path, section, key, value);
  return 0;
}
