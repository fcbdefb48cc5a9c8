#include "app/dpi_scale.h"

#include <cstdint>

namespace tavlix::app {

int DpiScale::Of(int design) const {
  // Rounded to the nearest pixel with floor division, so that negative
  // coordinates (a window left of the main screen) round the same way.
  const std::int64_t scaled = std::int64_t{design} * dpi_ * 2 + kDesignDpi;
  const std::int64_t divisor = std::int64_t{kDesignDpi} * 2;
  std::int64_t quotient = scaled / divisor;
  if (scaled % divisor != 0 && scaled < 0) --quotient;
  return static_cast<int>(quotient);
}

Rect DpiScale::Of(const Rect& design) const {
  const int x = Of(design.x);
  const int y = Of(design.y);
  return {x, y, Of(design.right()) - x, Of(design.bottom()) - y};
}

ProgressStripPlaces ProgressStripPlacesFor(const ProgressStrip& strip, const DpiScale& scale) {
  constexpr int kStripX = 2;
  constexpr int kStripHeight = 5;
  return {scale.Of(strip.window_height),
          scale.Of(Rect{kStripX, kToolbarHeight, kProgressStripWidth, kStripHeight}),
          scale.Of(Rect{kStripX, kToolbarHeight, strip.bar_width, kStripHeight})};
}

}  // namespace tavlix::app
