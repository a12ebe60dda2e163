// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing for the data generator: colours, floating-point images, shapes given as
// signed distances, a fixed-seed random generator and value noise. Shapes are
// filled either hard-edged (tile faces, whose masks must match them exactly) or
// with edge coverage from the distance (screens and backgrounds).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace assetgen {

struct Vec {
    float x = 0;
    float y = 0;
};
inline Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y};
}
inline Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y};
}
inline Vec operator*(Vec a, float s) {
    return {a.x * s, a.y * s};
}
float length(Vec v);
// v turned by angle radians (y grows downwards, so a positive angle turns clockwise).
Vec rotate(Vec v, float angle);

// A colour with channels 0..1 in the file's own (sRGB) scale.
struct Rgb {
    float r = 0;
    float g = 0;
    float b = 0;
};
Rgb rgb8(int r, int g, int b);
Rgb mix(Rgb a, Rgb b, float t);  // a at t = 0, b at t = 1
Rgb scale(Rgb c, float s);       // each channel times s
// A colour from hue (degrees), saturation and lightness (0..1).
Rgb hsl(float hue, float saturation, float lightness);

// A signed distance in pixels: negative inside the shape, positive outside.
using Shape = std::function<float(Vec)>;

Shape circle(Vec centre, float radius);
Shape ellipse(Vec centre, Vec radii);
Shape box(Vec centre, Vec half_size, float corner_radius = 0);
// A polygon through the points, in either winding.
Shape polygon(std::vector<Vec> points);
// A regular n-pointed star (inner = outer gives a regular 2n-gon).
Shape star(Vec centre, float outer, float inner, int points, float rotation);
// A thick line from a to b with round ends.
Shape segment(Vec a, Vec b, float half_width);
Shape unite(Shape a, Shape b);
Shape unite(std::vector<Shape> shapes);
Shape subtract(Shape a, Shape cut);
Shape intersect(Shape a, Shape b);
Shape rotate(Shape s, Vec centre, float angle);
Shape grow(Shape s, float amount);  // positive amount makes the shape fatter

// A rectangle of pixels [left, right) x [top, bottom).
struct Area {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
inline constexpr Area everywhere{-1 << 20, -1 << 20, 1 << 20, 1 << 20};
// The pixels within distance r of a point, one pixel of margin included.
Area around(Vec centre, float r);

// An image of w x h colours, rows top to bottom.
class Image {
  public:
    Image() = default;
    Image(int w, int h, Rgb fill = {});

    int width() const { return width_; }
    int height() const { return height_; }
    Rgb& at(int x, int y) { return pixels_[index(x, y)]; }
    const Rgb& at(int x, int y) const { return pixels_[index(x, y)]; }

    // Blends colour over pixel (x, y) by alpha 0..1; outside pixels are ignored.
    void blend(int x, int y, Rgb colour, float alpha);

    // Fills a shape with smooth edges; paint gives the colour at each pixel centre.
    // Only pixels inside the area are looked at (the whole image by default).
    void fill(const Shape& shape, const std::function<Rgb(Vec)>& paint, float alpha = 1,
              Area area = everywhere);
    void fill(const Shape& shape, Rgb colour, float alpha = 1, Area area = everywhere);
    // Paints every pixel: colour from its centre.
    void paint_all(const std::function<Rgb(Vec)>& paint);
    // Copies another image in with its top left at (x, y).
    void place(const Image& other, int x, int y);

    // The image as 8-bit channels.
    std::uint8_t red8(int x, int y) const;
    std::uint8_t green8(int x, int y) const;
    std::uint8_t blue8(int x, int y) const;
    std::uint32_t pixel24(int x, int y) const;  // 0x00RRGGBB

  private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }
    int width_ = 0;
    int height_ = 0;
    std::vector<Rgb> pixels_;
};

// A small fixed-seed generator (xorshift64*): the same sequence on every run.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    std::uint64_t next();
    float uniform();  // 0 <= value < 1
    float uniform(float lo, float hi);
    int below(int n);

  private:
    std::uint64_t state_;
};

// Smooth value noise in 0..1 with a lattice cell of one unit, from a seed.
float value_noise(float x, float y, std::uint32_t seed);
// Sum of octaves of value noise, normalised to 0..1.
float fractal_noise(float x, float y, int octaves, std::uint32_t seed);

float clamp01(float v);
float smoothstep(float edge0, float edge1, float v);

}  // namespace assetgen
