// The toolbar's layout at the screen's scale. The windows are laid out in
// pixels at 96 dots per inch; at another system DPI every place and size is
// multiplied by dpi / 96 and rounded to the nearest pixel. A rectangle is
// scaled by its edges, so controls that touch at 96 DPI still touch, and the
// 217 x 80 body, its pictures and the buttons keep their proportions.
// Pure; any thread.
#pragma once

#include "app/toolbar_geometry.h"

namespace tavlix::app {

inline constexpr int kDesignDpi = 96;

class DpiScale {
 public:
  // A DPI of 0 or less (the system gave none) means the design scale.
  constexpr explicit DpiScale(int dpi = kDesignDpi) : dpi_(dpi > 0 ? dpi : kDesignDpi) {}

  int dpi() const { return dpi_; }
  bool is_design() const { return dpi_ == kDesignDpi; }
  // A coordinate or length at this scale (halves round up).
  int Of(int design) const;
  Rect Of(const Rect& design) const;

 private:
  int dpi_;
};

// Where the progress strip's white background and its blue bar lie in the
// window, at `scale`, for `strip`; the bar is empty (width 0) at 0 %.
struct ProgressStripPlaces {
  int window_height = 0;
  Rect background;
  Rect bar;
};
ProgressStripPlaces ProgressStripPlacesFor(const ProgressStrip& strip, const DpiScale& scale);

}  // namespace tavlix::app
