#include "settings/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cctype>
#include <random>
#include <vector>

#include "settings/setting_keys.h"

namespace korvel {
namespace {

using namespace std::string_literals;

class IniFileTest : public ::testing::Test {
 protected:
  std::string path(const char* name = "settings.ini") const {
    return QFile::encodeName(dir.filePath(name)).toStdString();
  }

  void put(const std::string& bytes, const char* name = "settings.ini") const {
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes.data(), static_cast<qint64>(bytes.size())),
              static_cast<qint64>(bytes.size()));
  }

  std::string get(const char* name = "settings.ini") const {
    QFile file(dir.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<unreadable>";
  }

  QTemporaryDir dir;
};

struct ReadCase {
  const char* name;
  std::string content;
  std::string section;
  std::string key;
  std::string value;
};

const std::string k45 = "123456789012345678901234567890123456789012345";

const ReadCase kReadCases[] = {
    {"plain", "[S]\nk=v\n", "S", "k", "v"},
    {"missing section", "[S]\nk=v\n", "T", "k", ""},
    {"missing key", "[S]\nk=v\n", "S", "x", ""},
    {"empty value", "[S]\nk=\n", "S", "k", ""},
    {"blank value", "[S]\nk= \t \n", "S", "k", ""},
    {"empty file", "", "S", "k", ""},
    {"section name case", "[Windows]\nTavoTop=1500\n", "WINDOWS", "TavoTop", "1500"},
    {"key name case", "[Windows]\nTavoTop=1500\n", "windows", "tavotop", "1500"},
    {"blanks around key and value", "[S]\n \t key \t=  a b \t\n", "S", "key", "a b"},
    {"blanks around section name", "[ \tS \t]\nk=v\n", "S", "k", "v"},
    {"text after bracket ignored", "[S] ; note\nk=v\n", "S", "k", "v"},
    {"equals inside value", "[S]\na=b=c\n", "S", "a", "b=c"},
    {"long value cut", "[S]\nk=" + k45 + "\n", "S", "k", k45.substr(0, 39)},
    {"exactly 39", "[S]\nk=" + k45.substr(0, 39) + "\n", "S", "k", k45.substr(0, 39)},
    {"lines before first section", "k=top\n[S]\nk=in\n", "S", "k", "in"},
    {"no section of its own", "k=top\n[S]\n", "S", "k", ""},
    {"first section wins", "[S]\nk=1\n[S]\nk=2\n", "S", "k", "1"},
    {"second section used when first lacks key", "[S]\na=1\n[s]\nk=2\n", "S", "k", ""},
    {"first key wins", "[S]\nk=1\nK=2\n", "S", "k", "1"},
    {"key of other section", "[A]\nk=1\n[B]\nj=2\n", "B", "k", ""},
    {"comments and blank lines", "; top\n[S]\n; k=no\n\nk\nk=yes\n", "S", "k", "yes"},
    {"crlf", "[S]\r\nk=v\r\n", "S", "k", "v"},
    {"mixed endings", "[A]\r\na=1\n[S]\nk=v\r\n", "S", "k", "v"},
    {"last line without newline", "[S]\nk=v", "S", "k", "v"},
    {"last line with bare cr", "[S]\nk=v\r", "S", "k", "v"},
    {"utf8", "[S]\nk=Größe ½\n", "S", "k", "Größe ½"},
    {"nul inside value", "[S]\nk=a\0b\n"s, "S", "k", "a\0b"s},
    {"unclosed bracket is no section", "[S\nk=v\n", "S", "k", ""},
    {"key line with bracket", "[S]\n[x=1\nk=v\n", "S", "k", "v"},
};

// Test names show the case's name instead of the raw bytes of the struct.
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class IniReadTest : public IniFileTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(IniReadTest, ReadsValue) {
  const ReadCase& c = GetParam();
  put(c.content);
  const IniReadResult result = readIniValue(path(), c.section, c.key);
  EXPECT_EQ(result.value, c.value);
  EXPECT_EQ(result.count, c.value.size());
}

INSTANTIATE_TEST_SUITE_P(Cases, IniReadTest, ::testing::ValuesIn(kReadCases), [](const auto& info) {
  std::string name = info.param.name;
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
});

TEST_F(IniFileTest, MissingFileReadsNothing) {
  const IniReadResult result = readIniValue(path("none.ini"), "S", "k");
  EXPECT_EQ(result.value, "");
  EXPECT_EQ(result.count, 0u);
}

TEST_F(IniFileTest, EmptyNamesReadNothing) {
  put("[S]\n=v\n");
  EXPECT_EQ(readIniValue(path(), "S", "").count, 0u);
  EXPECT_EQ(readIniValue(path(), "", "k").count, 0u);
}

TEST_F(IniFileTest, SuccessiveWritesBuildFile) {
  ASSERT_TRUE(writeIniValue(path(), "Windows", "TavoTop", "1500"));
  ASSERT_TRUE(writeIniValue(path(), "Windows", "TavoLeft", "2000"));
  ASSERT_TRUE(writeIniValue(path(), "Options", "Checkmm", "1"));
  ASSERT_TRUE(writeIniValue(path(), "PrinterCor", "XCor", "0.9375"));
  ASSERT_TRUE(writeIniValue(path(), "Options", "CheckCormm", "0"));
  EXPECT_EQ(get(),
            "[Windows]\nTavoTop=1500\nTavoLeft=2000\n[Options]\nCheckmm=1\nCheckCormm=0\n"
            "[PrinterCor]\nXCor=0.9375\n");
  EXPECT_EQ(readIniValue(path(), "printercor", "xcor").value, "0.9375");
}

struct WriteCase {
  const char* name;
  std::string before;
  std::string section;
  std::string key;
  std::string value;
  std::string after;
};

const WriteCase kWriteCases[] = {
    {"replace in place", "[S]\na=1\nk=old\nb=2\n", "S", "k", "new", "[S]\na=1\nk=new\nb=2\n"},
    {"replace uses key as passed", "[S]\n  KEY = old \n", "S", "key", "v", "[S]\nkey=v\n"},
    {"replace first of duplicates", "[S]\nk=1\nk=2\n[S]\nk=3\n", "s", "k", "9",
     "[S]\nk=9\nk=2\n[S]\nk=3\n"},
    {"replace keeps line ending", "[S]\nk=1\r\nj=2\n", "S", "k", "22", "[S]\nk=22\r\nj=2\n"},
    {"replace last line without newline", "[S]\nk=1", "S", "k", "2", "[S]\nk=2"},
    {"insert before blank lines", "[A]\na=1\n\n\n[B]\nb=2\n", "A", "k", "v",
     "[A]\na=1\nk=v\n\n\n[B]\nb=2\n"},
    {"insert after comment", "[A]\na=1\n; note\n \t\n[B]\n", "A", "k", "v",
     "[A]\na=1\n; note\nk=v\n \t\n[B]\n"},
    {"insert into empty section", "[A]\n\n[B]\n", "a", "k", "v", "[A]\nk=v\n\n[B]\n"},
    {"insert at end of file", "[A]\na=1\n", "A", "k", "v", "[A]\na=1\nk=v\n"},
    {"insert after last line without newline", "[A]\na=1", "A", "k", "v", "[A]\na=1\nk=v\n"},
    {"insert after header without newline", "[A]", "A", "k", "v", "[A]\nk=v\n"},
    {"insert after bare cr", "[A]\na=1\r", "A", "k", "v", "[A]\na=1\r\nk=v\n"},
    {"new section at end", "[A]\na=1\n\n", "B", "k", "v", "[A]\na=1\n\n[B]\nk=v\n"},
    {"new section without trailing newline", "[A]\na=1", "B", "k", "v", "[A]\na=1\n[B]\nk=v\n"},
    {"new section after top lines", "; just a comment", "B", "k", "v",
     "; just a comment\n[B]\nk=v\n"},
    {"new section in empty file", "", "B", "k", "v", "[B]\nk=v\n"},
    {"key outside sections is not the key", "k=1\n[A]\n", "A", "k", "2", "k=1\n[A]\nk=2\n"},
    {"crlf file stays crlf", "[A]\r\na=1\r\n", "B", "k", "v", "[A]\r\na=1\r\n[B]\r\nk=v\r\n"},
    {"crlf insert", "[A]\r\na=1\r\n\r\n[B]\r\n", "A", "k", "v", "[A]\r\na=1\r\nk=v\r\n\r\n[B]\r\n"},
    {"first line decides", "[A]\na=1\r\n", "A", "k", "v", "[A]\na=1\r\nk=v\n"},
    {"empty value", "[A]\nk=1\n", "A", "k", "", "[A]\nk=\n"},
    {"utf8 value", "[A]\n", "A", "Name", "Größe ½", "[A]\nName=Größe ½\n"},
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class IniWriteTest : public IniFileTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(IniWriteTest, WritesFile) {
  const WriteCase& c = GetParam();
  if (!c.before.empty()) put(c.before);
  ASSERT_TRUE(writeIniValue(path(), c.section, c.key, c.value));
  EXPECT_EQ(get(), c.after);
  const IniReadResult back = readIniValue(path(), c.section, c.key);
  EXPECT_EQ(back.value, c.value);
  EXPECT_EQ(back.count, c.value.size());
}

INSTANTIATE_TEST_SUITE_P(Cases, IniWriteTest, ::testing::ValuesIn(kWriteCases),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& ch : name) {
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           }
                           return name;
                         });

