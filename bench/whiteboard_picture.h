// A whiteboard-like test picture: white with dark pen strokes, some colour,
// and light sensor noise. Deterministic for a seed.
#pragma once

#include <cmath>
#include <cstdint>

#include "imaging/raster.h"

namespace tavlix::bench {

inline imaging::Raster WhiteboardPicture(std::uint32_t width = 2496, std::uint32_t height = 1760,
                                         std::uint32_t seed = 1) {
  imaging::Raster r{width, height, std::vector<std::uint8_t>(std::size_t{width} * height * 3, 0)};
  std::uint32_t state = seed * 2654435761u + 1;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  };
  // Paper: near white, slightly uneven from left to right.
  for (std::uint32_t y = 0; y < height; ++y)
    for (std::uint32_t x = 0; x < width; ++x) {
      std::uint8_t* p = &r.rgb[(std::size_t{y} * width + x) * 3];
      const auto shade = static_cast<std::uint8_t>(250 + (x * 5 / width));
      p[0] = p[1] = p[2] = shade;
    }
  auto dot = [&](int cx, int cy, int radius, const std::uint8_t colour[3]) {
    for (int dy = -radius; dy <= radius; ++dy)
      for (int dx = -radius; dx <= radius; ++dx) {
        const int x = cx + dx, y = cy + dy;
        if (x < 0 || y < 0 || x >= static_cast<int>(width) || y >= static_cast<int>(height)) continue;
        if (dx * dx + dy * dy > radius * radius) continue;
        std::uint8_t* p = &r.rgb[(std::size_t(y) * width + std::size_t(x)) * 3];
        p[0] = colour[0], p[1] = colour[1], p[2] = colour[2];
      }
  };
  // Pen strokes: wavy lines of handwriting in black, blue and red.
  const std::uint8_t pens[3][3] = {{25, 25, 30}, {20, 40, 150}, {170, 30, 30}};
  for (int line = 0; line < 24; ++line) {
    const std::uint8_t* pen = pens[line % 5 == 4 ? 2 : line % 3 == 2 ? 1 : 0];
    const double base = 90.0 + line * 65.0;
    const int start = 80 + static_cast<int>(next() % 200),
              end = static_cast<int>(width) - 80 - static_cast<int>(next() % 600);
    for (int x = start; x < end; x += 2) {
      const double y = base + 18 * std::sin(x / 9.0 + line) + 10 * std::sin(x / 31.0);
      if ((x / 40) % 7 == 6) continue;  // gaps between words
      dot(x, static_cast<int>(y), 3, pen);
    }
  }
  // A few filled colour notes.
  const std::uint8_t notes[3][3] = {{250, 235, 120}, {160, 220, 170}, {240, 170, 200}};
  for (std::uint32_t n = 0; n < 3; ++n) {
    const std::uint32_t x0 = 300 + n * 700, y0 = 1200;
    for (std::uint32_t y = y0; y < y0 + 320 && y < height; ++y)
      for (std::uint32_t x = x0; x < x0 + 420 && x < width; ++x) {
        std::uint8_t* p = &r.rgb[(std::size_t{y} * width + x) * 3];
        p[0] = notes[n][0], p[1] = notes[n][1], p[2] = notes[n][2];
      }
  }
  // Light sensor noise: one or two pixels in every hundred off by a little.
  for (std::size_t i = 0; i < r.rgb.size(); i += 3) {
    const std::uint32_t n = next();
    if (n % 1000 >= 15) continue;
    for (int c = 0; c < 3; ++c) {
      const int v = r.rgb[i + std::size_t(c)] - static_cast<int>((n >> (8 + 4 * c)) % 7);
      r.rgb[i + std::size_t(c)] = static_cast<std::uint8_t>(v < 0 ? 0 : v);
    }
  }
  return r;
}

}  // namespace tavlix::bench
