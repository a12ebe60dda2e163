// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The 36 vorps, their masks, the atlas and the tile plate. Faces have hard edges:
// the game draws a face through its mask (OR the mask, then AND the face), so a
// pixel is either the vorp's own colour or white, and white means "plate shows".
#include "tiles.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace assetgen {

namespace {

constexpr float pi = std::numbers::pi_v<float>;

// The plate's top surface spans x 1..31 and y 1..43; faces are centred on it.
constexpr Vec face_centre{16.5f, 22.5f};

Vec at(float x, float y) {
    return {face_centre.x + x, face_centre.y + y};
}

// The colour family of each kind: twelve hues in three shades, every pair of a
// hue and a shade used once, so no two kinds share a colour.
enum Shade { MID, DARK, PALE };

Rgb shade_colour(float hue, Shade shade) {
    switch (shade) {
        case MID:
            return hsl(hue, 0.80f, 0.50f);
        case DARK:
            return hsl(hue, 0.70f, 0.30f);
        case PALE:
            return hsl(hue, 0.80f, 0.76f);
    }
    return {};
}

constexpr float RED = 0, ORANGE = 28, YELLOW = 52, LIME = 85, GREEN = 130, TEAL = 165, CYAN = 188,
                SKY = 208, BLUE = 232, VIOLET = 268, MAGENTA = 300, PINK = 333;

const Rgb eye_white = rgb8(250, 250, 242);
const Rgb pupil = rgb8(28, 22, 36);
const Rgb mouth = rgb8(70, 24, 30);

// Paints one face with hard edges and finishes it with a dark rim.
class FacePainter {
  public:
    explicit FacePainter(TileFace& face)
        : face_(face),
          scale_(face.pixel_scale),
          width_(cell_w * face.pixel_scale),
          height_(cell_h * face.pixel_scale) {}

    // A body part lit from the top left: brighter there, darker towards the bottom right.
    void body(const Shape& shape, Rgb base, Vec centre, float radius) {
        paint(shape, [=](Vec p) {
            const float t = clamp01(0.5f + ((p.x - centre.x) * 0.45f + (p.y - centre.y) * 0.9f) /
                                               (2.2f * radius));
            return scale(base, 1.18f - 0.36f * t);
        });
    }
    void flat(const Shape& shape, Rgb colour) {
        paint(shape, [=](Vec) { return colour; });
    }
    // Paints only over what is already shown: details that keep the silhouette.
    void detail(const Shape& shape, Rgb colour) {
        for_each_pixel([&](int x, int y, Vec p) {
            if (shape(p) < 0 && shown(x, y)) face_.picture.at(x, y) = colour;
        });
    }
    // A soft light spot on a body part.
    void shine(Vec centre, Vec radii, Rgb base) {
        detail(ellipse(centre, radii), mix(base, {1, 1, 1}, 0.45f));
    }

    void eyes(Vec left, Vec right, float size) {
        eye(left, size);
        eye(right, size);
    }
    void eye(Vec c, float size) {
        detail(ellipse(c, {size, size * 1.2f}), eye_white);
        detail(circle(c + Vec{size * 0.25f, size * 0.3f}, size * 0.62f), pupil);
    }
    // A smile: the lower part of a thin ring.
    void smile(Vec c, float width, float thickness = 1.1f) {
        const Shape ring = subtract(circle(c, width), circle(c, width - thickness));
        detail(intersect(ring, box(c + Vec{0, width * 0.6f}, {width, width * 0.6f})), mouth);
    }

    // Darkens the outermost pixels of the picture (one tile pixel deep) and keeps every
    // colour off pure white.
    void finish() {
        std::vector<bool> edge(face_.shown.size(), false);
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                if (!shown(x, y)) continue;
                for (int d = 1; d <= scale_; ++d)
                    edge[index(x, y)] = edge[index(x, y)] || !shown(x - d, y) || !shown(x + d, y) ||
                                        !shown(x, y - d) || !shown(x, y + d);
            }
        }
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                if (!shown(x, y)) continue;
                Rgb& c = face_.picture.at(x, y);
                if (edge[index(x, y)]) c = scale(c, 0.42f);
                c = {std::min(c.r, 0.975f), std::min(c.g, 0.975f), std::min(c.b, 0.975f)};
            }
        }
    }

  private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y * width_ + x); }
    bool shown(int x, int y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_ && face_.shown[index(x, y)];
    }
    template <class F>
    void for_each_pixel(F f) {
        // Only the plate's top surface may hold a picture. Shapes are given in tile pixels.
        const float s = static_cast<float>(scale_);
        for (int y = 2 * scale_; y < 43 * scale_; ++y)
            for (int x = 2 * scale_; x < 31 * scale_; ++x)
                f(x, y,
                  Vec{(static_cast<float>(x) + 0.5f) / s, (static_cast<float>(y) + 0.5f) / s});
    }
    void paint(const Shape& shape, const std::function<Rgb(Vec)>& colour) {
        for_each_pixel([&](int x, int y, Vec p) {
            if (shape(p) < 0) {
                face_.picture.at(x, y) = colour(p);
                face_.shown[index(x, y)] = true;
            }
        });
    }

    TileFace& face_;
    int scale_;
    int width_;
    int height_;
};