TEST_F(IniFileTest, CrlfFileWithCommentsKeepsEveryOtherLine) {
  const std::string before =
      "; Korvel settings\r\n"
      "[Windows]\r\n"
      "TavoTop = 1500\r\n"
      "Unknown=keep  \t\r\n"
      "\r\n"
      "[Options]\r\n"
      "  ; comment with = sign\r\n"
      "Checkmm=1\r\n"
      "\r\n"
      "[Other]\r\n"
      "x=\xff\xfe\r\n";
  put(before);
  EXPECT_EQ(readIniValue(path(), "windows", "tavotop").value, "1500");
  EXPECT_EQ(readIniValue(path(), "Windows", "Unknown").value, "keep");
  EXPECT_EQ(readIniValue(path(), "Options", "Checkmm").value, "1");

  ASSERT_TRUE(writeIniValue(path(), "Windows", "TavoTop", "1600"));
  ASSERT_TRUE(writeIniValue(path(), "Options", "CheckCormm", "0"));
  ASSERT_TRUE(writeIniValue(path(), "Printer", "XCor", "0.9375"));
  EXPECT_EQ(get(),
            "; Korvel settings\r\n"
            "[Windows]\r\n"
            "TavoTop=1600\r\n"
            "Unknown=keep  \t\r\n"
            "\r\n"
            "[Options]\r\n"
            "  ; comment with = sign\r\n"
            "Checkmm=1\r\n"
            "CheckCormm=0\r\n"
            "\r\n"
            "[Other]\r\n"
            "x=\xff\xfe\r\n"
            "[Printer]\r\n"
            "XCor=0.9375\r\n");
}

