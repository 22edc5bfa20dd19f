#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

// Where rows of a layer may have been drawn on, in tiles of 32 pixels along
// each row: every pixel outside a marked tile is white. A cam sheet is mostly
// white paper, and what is known to be white need not be read or whitened
// pixel by pixel.
namespace korvel {

class InkedTiles {
 public:
  static constexpr int kTilePixels = 32;

  // Nothing marked, for rows of width pixels.
  void reset(int rows, int width) {
    width_ = width;
    wordsPerRow_ = ((width + kTilePixels - 1) / kTilePixels + 63) / 64;
    words_.assign(std::size_t(rows) * std::size_t(wordsPerRow_), 0);
  }
  int rows() const { return wordsPerRow_ == 0 ? 0 : int(words_.size() / std::size_t(wordsPerRow_)); }

  // Marks the tiles that hold pixels left to right - 1 of rows first to last.
  void mark(int first, int last, int left, int right) {
    left = std::max(left, 0);
    right = std::min(right, width_);
    first = std::max(first, 0);
    last = std::min(last, rows() - 1);
    if (left >= right || first > last) return;
    const int firstTile = left / kTilePixels;
    const int lastTile = (right - 1) / kTilePixels;
    for (int word = firstTile / 64; word <= lastTile / 64; ++word) {
      // The word's bits from the first tile to the last, both within it.
      const int low = std::max(firstTile - word * 64, 0);
      const int high = std::min(lastTile - word * 64, 63);
      const std::uint64_t bits = (~std::uint64_t(0) >> (63 - high)) & (~std::uint64_t(0) << low);
      for (int row = first; row <= last; ++row) rowWords(row)[word] |= bits;
    }
  }
  void clearRow(int row) { std::fill_n(rowWords(row), wordsPerRow_, 0); }

  // Calls take(left, right) for each run of marked tiles of a row, left to
  // right, in pixels and within the row.
  template <typename Take>
  void forEachRun(int row, Take&& take) const {
    const std::uint64_t* words = rowWords(row);
    const int tiles = wordsPerRow_ * 64;
    int tile = 0;
    while (tile < tiles) {
      const std::uint64_t rest = words[tile / 64] >> (tile % 64);
      if (rest == 0) {
        tile = (tile / 64 + 1) * 64;
        continue;
      }
      tile += __builtin_ctzll(rest);
      int end = tile + 1;
      while (end < tiles && (words[end / 64] >> (end % 64) & 1)) ++end;
      const int left = tile * kTilePixels;
      if (left >= width_) return;
      take(left, std::min(end * kTilePixels, width_));
      tile = end;
    }
  }

 private:
  std::uint64_t* rowWords(int row) { return words_.data() + std::size_t(row) * std::size_t(wordsPerRow_); }
  const std::uint64_t* rowWords(int row) const {
    return words_.data() + std::size_t(row) * std::size_t(wordsPerRow_);
  }

  int width_ = 0;
  int wordsPerRow_ = 0;
  std::vector<std::uint64_t> words_;
};

}  // namespace korvel
