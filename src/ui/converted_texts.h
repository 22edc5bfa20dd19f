#pragma once

#include <QString>
#include <array>
#include <optional>

// What the unit switches wrote into the ten focal-length boxes and what stood
// there before, for this session: switching back gives a box that nobody has
// edited since its own text again, exactly as typed.
namespace korvel {

class ConvertedTexts {
 public:
  // The text box (0 FocalLength, 1 to 9 FocalLen1) takes after a switch that
  // converted current into converted; nullopt (the box keeps its text) when
  // the switch left it alone.
  std::optional<QString> afterSwitch(std::size_t box, const QString& current,
                                     const std::optional<QString>& converted) {
    std::optional<Entry>& entry = entries_[box];
    if (!converted) {
      entry.reset();
      return std::nullopt;
    }
    const QString text = entry && entry->written == current ? entry->before : *converted;
    entry = Entry{current, text};
    return text;
  }

 private:
  struct Entry {
    QString before;
    QString written;
  };
  std::array<std::optional<Entry>, 10> entries_;
};

}  // namespace korvel