TEST_F(IniFileTest, KeysWrittenTogetherGiveTheBytesOfSingleWrites) {
  const std::string files[] = {
      "",  // no file yet
      "; Korvel settings\r\n[Windows]\r\nTavoTop = 1500\r\nUnknown=keep\r\n\r\n[Options]\r\n"
      "  ; note\r\nCheckmm=1\r\n\r\n[Other]\r\nx=1",
      "[FocalLengths]\nFL3=7\n\n[options]\nCHECKINCH=1\n[Options]\nCheckHiRes=1\n[Windows]",
      "top=1\r\n[PrinterCor]\nXCor=2\r",
  };
  std::vector<std::string> values;
  for (const SettingKey& k : kDesignerKeys) values.push_back(std::string(k.key) + "+1");
  values[key::YCor] = "0.9\n1";  // cannot be stored: skipped
  std::vector<IniEntry> entries;
  for (std::size_t k = 0; k < values.size(); ++k)
    entries.push_back({kDesignerKeys[k].section, kDesignerKeys[k].key, values[k]});
  for (const std::string& before : files) {
    SCOPED_TRACE(before);
    QFile::remove(dir.filePath("settings.ini"));
    QFile::remove(dir.filePath("single.ini"));
    if (!before.empty()) {
      put(before);
      put(before, "single.ini");
    }
    ASSERT_TRUE(writeIniValues(path(), entries));
    for (const IniEntry& e : entries) writeIniValue(path("single.ini"), e.section, e.key, e.value);
    EXPECT_EQ(get(), get("single.ini"));
  }
}

