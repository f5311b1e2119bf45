#pragma once
// Twips (1/1440 inch), the unit of the settings file and of the window's designed geometry, and
// their conversion to pixels at the screen's logical resolution.
#include <cmath>

namespace tandrel {

inline int TwipsToPixels(int twips, double dpi) {
  return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

inline int PixelsToTwips(int pixels, double dpi) {
  return static_cast<int>(std::lround(pixels * 1440.0 / dpi));
}

// A rectangle in twips, relative to the control's container.
struct TwipRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

}  // namespace tandrel
