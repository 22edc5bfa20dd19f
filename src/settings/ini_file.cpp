#include "settings/ini_file.h"

#include <QFile>
#include <cerrno>
#include <optional>
#include <vector>

#include "common/atomic_file.h"

namespace korvel {
namespace {

// One line of the file as offsets into its text, so that a write can copy every
// line it does not change byte for byte.
struct Line {
  std::size_t begin;       // first byte
  std::size_t contentEnd;  // end of the text, before "\n" or "\r\n"
  std::size_t end;         // first byte of the next line
};

std::vector<Line> splitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    const std::size_t newline = text.find('\n', begin);
    const std::size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
    std::size_t contentEnd = newline == std::string_view::npos ? text.size() : newline;
    if (contentEnd > begin && text[contentEnd - 1] == '\r') --contentEnd;
    lines.push_back({begin, contentEnd, end});
    begin = end;
  }
  return lines;
}

std::string_view contentOf(std::string_view text, const Line& line) {
  return text.substr(line.begin, line.contentEnd - line.begin);
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  }
  return true;
}

// The name of a "[Section]" line; text after the "]" does not count.
std::optional<std::string_view> sectionName(std::string_view line) {
  line = trimmed(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trimmed(line.substr(1, close - 1));
}

// The key of a "key=value" line; lines without "=" have none.
std::optional<std::string_view> keyName(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return trimmed(line.substr(0, equals));
}

// Where a key stands: the first matching section and in it the first matching
// key line. Without the key, lastContent is the section's last non-blank line.
struct Location {
  std::optional<std::size_t> section;
  std::optional<std::size_t> key;
  std::size_t lastContent = 0;
};

Location locate(std::string_view text, const std::vector<Line>& lines, std::string_view section,
                std::string_view key) {
  Location found;
  std::size_t i = 0;
  while (i < lines.size()) {
    const auto name = sectionName(contentOf(text, lines[i]));
    if (name && sameName(*name, section)) break;
    ++i;
  }
  if (i == lines.size()) return found;
  found.section = found.lastContent = i;
  for (++i; i < lines.size(); ++i) {
    const std::string_view line = contentOf(text, lines[i]);
    if (sectionName(line)) break;
    if (!trimmed(line).empty()) found.lastContent = i;
    const auto name = keyName(line);
    if (name && sameName(*name, key)) {
      found.key = i;
      break;
    }
  }
  return found;
}

QString filePathOf(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

// The whole file; a missing file reads as empty, an unreadable one as nothing,
// with errno naming why.
std::optional<std::string> readWholeFile(const std::string& path) {
  QFile file(filePathOf(path));
  if (!file.exists()) return std::string();
  errno = 0;
  if (!file.open(QIODevice::ReadOnly)) {
    if (errno == 0) errno = file.error() == QFileDevice::PermissionsError ? EACCES : EIO;
    return std::nullopt;
  }
  const QByteArray data = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    errno = EIO;
    return std::nullopt;
  }
  return data.toStdString();
}

bool isStorable(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

// Ends an unfinished last line before anything is added after it.
void finishLastLine(std::string& text, std::string_view eol) {
  if (text.empty() || text.back() == '\n') return;
  text += text.back() == '\r' ? std::string_view("\n") : eol;
}

}  // namespace

IniText::IniText(std::string_view text) {
  for (const Line& line : splitLines(text)) {
    const std::string_view content = contentOf(text, line);
    if (const auto name = sectionName(content)) {
      sections_.push_back({std::string(*name), {}});
    } else if (const auto key = keyName(content); key && !sections_.empty()) {
      sections_.back().entries.emplace_back(std::string(*key),
                                            std::string(trimmed(content.substr(content.find('=') + 1))));
    }
  }
}

IniReadResult IniText::value(std::string_view section, std::string_view key, std::size_t capacity) const {
  if (section.empty() || key.empty()) return {};
  // The first section of the name, and in it the first line of the key.
  for (const Section& candidate : sections_) {
    if (!sameName(candidate.name, section)) continue;
    for (const auto& [name, value] : candidate.entries) {
      if (!sameName(name, key)) continue;
      const std::string kept = value.substr(0, capacity);
      return {kept, kept.size()};
    }
    return {};
  }
  return {};
}

IniText readIniFile(const std::string& filePath) { return IniText(readWholeFile(filePath).value_or(std::string())); }

IniReadResult readIniValue(const std::string& filePath, std::string_view section,
                           std::string_view key, std::size_t capacity) {
  return readIniFile(filePath).value(section, key, capacity);
}

std::optional<std::string> withIniValue(std::string_view text, std::string_view section,
                                        std::string_view key, std::string_view value) {
  if (section.empty() || key.empty()) return std::nullopt;
  if (!isStorable(section) || !isStorable(key) || !isStorable(value)) return std::nullopt;

  const auto lines = splitLines(text);
  const bool crlf = !lines.empty() && text.substr(lines[0].contentEnd, 2) == "\r\n";
  const std::string_view eol = crlf ? "\r\n" : "\n";
  std::string entry = std::string(key) + '=' + std::string(value);

  std::string result;
  const Location found = locate(text, lines, section, key);
  if (found.key) {
    // The key's line is replaced; its line ending stays.
    const Line& line = lines[*found.key];
    result.append(text.substr(0, line.begin)).append(entry).append(text.substr(line.contentEnd));
  } else if (found.section) {
    // The key goes after the section's last entry, before any blank lines.
    const std::size_t at = lines[found.lastContent].end;
    result.append(text.substr(0, at));
    finishLastLine(result, eol);
    result.append(entry).append(eol).append(text.substr(at));
  } else {
    result = text;
    finishLastLine(result, eol);
    result.append("[").append(section).append("]").append(eol).append(entry).append(eol);
  }
  return result;
}

FileWriteResult writeIniValues(const std::string& filePath, std::span<const IniEntry> entries) {
  errno = 0;  // what opening the old file sets names why it cannot be read
  const auto old = readWholeFile(filePath);
  if (!old) return {false, errno != 0 ? errno : EIO};
  std::string text = *old;
  bool changed = false;
  for (const IniEntry& entry : entries) {
    if (auto next = withIniValue(text, entry.section, entry.key, entry.value)) {
      text = std::move(*next);
      changed = true;
    }
  }
  if (!changed) return {false, EINVAL};
  return writeFileAtomically(filePathOf(filePath), QByteArray::fromStdString(text));
}

FileWriteResult writeIniValue(const std::string& filePath, std::string_view section, std::string_view key,
                   std::string_view value) {
  const IniEntry entry{section, key, value};
  return writeIniValues(filePath, {&entry, 1});
}

}  // namespace korvel