TEST_F(IniFileTest, RejectsLineBreaksNulAndEmptyNames) {
  const std::string before = "[S]\r\nk=1\r\n";
  const std::pair<std::string, std::string> keyValues[] = {
      {"k", "a\nb"}, {"k", "a\rb"}, {"k", "a\0b"s}, {"k\n", "1"}, {"k\0"s, "1"}, {"", "1"}};
  for (const auto& [key, value] : keyValues) {
    put(before);
    EXPECT_FALSE(writeIniValue(path(), "S", key, value)) << key << "=" << value;
    EXPECT_EQ(get(), before);
  }
  for (const std::string& section : {""s, "S\r"s, "S\n"s, "S\0"s}) {
    put(before);
    EXPECT_FALSE(writeIniValue(path(), section, "k", "2"));
    EXPECT_EQ(get(), before);
  }
  EXPECT_FALSE(writeIniValue(path("new.ini"), "S", "k", "a\nb"));
  EXPECT_FALSE(QFile::exists(dir.filePath("new.ini")));
}

TEST_F(IniFileTest, ReadOnlyFileIsNotChanged) {
  const std::string before = "[S]\nk=1\n";
  put(before);
  ASSERT_EQ(::chmod(path().c_str(), 0444), 0);
  EXPECT_FALSE(writeIniValue(path(), "S", "k", "2"));
  EXPECT_EQ(get(), before);
}

TEST_F(IniFileTest, MissingFolderFails) {
  EXPECT_FALSE(writeIniValue(path("missing/settings.ini"), "S", "k", "1"));
}

TEST_F(IniFileTest, BinaryJunkDoesNotCrash) {
  std::mt19937 random(1234);
  const char alphabet[] = {'[',  ']', '=', '\r', '\n',   ' ',   '\t',
                           '\0', 'a', 'S', 'k',  '\xff', '\x80'};
  for (int round = 0; round < 50; ++round) {
    std::string junk(2000, '\0');
    for (char& ch : junk) {
      ch = random() % 2 ? alphabet[random() % sizeof alphabet] : static_cast<char>(random());
    }
    put(junk);
    for (const char* name : {"S", "a", "k", "[", "]", "="}) {
      const IniReadResult result = readIniValue(path(), name, name);
      EXPECT_LE(result.count, kIniValueCapacity);
      EXPECT_EQ(result.count, result.value.size());
    }
    ASSERT_TRUE(writeIniValue(path(), "S", "k", "v"));
    EXPECT_EQ(readIniValue(path(), "S", "k").value, "v");
  }
}

TEST_F(IniFileTest, HugeLineDoesNotCrash) {
  const std::string huge(10 * 1024 * 1024, 'x');
  put("[S]\nk=" + huge + "\n");
  IniReadResult result = readIniValue(path(), "S", "k");
  EXPECT_EQ(result.value, huge.substr(0, 39));
  EXPECT_EQ(result.count, 39u);

  put(huge);
  EXPECT_EQ(readIniValue(path(), "S", "k").count, 0u);
  ASSERT_TRUE(writeIniValue(path(), "S", "k", "v"));
  EXPECT_EQ(get(), huge + "\n[S]\nk=v\n");
}

}  // namespace
}  // namespace korvel
