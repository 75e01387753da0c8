#pragma once

#include <string>
#include <vector>

namespace worldbuilder {

/// A 5 x 7 pixel font for painted stand numbers and sign boards.
class Font {
 public:
  static const int kWidth = 5;
  static const int kHeight = 7;
  /// True where the glyph of `c` has a pixel at column x, row y (row 0 at the top).
  static bool Pixel(char c, int x, int y);
};

}  // namespace worldbuilder
