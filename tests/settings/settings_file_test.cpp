// The settings file: reading and writing its keys, and what each of the
// program's keys makes of a stored text.
#include "settings/ini_file.h"
#include "settings/setting_reader.h"
#include "support/files.h"

namespace korvel {
namespace {

using namespace std::string_literals;

const std::string kHugeLine(10 * 1024 * 1024, 'x');  // far beyond any buffer a line might get

class IniFile : public ::testing::Test {
 protected:
  std::string path(const char* name = "s.ini") const { return dir.local(name); }
  void put(const std::string& bytes, const char* name = "s.ini") const {
    QFile::remove(dir.path(name));
    if (!bytes.empty()) dir.put(name, QByteArray::fromStdString(bytes));
  }
  std::string get(const char* name = "s.ini") const { return dir.get(name).toStdString(); }
  testing::TempFolder dir;
};

// Rows: name, file ("" for none), section, key, value read.
TEST_F(IniFile, Reading) {
  const std::array<std::string, 5> rows[] = {
      {"names in any letter case", "[Windows]\nTavoTop=1500\n", "wINDOWS", "TAVOtop", "1500"},
      {"blanks and comments", "; c\n[ \tS ] ;\n; k=0\n\nk\n \tk\t= a=b \t", "S", "K", "a=b"},
      {"cut to 39", "[S]\nk=" + kHugeLine + "\n", "S", "k", kHugeLine.substr(0, 39)},
      {"first section and key win", "[S]\nk=1\nK=2\n[s]\nk=3\n", "S", "k", "1"},
      {"only the first section is searched", "[S]\na=1\n[s]\nk=2\n", "S", "k", ""},
      {"no section before a bracket line", "k=top\n[S\nk=v\n", "S", "k", ""},
      {"crlf and bare cr", "[A]\r\na=1\n[S]\r\nk=v\r", "S", "k", "v"},
      {"utf8 and nul", "[S]\nk=Größe\0½\n"s, "S", "k", "Größe\0½"s},
      {"blank value", "[S]\nk= \t \n", "S", "k", ""}, {"empty key name", "[S]\n=v\n", "S", "", ""},
      {"missing file", "", "S", "k", ""},
  };
  for (const auto& [name, file, section, key, value] : rows) {
    put(file);
    EXPECT_EQ(readIniValue(path(), section, key).value, value) << name;
  }
}

// Rows: name, file before, section, key, value written, file after.
TEST_F(IniFile, WritingOneKey) {
  const std::array<std::string, 6> rows[] = {
      {"replace in place", "[S]\n  K = old \r\nb=2", "s", "k", "", "[S]\nk=\r\nb=2"},
      {"the first of two", "[S]\nk=1\nk=2\n[S]\nk=3", "S", "k", "9", "[S]\nk=9\nk=2\n[S]\nk=3"},
      {"insert after a comment", "[A]\na=1\n;\n\n[B]", "A", "k", "v", "[A]\na=1\n;\nk=v\n\n[B]"},
      {"insert after a bare cr", "[A]\na=1\r", "A", "k", "v", "[A]\na=1\r\nk=v\n"},
      {"new section", "; c\nk=1", "B", "k", "Größe", "; c\nk=1\n[B]\nk=Größe\n"},
      {"crlf stays crlf", "[A]\r\na=1\r\n\r\n", "B", "k", "v", "[A]\r\na=1\r\n\r\n[B]\r\nk=v\r\n"},
      {"new file", "", "B", "k", "v", "[B]\nk=v\n"},
      {"a huge line kept", "[S]\n" + kHugeLine, "S", "k", "v", "[S]\n" + kHugeLine + "\nk=v\n"},
  };
  for (const auto& [name, before, section, key, value, after] : rows) {
    put(before);
    EXPECT_TRUE(writeIniValue(path(), section, key, value)) << name;
    EXPECT_EQ(get(), after) << name;
  }
}

// A break or NUL would split the line and an empty name would never be found:
// such a write fails and leaves the file, or the lack of one, as it was.
TEST_F(IniFile, WritingWhatCannotBeStored) {
  put("[S]\r\nk=1\r\n");
  for (const auto& [section, key, value] : std::initializer_list<std::array<std::string, 3>>{
           {"S", "k", "a\nb"}, {"S", "k", "a\rb"}, {"S", "k", "a\0b"s}, {"S", "k\0"s, "1"},
           {"S", "", "1"}, {"", "k", "1"}, {"S\n", "k", "1"}})
    EXPECT_FALSE(writeIniValue(path(), section, key, value));
  EXPECT_EQ(get(), "[S]\r\nk=1\r\n");
  EXPECT_FALSE(writeIniValue(path("new.ini"), "S", "k", "a\nb"));
  EXPECT_EQ(dir.entries(), QStringList{"s.ini"});
  // A file that cannot be written says why, for the window to tell.
  EXPECT_EQ(writeIniValue(path("none/s.ini"), "S", "k", "1").error, ENOENT);
}

TEST_F(IniFile, KeysWrittenTogetherGiveTheBytesOfSingleWrites) {
  // Keys that stand in the file or not, in sections that do or not, one that
  // cannot be stored and is skipped, and one written twice.
  const IniEntry entries[] = {
      {"Windows", "TavoTop", "1"}, {"Options", "Checkmm", "0"}, {"options", "CHECKINCH", "1"},
      {"PrinterCor", "YCor", "0.9\n1"}, {"FocalLengths", "FL9", "2"}, {"New", "k", "v"},
      {"Windows", "TavoTop", "3"}};
  for (const std::string before : {"", "; c\r\n[Windows]\r\nTavoTop = 1\r\nX=1\r\n\r\n[Other]",
                                   "[FocalLengths]\nFL3=7\n\n[options]\nCHECKINCH=1\n[Options]"}) {
    put(before);
    put(before, "single.ini");
    ASSERT_TRUE(writeIniValues(path(), entries));
    for (const IniEntry& e : entries) writeIniValue(path("single.ini"), e.section, e.key, e.value);
    EXPECT_EQ(get(), get("single.ini")) << before;
  }
}

// What each kind of key makes of a stored text (the key's line as the file
// holds it), and the correction it gets.
TEST_F(IniFile, CorrectionsOfTheProgramsKeys) {
  const auto& d = kDesignerKeys;
  const std::tuple<std::string, const SettingKey&, double> rows[] = {
      {"TavoTop=50", d[key::TavoTop], 100}, {"TavoLeft=10001", d[key::TavoLeft], 800},
      {"TavoLeft=50", d[key::TavoLeft], 800}, {"TavoLeft=10000", d[key::TavoLeft], 10000},
      {"TavoWidth=5000", d[key::TavoWidth], 8370}, {"PWLeft=10800", kPlotWindowKeys[1], 10800},
      {"PWLeft=10801", kPlotWindowKeys[1], 800}, {"PWLeft=100", kPlotWindowKeys[1], 100},
      // Beyond 16 bits a key takes its own default; halves go to the even side.
      {"TavoTop=99999", d[key::TavoTop], 100}, {"tavotop=1500.5", d[key::TavoTop], 1500},
      {"Checkmm=-3", d[key::Checkmm], 0}, {"CheckCorInch=-3", d[key::CheckCorInch], 1},
      {"XCor=0,95", d[key::XCor], 0.9375}, {"YCor=0", d[key::YCor], 0.9338},
      {"YCor=1e400", d[key::YCor], 0.9338}, {"XUserMeasure=0", d[key::XUserMeasure], 1},
      {"XUserMeasure=-0.5", d[key::XUserMeasure], -0.5},
      {"XCor=0", d[key::ScannerXCor], 1},
      {"FL3=0.4", d[key::FL3], 135}, {"FL5=99999", d[key::FL5], 210},
      {"FL8=32767.4", d[key::FL8], 32767.4}, {"FL9=32767.5", d[key::FL9], 380},
      {"FL0=150%75", d[key::FL0], 150}, {"FL0=12\0 34"s, d[key::FL0], 12},
      {"FL0=000000000000000000000000000000000000150999", d[key::FL0], 150},
  };
  for (const auto& [stored, key, expected] : rows) {
    put("[" + std::string(key.section) + "]\n" + stored + "\n");
    EXPECT_EQ(readSetting(readIniFile(path()), key), expected) << stored;
  }
}

}  // namespace
}  // namespace korvel