Shape mirror_x(const Shape& s) {
    return [=](Vec p) { return s({2 * face_centre.x - p.x, p.y}); };
}

Shape pair(const Shape& s) {
    return unite(s, mirror_x(s));
}

void draw_kind(int kind, FacePainter& f) {
    switch (kind) {
        case 0: {  // round blob on little feet
            const Rgb c = shade_colour(RED, MID);
            f.body(unite({circle(at(0, 0), 11.5f), ellipse(at(-5.5f, 12), {4, 2.6f}),
                          ellipse(at(5.5f, 12), {4, 2.6f})}),
                   c, at(0, 0), 11.5f);
            f.shine(at(-5.5f, -6.5f), {2.5f, 2}, c);
            f.eyes(at(-4.3f, -2), at(4.3f, -2), 2.5f);
            f.smile(at(0, 3), 3.5f);
            break;
        }
        case 1: {  // tall block
            const Rgb c = shade_colour(BLUE, MID);
            f.body(box(at(0, 1), {9, 16}, 2.5f), c, at(0, 1), 13);
            f.shine(at(-5, -11), {1.8f, 2.5f}, c);
            f.eyes(at(-3.8f, -4), at(3.8f, -4), 2.4f);
            f.detail(box(at(0, 2), {3, 0.9f}), mouth);
            f.detail(box(at(0, 10), {6, 0.8f}), scale(c, 0.7f));
            break;
        }
        case 2: {  // pyramid
            const Rgb c = shade_colour(YELLOW, MID);
            const Shape s = grow(polygon({at(0, -8), at(12.5f, 14), at(-12.5f, 14)}), 1.2f);
            f.body(s, c, at(0, 5), 12);
            f.detail(polygon({at(0, -8), at(12.5f, 14), at(3, 14)}), scale(c, 0.86f));
            f.eyes(at(-3.5f, 6), at(3.5f, 6), 2.1f);
            f.smile(at(0, 9.5f), 2.2f);
            break;
        }
        case 3: {  // star
            const Rgb c = shade_colour(ORANGE, MID);
            f.body(star(at(0, 2), 16, 7.5f, 5, 0), c, at(0, 2), 14);
            f.eyes(at(-3, 2), at(3, 2), 2);
            break;
        }
        case 4: {  // heart
            const Rgb c = shade_colour(PINK, MID);
            const Shape s = unite({circle(at(-6, -4), 7), circle(at(6, -4), 7),
                                   polygon({at(-12.6f, -1), at(12.6f, -1), at(0, 14)})});
            f.body(s, c, at(0, 0), 13);
            f.shine(at(-7, -7), {2.2f, 1.6f}, c);
            f.eyes(at(-4, -1), at(4, -1), 2.2f);
            f.smile(at(0, 3), 2.5f);
            break;
        }
        case 5: {  // drop
            const Rgb c = shade_colour(SKY, MID);
            const Shape s = unite(circle(at(0, 6), 10.5f),
                                  polygon({at(0, -18), at(9.4f, 1.5f), at(-9.4f, 1.5f)}));
            f.body(s, c, at(0, 4), 11);
            f.shine(at(-5, -1), {1.6f, 3}, c);
            f.eyes(at(-4, 5), at(4, 5), 2.3f);
            f.smile(at(0, 9.5f), 2.5f);
            break;
        }
        case 6: {  // crescent
            const Rgb c = shade_colour(YELLOW, PALE);
            f.body(subtract(circle(at(-1, 0), 14), circle(at(6, -5), 11.5f)), c, at(-4, 3), 12);
            f.eye(at(-8, 1), 2.1f);
            f.smile(at(-6, 5), 2.5f);
            break;
        }
        case 7: {  // diamond
            const Rgb c = shade_colour(CYAN, MID);
            f.body(polygon({at(0, -18), at(12.5f, 0), at(0, 18), at(-12.5f, 0)}), c, at(0, 0), 12);
            f.detail(polygon({at(0, -18), at(12.5f, 0), at(0, 0)}), scale(c, 0.85f));
            f.eyes(at(-3.5f, 1), at(3.5f, 1), 2.2f);
            break;
        }
        case 8: {  // ringed planet
            const Rgb c = shade_colour(VIOLET, MID);
            const Shape planet = circle(at(0, 1), 9.5f);
            const Shape ring =
                rotate(subtract(ellipse(at(0, 1), {15, 4.6f}), ellipse(at(0, 1), {11, 2.4f})),
                       at(0, 1), -0.35f);
            f.body(planet, c, at(0, 1), 9.5f);
            f.body(subtract(ring, intersect(planet, box(at(0, -5), {16, 6}))),
                   mix(c, rgb8(255, 220, 140), 0.5f), at(0, 1), 14);
            f.eyes(at(-3.5f, -1.5f), at(3.5f, -1.5f), 2.1f);
            break;
        }
        case 9: {  // mushroom
            const Rgb c = shade_colour(RED, DARK);
            const Shape cap = intersect(ellipse(at(0, -2), {14, 13}), box(at(0, -9), {15, 9}));
            f.body(box(at(0, 9), {6.5f, 9}, 3), mix(c, {1, 0.9f, 0.8f}, 0.55f), at(0, 9), 7);
            f.body(cap, c, at(0, -6), 12);
            f.detail(circle(at(-6, -6), 2.4f), mix(c, {1, 1, 1}, 0.7f));
            f.detail(circle(at(3, -10), 2.1f), mix(c, {1, 1, 1}, 0.7f));
            f.detail(circle(at(8, -3), 1.8f), mix(c, {1, 1, 1}, 0.7f));
            f.eyes(at(-2.6f, 8), at(2.6f, 8), 1.7f);
            break;
        }
        case 10: {  // ghost waving its arms, its tail blown aside
            const Rgb c = shade_colour(VIOLET, PALE);
            const Shape s = unite({circle(at(0, -7), 9.5f),
                                   polygon({at(-9.5f, -7), at(9.5f, -7), at(9, 5), at(12, 17),
                                            at(4, 11), at(0, 15), at(-4, 10), at(-9, 13)}),
                                   rotate(ellipse(at(-11, -1), {4.5f, 2.2f}), at(-11, -1), 0.6f),
                                   rotate(ellipse(at(11, -1), {4.5f, 2.2f}), at(11, -1), -0.6f)});
            f.body(s, c, at(0, -2), 12);
            f.detail(ellipse(at(-3.8f, -7), {2, 3.2f}), pupil);
            f.detail(ellipse(at(3.8f, -7), {2, 3.2f}), pupil);
            f.detail(ellipse(at(0, 1), {1.6f, 2.2f}), mouth);
            break;
        }
        case 11: {  // cat
            const Rgb c = shade_colour(ORANGE, PALE);
            const Shape ear = polygon({at(-12, 0), at(-10, -15), at(-1, -7)});
            f.body(unite(circle(at(0, 5), 11.5f), pair(ear)), c, at(0, 2), 12);
            f.detail(polygon({at(-9.5f, -3), at(-9, -11), at(-4.5f, -6.5f)}),
                     mix(c, rgb8(230, 110, 120), 0.6f));
            f.detail(polygon({at(9.5f, -3), at(9, -11), at(4.5f, -6.5f)}),
                     mix(c, rgb8(230, 110, 120), 0.6f));
            f.eyes(at(-4.5f, 3), at(4.5f, 3), 2.3f);
            f.detail(polygon({at(-1.6f, 7), at(1.6f, 7), at(0, 9)}), rgb8(200, 70, 90));
            f.detail(segment(at(-10, 8), at(-5, 9), 0.45f), scale(c, 0.45f));
            f.detail(segment(at(10, 8), at(5, 9), 0.45f), scale(c, 0.45f));
            break;
        }
        case 12: {  // fish
            const Rgb c = shade_colour(TEAL, MID);
            const Shape s = unite({ellipse(at(-2.5f, 1), {11.5f, 10}),
                                   polygon({at(6, 1), at(14, -9), at(14, 11)}),
                                   polygon({at(-7, -7), at(1, -14), at(3, -7)})});
            f.body(s, c, at(-2, 1), 11);
            f.detail(segment(at(4, -4), at(4, 6), 0.6f), scale(c, 0.6f));
            f.eye(at(-7, -1), 2.4f);
            f.smile(at(-9, 3), 2);
            break;
        }
        case 13: {  // bell on a loop
            const Rgb c = shade_colour(YELLOW, DARK);
            const Shape s = grow(polygon({at(-3.5f, -9), at(3.5f, -9), at(7, -4), at(8, 5),
                                          at(13, 11), at(-13, 11), at(-8, 5), at(-7, -4)}),
                                 1.2f);
            const Shape loop = subtract(circle(at(0, -14), 5), circle(at(0, -14), 2.6f));
            f.body(unite({s, loop, circle(at(0, 15), 3.8f)}), c, at(0, 0), 12);
            f.shine(at(-4, -4), {1.5f, 3}, c);
            f.eyes(at(-3.5f, 2), at(3.5f, 2), 2.1f);
            f.smile(at(0, 6), 2.5f);
            break;
        }
        case 14: {  // plus
            const Rgb c = shade_colour(GREEN, MID);
            f.body(unite(box(at(0, 1), {5.5f, 15}, 2), box(at(0, 1), {13.5f, 5.5f}, 2)), c,
                   at(0, 1), 12);
            f.eyes(at(-2.4f, 0), at(2.4f, 0), 1.8f);
            f.smile(at(0, 2.5f), 1.6f, 0.9f);
            break;
        }
        case 15: {  // leaf
            const Rgb c = shade_colour(GREEN, DARK);
            const Shape blade = intersect(circle(at(-8, 6.5f), 19), circle(at(8, -5.5f), 19));
            const Shape stem = segment(at(8, 12), at(12, 18.5f), 1.3f);
            f.body(unite(blade, stem), c, at(0, 0), 13);
            f.detail(segment(at(-8, -12), at(8, 12), 0.6f), mix(c, {1, 1, 1}, 0.35f));
            f.eyes(at(-5, 1), at(3, -3.5f), 2.2f);
            break;
        }
        case 16: {  // flower on its stem
            const Rgb c = shade_colour(MAGENTA, MID);
            std::vector<Shape> petals;
            for (int i = 0; i < 5; ++i) {
                const Vec d = rotate(Vec{0, -8.5f}, 2 * pi * static_cast<float>(i) / 5);
                petals.push_back(circle(at(d.x, -5 + d.y), 5.5f));
            }
            const Shape stem = unite(segment(at(0, 4), at(0, 18.5f), 1.2f),
                                     rotate(ellipse(at(5, 13), {4.5f, 2}), at(1, 13), -0.5f));
            f.body(stem, shade_colour(GREEN, DARK), at(0, 12), 6);
            f.body(unite(petals), c, at(0, -5), 13);
            f.flat(circle(at(0, -5), 5.5f), mix(c, {1, 0.95f, 0.8f}, 0.65f));
            f.eyes(at(-2.2f, -6), at(2.2f, -6), 1.5f);
            f.smile(at(0, -3.5f), 1.5f, 0.8f);
            break;
        }
        case 17: {  // cloud with rain
            const Rgb c = shade_colour(SKY, PALE);
            const Shape cloud = unite({circle(at(-7, -2), 6.5f), circle(at(0, -7), 8.5f),
                                       circle(at(7, -3), 7), box(at(0, 1), {13, 4}, 3.5f)});
            const Shape rain =
                unite({circle(at(-6, 11), 2.2f), polygon({at(-6, 6), at(-4, 10.5f), at(-8, 10.5f)}),
                       circle(at(4, 15), 2.2f), polygon({at(4, 10), at(6, 14.5f), at(2, 14.5f)})});
            f.body(cloud, c, at(0, -3), 12);
            f.body(rain, shade_colour(SKY, MID), at(0, 12), 6);
            f.eyes(at(-4, -2), at(4, -2), 2.1f);
            f.smile(at(0, 1), 2);
            break;
        }
        case 18: {  // lightning bolt
            const Rgb c = shade_colour(LIME, MID);
            f.body(polygon({at(0, -19), at(12.5f, -19), at(5, -5), at(12.5f, -5), at(-8, 19),
                            at(-3, 1), at(-10.5f, 1)}),
                   c, at(0, 0), 12);
            f.eyes(at(-1.5f, -9), at(3.5f, -9), 1.8f);
            break;
        }
        case 19: {  // fir tree
            const Rgb c = shade_colour(TEAL, DARK);
            const Shape crown = unite({polygon({at(0, -19), at(7, -9), at(-7, -9)}),
                                       polygon({at(0, -14), at(10, -1), at(-10, -1)}),
                                       polygon({at(0, -7), at(12.5f, 9), at(-12.5f, 9)})});
            f.body(box(at(0, 13.5f), {2.5f, 5.5f}), mix(c, rgb8(110, 70, 40), 0.7f), at(0, 14), 4);
            f.body(crown, c, at(0, -2), 13);
            f.eyes(at(-3.5f, 3), at(3.5f, 3), 2);
            f.smile(at(0, 6), 2);
            break;
        }
        case 20: {  // house
            const Rgb c = shade_colour(ORANGE, DARK);
            const Shape s = unite({polygon({at(0, -18), at(14, -4), at(-14, -4)}),
                                   box(at(0, 7), {10.5f, 12}), box(at(7.5f, -12), {2, 5})});
            f.body(s, c, at(0, 0), 14);
            f.detail(box(at(0, 14), {3, 5}), scale(c, 0.55f));
            f.detail(box(at(-5, 2), {2.3f, 2.3f}), rgb8(250, 226, 120));
            f.detail(box(at(5, 2), {2.3f, 2.3f}), rgb8(250, 226, 120));
            f.detail(box(at(-4.5f, 2.5f), {1, 1}), pupil);
            f.detail(box(at(5.5f, 2.5f), {1, 1}), pupil);
            break;
        }
        case 21: {  // crown
            const Rgb c = shade_colour(VIOLET, DARK);
            const Shape s = unite({polygon({at(-13, 10), at(-13, -7), at(-6.5f, 0), at(0, -12),
                                            at(6.5f, 0), at(13, -7), at(13, 10)}),
                                   circle(at(-12.5f, -9), 2.6f), circle(at(0, -14), 2.8f),
                                   circle(at(12.5f, -9), 2.6f)});
            f.body(s, c, at(0, 0), 13);
            f.detail(box(at(0, 8.5f), {13, 1.5f}), mix(c, rgb8(255, 220, 120), 0.6f));
            f.eyes(at(-4, 2), at(4, 2), 2.1f);
            break;
        }
        case 22: {  // snowman
            const Rgb c = shade_colour(CYAN, PALE);
            f.body(unite(circle(at(0, -6), 8), circle(at(0, 9), 10.5f)), c, at(0, 2), 14);
            f.flat(unite(box(at(0, -14), {5.5f, 3.5f}, 0.8f), box(at(0, -11), {8, 1})),
                   rgb8(40, 40, 56));
            f.detail(circle(at(-3, -7), 1.2f), pupil);
            f.detail(circle(at(3, -7), 1.2f), pupil);
            f.detail(polygon({at(-0.5f, -5), at(5, -3.5f), at(-0.5f, -2.5f)}), rgb8(240, 120, 40));
            f.detail(circle(at(0, 6), 1.2f), pupil);
            f.detail(circle(at(0, 11), 1.2f), pupil);
            break;
        }
        case 23: {  // ring cake
            const Rgb c = shade_colour(PINK, PALE);
            f.body(subtract(circle(at(0, 1), 13.5f), circle(at(0, 1), 4.5f)), c, at(0, 1), 13);
            const Rgb sprinkle[] = {rgb8(60, 150, 220), rgb8(250, 210, 60), rgb8(90, 190, 90)};
            const Vec bits[] = {{-9, 6}, {8, 7}, {-2, 10}, {9, -2}, {4, 11}, {-9, -1}};
            for (int i = 0; i < 6; ++i)
                f.detail(
                    segment(at(bits[i].x, bits[i].y), at(bits[i].x + 1.5f, bits[i].y - 1), 0.6f),
                    sprinkle[i % 3]);
            f.eyes(at(-4.5f, -7), at(4.5f, -7), 2.1f);
            break;
        }
        case 24: {  // shield
            const Rgb c = shade_colour(BLUE, DARK);
            const Shape s = polygon({at(-13.5f, -16), at(0, -12.5f), at(13.5f, -16), at(12, 2),
                                     at(0, 18.5f), at(-12, 2)});
            f.body(s, c, at(0, -2), 14);
            f.detail(box(at(0, 1), {1.6f, 18}), mix(c, {1, 0.85f, 0.4f}, 0.55f));
            f.detail(box(at(0, -5), {13.5f, 1.6f}), mix(c, {1, 0.85f, 0.4f}, 0.55f));
            f.eyes(at(-6, 2), at(6, 2), 2.1f);
            break;
        }
        case 25: {  // arrow
            const Rgb c = shade_colour(LIME, DARK);
            f.body(polygon({at(0, -19), at(13.5f, -4), at(5, -4), at(5, 18), at(-5, 18), at(-5, -4),
                            at(-13.5f, -4)}),
                   c, at(0, 0), 13);
            f.eyes(at(-2.3f, 2), at(2.3f, 2), 1.7f);
            f.smile(at(0, 5), 1.8f, 0.9f);
            break;
        }
        case 26: {  // hourglass
            const Rgb c = shade_colour(RED, PALE);
            const Shape glass =
                polygon({at(-11, -15), at(11, -15), at(2, 0), at(11, 15), at(-11, 15), at(-2, 0)});
            const Shape frame =
                unite(box(at(0, -16.5f), {13.5f, 2.3f}, 1), box(at(0, 16.5f), {13.5f, 2.3f}, 1));
            f.body(glass, c, at(0, 0), 13);
            f.detail(polygon({at(-7, 15), at(7, 15), at(0, 7)}), mix(c, rgb8(200, 150, 60), 0.6f));
            f.body(frame, scale(c, 0.72f), at(0, 0), 16);
            f.eyes(at(-3.2f, -9), at(3.2f, -9), 1.9f);
            break;
        }
        case 27: {  // octopus
            const Rgb c = shade_colour(MAGENTA, DARK);
            std::vector<Shape> parts{circle(at(0, -5), 11.5f), box(at(0, 4), {9.5f, 4})};
            const float feet[4][4] = {
                {-8, 5, -12.5f, 17}, {-3, 6, -4.5f, 18}, {3, 6, 4.5f, 18}, {8, 5, 12.5f, 17}};
            for (const auto& leg : feet)
                parts.push_back(segment(at(leg[0], leg[1]), at(leg[2], leg[3]), 2.3f));
            f.body(unite(parts), c, at(0, -2), 13);
            f.eyes(at(-4.5f, -4), at(4.5f, -4), 2.6f);
            f.smile(at(0, 1), 2);
            break;
        }
        case 28: {  // frog
            const Rgb c = shade_colour(LIME, PALE);
            const Shape s =
                unite({ellipse(at(0, -1), {13.5f, 9.5f}), circle(at(-7.5f, -10), 5.2f),
                       circle(at(7.5f, -10), 5.2f), ellipse(at(-8.5f, 10), {4.5f, 2.6f}),
                       ellipse(at(8.5f, 10), {4.5f, 2.6f})});
            f.body(s, c, at(0, -2), 13);
            f.eyes(at(-7.5f, -10), at(7.5f, -10), 2.9f);
            f.smile(at(0, -3), 6, 1.2f);
            break;
        }
        case 29: {  // penguin
            const Rgb c = shade_colour(TEAL, PALE);
            const Shape flipper = polygon({at(-7, -3), at(-14, 9), at(-12, 11), at(-6, 4)});
            const Shape feet = unite(ellipse(at(-4, 17), {3.5f, 2}), ellipse(at(4, 17), {3.5f, 2}));
            f.body(unite({ellipse(at(0, 2), {8.5f, 15}), pair(flipper), feet}), c, at(0, 0), 14);
            f.detail(ellipse(at(0, 6), {5.5f, 9}), mix(c, {1, 1, 0.95f}, 0.7f));
            f.detail(feet, rgb8(235, 150, 40));
            f.eyes(at(-3, -6), at(3, -6), 2);
            f.detail(polygon({at(-1.8f, -2), at(1.8f, -2), at(0, 1.5f)}), rgb8(235, 150, 40));
            break;
        }
        case 30: {  // bunny
            const Rgb c = shade_colour(MAGENTA, PALE);
            const Shape ears = unite(rotate(ellipse(at(-5, -9), {3.8f, 10}), at(-5, -1), -0.15f),
                                     rotate(ellipse(at(5, -9), {3.8f, 10}), at(5, -1), 0.15f));
            f.body(unite(circle(at(0, 9), 10.5f), ears), c, at(0, 4), 14);
            f.detail(rotate(ellipse(at(-5, -10), {1.6f, 7}), at(-5, -1), -0.15f),
                     rgb8(240, 150, 180));
            f.detail(rotate(ellipse(at(5, -10), {1.6f, 7}), at(5, -1), 0.15f), rgb8(240, 150, 180));
            f.eyes(at(-4, 7), at(4, 7), 2.2f);
            f.detail(ellipse(at(0, 11.5f), {1.6f, 1.1f}), rgb8(200, 70, 110));
            break;
        }
        case 31: {  // snail
            const Rgb c = shade_colour(GREEN, PALE);
            const Shape foot = unite(
                {box(at(-1, 13), {13.5f, 3.5f}, 3), ellipse(at(-9.5f, 3), {3.8f, 10}),
                 segment(at(-10, -5), at(-13, -14), 0.9f), segment(at(-8, -5), at(-6, -14), 0.9f),
                 circle(at(-13, -14.5f), 1.8f), circle(at(-6, -14.5f), 1.8f)});
            const Shape shell = circle(at(3.5f, 0), 10.5f);
            f.body(foot, mix(c, rgb8(250, 220, 170), 0.45f), at(-4, 5), 12);
            f.body(shell, c, at(3.5f, 0), 10.5f);
            f.detail(subtract(circle(at(3.5f, 0), 7), circle(at(3.5f, 0), 5.8f)), scale(c, 0.55f));
            f.detail(subtract(circle(at(4, 0.5f), 3.5f), circle(at(4, 0.5f), 2.3f)),
                     scale(c, 0.55f));
            f.eye(at(-10, 1), 1.7f);
            break;
        }
        case 32: {  // robot
            const Rgb c = shade_colour(SKY, DARK);
            const Shape s = unite(
                {box(at(0, -1), {11, 9.5f}, 2), segment(at(0, -10), at(0, -16), 0.9f),
                 circle(at(0, -16.5f), 2.6f), box(at(-12, -1), {2, 4}), box(at(12, -1), {2, 4}),
                 box(at(0, 10), {3, 2}), box(at(0, 15.5f), {9.5f, 4}, 1.5f)});
            f.body(s, c, at(0, 0), 14);
            f.detail(box(at(-4.5f, -3), {2.8f, 2.8f}), rgb8(150, 240, 250));
            f.detail(box(at(4.5f, -3), {2.8f, 2.8f}), rgb8(150, 240, 250));
            f.detail(box(at(-4, -2.5f), {1, 1}), pupil);
            f.detail(box(at(5, -2.5f), {1, 1}), pupil);
            f.detail(box(at(0, 4.5f), {5, 1}), rgb8(150, 240, 250));
            f.detail(circle(at(0, 15.5f), 1.8f), rgb8(240, 90, 80));
            break;
        }
        case 33: {  // bird
            const Rgb c = shade_colour(BLUE, PALE);
            const Shape s = unite(
                {ellipse(at(-1, 3), {11.5f, 10.5f}), polygon({at(9, -1), at(15, 2), at(9, 5)}),
                 polygon({at(-9, -1), at(-15, -8), at(-14.5f, 3)}),
                 polygon({at(-3, -6), at(0, -13), at(2, -6.5f)}),
                 segment(at(-3, 13), at(-4, 17), 0.8f), segment(at(2, 13), at(3, 17), 0.8f)});
            f.body(s, c, at(0, 2), 12);
            f.detail(ellipse(at(-3, 5), {5.5f, 3.5f}), scale(c, 0.8f));
            f.detail(polygon({at(9, -1), at(15, 2), at(9, 5)}), rgb8(240, 170, 40));
            f.eye(at(4, -1), 2.3f);
            break;
        }
        case 34: {  // cherries
            const Rgb c = shade_colour(PINK, DARK);
            const Shape berries = unite(circle(at(-6, 9), 6.5f), circle(at(6.5f, 11), 6.5f));
            const Shape stems =
                unite({segment(at(-5, 3), at(2, -14), 1.1f), segment(at(6, 5), at(2, -14), 1.1f),
                       rotate(ellipse(at(8, -14), {6, 2.8f}), at(2, -14), -0.35f)});
            f.body(stems, shade_colour(GREEN, DARK), at(2, -10), 8);
            f.body(berries, c, at(0, 9), 12);
            f.shine(at(-8.5f, 5.5f), {1.5f, 1.2f}, c);
            f.shine(at(4, 7.5f), {1.5f, 1.2f}, c);
            f.eyes(at(-7.5f, 9.5f), at(-3.5f, 9.5f), 1.5f);
            break;
        }
        case 35: {  // bat
            const Rgb c = shade_colour(CYAN, DARK);
            const Shape wing = polygon({at(-2, -4), at(-8, -9), at(-14.5f, -6), at(-14, 6),
                                        at(-10.5f, 3), at(-8, 7), at(-5.5f, 4), at(-2, 8)});
            const Shape ear = polygon({at(-4.5f, -5), at(-3.5f, -12), at(-1, -6)});
            f.body(unite({ellipse(at(0, 1), {5, 8}), pair(wing), pair(ear)}), c, at(0, 0), 13);
            f.eyes(at(-2, -2), at(2, -2), 1.5f);
            f.detail(polygon({at(-1.5f, 2.5f), at(-0.5f, 2.5f), at(-1, 4)}), eye_white);
            f.detail(polygon({at(0.5f, 2.5f), at(1.5f, 2.5f), at(1, 4)}), eye_white);
            break;
        }
        default:
            break;
    }
}

}  // namespace

