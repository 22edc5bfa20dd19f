#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/atomic_file.h"

// The settings file in the classic INI dialect that Windows programs write:
// "[Section]" lines and "key=value" lines, names matched without regard to
// letter case. Only these two operations touch it.
namespace korvel {

// The longest value a read copies; the reader's buffer holds one more place for
// the terminating NUL.
inline constexpr std::size_t kIniValueCapacity = 39;

struct IniReadResult {
  std::string value;   // at most kIniValueCapacity characters, blanks trimmed
  std::size_t count;   // characters copied; 0 for a missing file/section/key or empty value
};

// The settings file read and parsed once, so that a load looks up each of its
// keys without reading the file again. A missing or unreadable file holds no
// keys.
class IniText {
 public:
  explicit IniText(std::string_view text);

  // One key, as readIniValue reads it.
  IniReadResult value(std::string_view section, std::string_view key,
                      std::size_t capacity = kIniValueCapacity) const;

 private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;  // key and trimmed value, in file order
  };
  std::vector<Section> sections_;
};

IniText readIniFile(const std::string& filePath);

// Reads one key: the text after the first "=" of the first matching key line of
// the first matching section, leading and trailing blanks (spaces, tabs)
// removed, cut to 39 characters (or to capacity, for a text such as a folder
// that the classic reader never held). LF and CRLF files read alike; bytes
// beyond ASCII pass unchanged.
IniReadResult readIniValue(const std::string& filePath, std::string_view section,
                           std::string_view key, std::size_t capacity = kIniValueCapacity);

// One key to write.
struct IniEntry {
  std::string_view section;
  std::string_view key;
  std::string_view value;
};

// The text of a file after writing one key to it: replaces the value where the
// key stands, or adds the key at the end of its section, or adds the section at
// the end of the file (an empty text stands for a missing file). Every other line stays as it was, in its place; a CRLF file stays
// CRLF, a new file uses LF. nullopt when section or key is empty or when section,
// key or value hold a line break or NUL (which would break the file's structure).
std::optional<std::string> withIniValue(std::string_view text, std::string_view section,
                                        std::string_view key, std::string_view value);

// Writes several keys with one atomic replacement of the file, so that a crash
// leaves either the old file or the new one, never a mix. Each key goes in as
// withIniValue puts it, in order; a key that cannot be stored is skipped. The
// file holds exactly the bytes that writing the keys one by one would give.
// Fails, leaving the file untouched, when it cannot be read or written (the
// result's errno names why) or when no key could be stored (EINVAL).
FileWriteResult writeIniValues(const std::string& filePath, std::span<const IniEntry> entries);

// Writes one key as writeIniValues does.
FileWriteResult writeIniValue(const std::string& filePath, std::string_view section, std::string_view key,
                   std::string_view value);

}  // namespace korvel
