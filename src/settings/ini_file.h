#pragma once

#include <string>
#include <string_view>

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

// Reads one key: the text after the first "=" of the first matching key line of
// the first matching section, leading and trailing blanks (spaces, tabs)
// removed, cut to 39 characters. LF and CRLF files read alike; bytes beyond
// ASCII pass unchanged.
IniReadResult readIniValue(const std::string& filePath, std::string_view section,
                           std::string_view key);

// Writes one key: replaces the value where the key stands, or adds the key at
// the end of its section, or adds the section at the end of the file, or creates
// the file. Every other line stays as it was, in its place; a CRLF file stays
// CRLF, a new file uses LF. The file is replaced atomically. Returns false, and
// leaves the file untouched, when it cannot be written or when section, key or
// value hold a line break or NUL (which would break the file's structure).
bool writeIniValue(const std::string& filePath, std::string_view section, std::string_view key,
                   std::string_view value);

}  // namespace korvel
