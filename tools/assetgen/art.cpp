// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Shapes, images, the fixed-seed generator and value noise of the data generator.
#include "art.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace assetgen {

float length(Vec v) {
    return std::sqrt(v.x * v.x + v.y * v.y);
}

Vec rotate(Vec v, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    return {v.x * c - v.y * s, v.x * s + v.y * c};
}

float clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

float smoothstep(float edge0, float edge1, float v) {
    const float t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

Rgb rgb8(int r, int g, int b) {
    return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f,
            static_cast<float>(b) / 255.0f};
}

Rgb mix(Rgb a, Rgb b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scale(Rgb c, float s) {
    return {c.r * s, c.g * s, c.b * s};
}

Rgb hsl(float hue, float saturation, float lightness) {
    const float c = (1 - std::fabs(2 * lightness - 1)) * saturation;
    const float h = std::fmod(std::fmod(hue, 360.0f) + 360.0f, 360.0f) / 60.0f;
    const float x = c * (1 - std::fabs(std::fmod(h, 2.0f) - 1));
    Rgb out;
    if (h < 1)
        out = {c, x, 0};
    else if (h < 2)
        out = {x, c, 0};
    else if (h < 3)
        out = {0, c, x};
    else if (h < 4)
        out = {0, x, c};
    else if (h < 5)
        out = {x, 0, c};
    else
        out = {c, 0, x};
    const float m = lightness - c / 2;
    return {out.r + m, out.g + m, out.b + m};
}

Shape circle(Vec centre, float radius) {
    return [=](Vec p) { return length(p - centre) - radius; };
}

Shape ellipse(Vec centre, Vec radii) {
    // Distance in the unit circle's space, scaled back by the smaller radius: exact
    // on the axes of a circle, close enough for hard edges and one pixel of blending.
    const float unit = std::min(radii.x, radii.y);
    return [=](Vec p) {
        const Vec q{(p.x - centre.x) / radii.x, (p.y - centre.y) / radii.y};
        return (length(q) - 1) * unit;
    };
}

Shape box(Vec centre, Vec half_size, float corner_radius) {
    return [=](Vec p) {
        const float dx = std::fabs(p.x - centre.x) - half_size.x + corner_radius;
        const float dy = std::fabs(p.y - centre.y) - half_size.y + corner_radius;
        const float outside = length({std::max(dx, 0.0f), std::max(dy, 0.0f)});
        return outside + std::min(std::max(dx, dy), 0.0f) - corner_radius;
    };
}

Shape polygon(std::vector<Vec> points) {
    return [points = std::move(points)](Vec p) {
        float best = 1e30f;
        bool inside = false;
        const std::size_t n = points.size();
        for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
            const Vec a = points[j], b = points[i];
            const Vec e = b - a, w = p - a;
            const float t =
                std::clamp((w.x * e.x + w.y * e.y) / (e.x * e.x + e.y * e.y), 0.0f, 1.0f);
            best = std::min(best, length(w - e * t));
            if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * e.x / e.y) inside = !inside;
        }
        return inside ? -best : best;
    };
}

Shape star(Vec centre, float outer, float inner, int points, float rotation) {
    std::vector<Vec> corners;
    for (int i = 0; i < 2 * points; ++i) {
        const float angle = rotation + std::numbers::pi_v<float> * static_cast<float>(i) /
                                           static_cast<float>(points);
        const float r = i % 2 == 0 ? outer : inner;
        corners.push_back({centre.x + r * std::sin(angle), centre.y - r * std::cos(angle)});
    }
    return polygon(std::move(corners));
}

Shape segment(Vec a, Vec b, float half_width) {
    return [=](Vec p) {
        const Vec e = b - a, w = p - a;
        const float len2 = e.x * e.x + e.y * e.y;
        const float t = len2 > 0 ? std::clamp((w.x * e.x + w.y * e.y) / len2, 0.0f, 1.0f) : 0.0f;
        return length(w - e * t) - half_width;
    };
}

Shape unite(Shape a, Shape b) {
    return [=](Vec p) { return std::min(a(p), b(p)); };
}