TileFace draw_face(int kind, int scale) {
    TileFace face(scale);
    FacePainter painter(face);
    draw_kind(kind, painter);
    painter.finish();
    return face;
}

Image draw_atlas() {
    Image atlas(12 * cell_w, 6 * cell_h, Rgb{1, 1, 1});
    for (int k = 0; k < kinds; ++k) {
        const TileFace face = draw_face(k);
        const int x0 = (k / 6) * cell_w, y0 = (k % 6) * cell_h;
        for (int y = 0; y < cell_h; ++y) {
            for (int x = 0; x < cell_w; ++x) {
                const bool shown = face.shown[static_cast<std::size_t>(y * cell_w + x)];
                atlas.at(x0 + x, y0 + y) = shown ? face.picture.at(x, y) : Rgb{1, 1, 1};
                atlas.at(x0 + 6 * cell_w + x, y0 + y) = shown ? Rgb{1, 1, 1} : Rgb{0, 0, 0};
            }
        }
    }
    return atlas;
}

Image draw_plate() {
    // A raised ivory tile seen from the top left: the top surface, then its edge
    // (a lighter band and a green back) to the right and below, set off by dark gaps.
    const Rgb gap = rgb8(34, 30, 28);
    const Rgb top_light = rgb8(252, 247, 232), top_dark = rgb8(232, 222, 196);
    const Rgb edge = rgb8(200, 186, 150), back = rgb8(46, 128, 98), back_dark = rgb8(30, 92, 70);
    Image plate(cell_w, cell_h, gap);
    for (int y = 1; y < cell_h; ++y) {
        for (int x = 1; x < cell_w; ++x) {
            Rgb c = gap;
            if (x <= 31 && y <= 43) {
                const float t =
                    (static_cast<float>(x) / 31.0f * 0.3f + static_cast<float>(y) / 43.0f * 0.7f);
                c = mix(top_light, top_dark, t);
                if (x == 1 || y == 1) c = rgb8(255, 253, 244);
                if (x == 31 || y == 43) c = mix(c, edge, 0.6f);
            } else {
                // The edge runs 4 pixels out; where it starts, it is cut at 45 degrees.
                const int dx = std::max(0, x - 31), dy = std::max(0, y - 43);
                const bool on_edge =
                    (dy == 0 && y > dx) || (dx == 0 && x > dy) || (dx > 0 && dy > 0);
                const int depth = std::max(dx, dy);
                if (on_edge) c = depth <= 2 ? edge : (depth == 3 ? back : back_dark);
            }
            plate.at(x, y) = c;
        }
    }
    return plate;
}

Image compose_tile(int kind) {
    Image tile = draw_plate();
    const TileFace face = draw_face(kind);
    for (int y = 0; y < cell_h; ++y)
        for (int x = 0; x < cell_w; ++x)
            if (face.shown[static_cast<std::size_t>(y * cell_w + x)])
                tile.at(x, y) = face.picture.at(x, y);
    return tile;
}

}  // namespace assetgen