Shape unite(std::vector<Shape> shapes) {
    return [shapes = std::move(shapes)](Vec p) {
        float best = 1e30f;
        for (const Shape& s : shapes)
            best = std::min(best, s(p));
        return best;
    };
}

Shape subtract(Shape a, Shape cut) {
    return [=](Vec p) { return std::max(a(p), -cut(p)); };
}

Shape intersect(Shape a, Shape b) {
    return [=](Vec p) { return std::max(a(p), b(p)); };
}

Shape rotate(Shape s, Vec centre, float angle) {
    return [=](Vec p) { return s(centre + rotate(p - centre, -angle)); };
}

Shape grow(Shape s, float amount) {
    return [=](Vec p) { return s(p) - amount; };
}

Image::Image(int w, int h, Rgb fill)
    : width_(w),
      height_(h),
      pixels_(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

void Image::blend(int x, int y, Rgb colour, float alpha) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
    Rgb& p = at(x, y);
    p = alpha >= 1 ? colour : mix(p, colour, alpha);
}

Area around(Vec centre, float r) {
    return {static_cast<int>(std::floor(centre.x - r)) - 1,
            static_cast<int>(std::floor(centre.y - r)) - 1,
            static_cast<int>(std::ceil(centre.x + r)) + 2,
            static_cast<int>(std::ceil(centre.y + r)) + 2};
}

void Image::fill(const Shape& shape, const std::function<Rgb(Vec)>& paint, float alpha, Area area) {
    for (int y = std::max(0, area.top); y < std::min(height_, area.bottom); ++y) {
        for (int x = std::max(0, area.left); x < std::min(width_, area.right); ++x) {
            const Vec centre{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
            const float coverage = clamp01(0.5f - shape(centre));
            if (coverage > 0) blend(x, y, paint(centre), coverage * alpha);
        }
    }
}

void Image::fill(const Shape& shape, Rgb colour, float alpha, Area area) {
    fill(
        shape, [colour](Vec) { return colour; }, alpha, area);
}

void Image::paint_all(const std::function<Rgb(Vec)>& paint) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            at(x, y) = paint({static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f});
}

void Image::place(const Image& other, int x, int y) {
    for (int sy = 0; sy < other.height(); ++sy)
        for (int sx = 0; sx < other.width(); ++sx)
            blend(x + sx, y + sy, other.at(sx, sy), 1);
}

namespace {
std::uint8_t to8(float v) {
    return static_cast<std::uint8_t>(std::lround(clamp01(v) * 255.0f));
}
}  // namespace

std::uint8_t Image::red8(int x, int y) const {
    return to8(at(x, y).r);
}
std::uint8_t Image::green8(int x, int y) const {
    return to8(at(x, y).g);
}
std::uint8_t Image::blue8(int x, int y) const {
    return to8(at(x, y).b);
}
std::uint32_t Image::pixel24(int x, int y) const {
    return (std::uint32_t{red8(x, y)} << 16) | (std::uint32_t{green8(x, y)} << 8) | blue8(x, y);
}

std::uint64_t Random::next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Dull;
}

float Random::uniform() {
    return static_cast<float>(next() >> 40) / static_cast<float>(1ull << 24);
}

float Random::uniform(float lo, float hi) {
    return lo + (hi - lo) * uniform();
}

int Random::below(int n) {
    return static_cast<int>(next() % static_cast<std::uint64_t>(n));
}

namespace {
float lattice(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}
}  // namespace

float value_noise(float x, float y, std::uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    const float top =
        lattice(ix, iy, seed) + (lattice(ix + 1, iy, seed) - lattice(ix, iy, seed)) * tx;
    const float bottom = lattice(ix, iy + 1, seed) +
                         (lattice(ix + 1, iy + 1, seed) - lattice(ix, iy + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}

float fractal_noise(float x, float y, int octaves, std::uint32_t seed) {
    float sum = 0, weight = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += value_noise(x, y, seed + static_cast<std::uint32_t>(i) * 101u) * weight;
        total += weight;
        weight *= 0.5f;
        x *= 2.03f;
        y *= 2.03f;
    }
    return sum / total;
}

}  // namespace assetgen
