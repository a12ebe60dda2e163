// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The stage backgrounds: calm, mid-dark scenes that the tile plates stand out
// from, each with its own colours and pattern. Their names sort in play order.
#include <cmath>
#include <functional>
#include <numbers>
#include <utility>

#include "scenes.h"

namespace assetgen {

namespace {

constexpr float pi = std::numbers::pi_v<float>;
constexpr float W = screen_w, H = screen_h;

// A vertical gradient through colour stops at heights 0..1.
Rgb vertical(float y, std::initializer_list<std::pair<float, Rgb>> stops) {
    const float t = y / H;
    auto previous = *stops.begin();
    if (t <= previous.first) return previous.second;
    for (const auto& stop : stops) {
        if (t <= stop.first) {
            return mix(previous.second, stop.second,
                       (t - previous.first) / (stop.first - previous.first));
        }
        previous = stop;
    }
    return previous.second;
}

// The land below a skyline y = f(x), filled with smooth edges.
Shape below(std::function<float(float)> skyline) {
    return [skyline = std::move(skyline)](Vec p) { return skyline(p.x) - p.y; };
}

// A soft darkening towards the corners, so the eye rests on the middle.
void vignette(Image& image, float strength) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const float dx = (static_cast<float>(x) - W / 2) / (W / 2);
            const float dy = (static_cast<float>(y) - H / 2) / (H / 2);
            image.at(x, y) =
                scale(image.at(x, y), 1 - strength * smoothstep(0.5f, 1.6f, dx * dx + dy * dy));
        }
    }
}

// Fine grain, so that large gradients do not band.
void grain(Image& image, std::uint32_t seed, float amount) {
    Random random(seed);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const float n = (random.uniform() - 0.5f) * amount;
            Rgb& c = image.at(x, y);
            c = {c.r + n, c.g + n, c.b + n};
        }
    }
}

// The finish of every background: the vignette, then the grain.
Image finished(Image image, float vignette_strength, std::uint32_t grain_seed, float grain_amount) {
    vignette(image, vignette_strength);
    grain(image, grain_seed, grain_amount);
    return image;
}

// count small things strewn over the picture above max_y: each a centre and a radius
// from random (in that order), handed to place, which may draw more.
void scatter(Random& random, int count, float max_y, float min_radius, float max_radius,
             const std::function<void(Vec, float)>& place) {
    for (int i = 0; i < count; ++i) {
        const Vec c{random.uniform(0, W), random.uniform(0, max_y)};
        const float r = random.uniform(min_radius, max_radius);
        place(c, r);
    }
}

Image dawn() {
    Image image(screen_w, screen_h);
    image.paint_all([](Vec p) {
        Rgb sky = vertical(
            p.y, {{0, rgb8(46, 30, 84)}, {0.45f, rgb8(128, 62, 110)}, {0.72f, rgb8(214, 118, 96)}});
        const float glow = std::exp(-length(p - Vec{430, 390}) / 140.0f);
        return mix(sky, rgb8(255, 196, 120), 0.55f * glow);
    });
    image.fill(circle({430, 378}, 34), rgb8(255, 214, 150), 0.85f, around({430, 378}, 34));
    image.fill(below([](float x) {
                   return 360 + 30 * std::sin(x / 110.0f) + 14 * std::sin(x / 37.0f + 1);
               }),
               rgb8(98, 52, 96));
    image.fill(
        below([](float x) { return 410 + 24 * std::sin(x / 90.0f + 2) + 8 * std::sin(x / 23.0f); }),
        rgb8(70, 38, 78));
    image.fill(below([](float x) { return 462 + 16 * std::sin(x / 70.0f + 4); }), rgb8(46, 26, 58));
    return finished(std::move(image), 0.35f, 1, 0.012f);
}

Image sea() {
    Image image(screen_w, screen_h);
    image.paint_all([](Vec p) {
        Rgb c = vertical(p.y,
                         {{0, rgb8(20, 52, 96)}, {0.5f, rgb8(22, 84, 128)}, {1, rgb8(10, 38, 80)}});
        const float wave = std::sin(p.x / 46.0f + 3 * std::sin(p.y / 60.0f) + p.y / 9.0f);
        const float band =
            smoothstep(0.8f, 0.99f, wave) * (0.5f + 0.5f * value_noise(p.x / 40, p.y / 12, 7));
        return mix(c, rgb8(120, 190, 220), 0.16f * band);
    });
    return finished(std::move(image), 0.4f, 2, 0.012f);
}

Image forest() {
    Image image(screen_w, screen_h);
    image.paint_all([](Vec p) {
        const float n = fractal_noise(p.x / 90, p.y / 90, 4, 11);
        return mix(vertical(p.y, {{0, rgb8(34, 72, 46)}, {1, rgb8(14, 40, 26)}}), rgb8(70, 112, 60),
                   0.35f * n);
    });
    Random random(3);
    for (int i = 0; i < 14; ++i) {
        const float x = random.uniform(0, W), w = random.uniform(8, 20);
        image.fill(box({x, H / 2}, {w, H}), rgb8(16, 36, 24), 0.35f,
                   {static_cast<int>(x - w - 2), 0, static_cast<int>(x + w + 2), screen_h});
    }
    scatter(random, 60, H, 6, 26, [&](Vec c, float r) {
        image.fill(circle(c, r), mix(rgb8(140, 190, 90), rgb8(220, 230, 140), random.uniform()),
                   random.uniform(0.06f, 0.16f), around(c, r));
    });
    return finished(std::move(image), 0.4f, 4, 0.012f);
}

Image desert() {
    Image image(screen_w, screen_h);
    image.paint_all([](Vec p) {
        return vertical(
            p.y, {{0, rgb8(70, 46, 70)}, {0.35f, rgb8(156, 92, 70)}, {0.55f, rgb8(196, 128, 78)}});
    });
    const Rgb dunes[] = {rgb8(160, 100, 62), rgb8(134, 80, 50), rgb8(108, 62, 42),
                         rgb8(82, 46, 34)};
    for (int i = 0; i < 4; ++i) {
        const float base = 250 + 70 * static_cast<float>(i), phase = 1.7f * static_cast<float>(i);
        const Rgb c = dunes[i];
        image.fill(below([=](float x) {
                       return base + 26 * std::sin(x / (140 - 20 * static_cast<float>(i)) + phase) +
                              10 * std::sin(x / 51.0f + phase * 2);
                   }),
                   [=](Vec p) { return mix(c, scale(c, 0.8f), smoothstep(0, 80, p.y - base)); });
    }
    return finished(std::move(image), 0.35f, 5, 0.014f);
}

Image night() {
    Image image(screen_w, screen_h);
    image.paint_all([](Vec p) {
        const float haze = fractal_noise(p.x / 160, p.y / 120, 4, 21);
        const Rgb sky = mix(vertical(p.y, {{0, rgb8(8, 12, 38)}, {1, rgb8(24, 32, 74)}}),
                            rgb8(60, 56, 120), 0.25f * haze);
        return mix(sky, rgb8(150, 160, 220), 0.3f * std::exp(-length(p - Vec{520, 96}) / 60.0f));
    });
    const Vec moon{520, 96};
    image.fill(subtract(circle(moon, 30), circle(moon + Vec{12, -8}, 26)), rgb8(250, 240, 200),
               0.95f, around(moon, 31));
    Random random(6);
    scatter(random, 150, H, 0.5f, 1.5f, [&](Vec c, float r) {
        image.fill(circle(c, r), rgb8(235, 235, 255), random.uniform(0.3f, 0.9f), around(c, r));
    });
    return finished(std::move(image), 0.3f, 7, 0.01f);
}

Image autumn() {
    Image image(screen_w, screen_h);
    image.paint_all([](Vec p) {
        const float n = fractal_noise(p.x / 120, p.y / 120, 4, 31);
        return mix(vertical(p.y, {{0, rgb8(112, 52, 30)}, {1, rgb8(64, 28, 22)}}),
                   rgb8(150, 90, 40), 0.35f * n);
    });
    Random random(8);
    scatter(random, 46, H, 9, 20, [&](Vec c, float r) {
        const float turn = random.uniform(0, 2 * pi);
        const Shape leaf = unite(star(c, r, r * 0.5f, 5, turn),
                                 segment(c, c + rotate(Vec{0, r * 1.2f}, turn), 1.2f));
        const Rgb colour = mix(rgb8(230, 140, 40), rgb8(200, 60, 30), random.uniform());
        image.fill(leaf, colour, random.uniform(0.12f, 0.24f), around(c, r * 1.3f));
    });
    return finished(std::move(image), 0.35f, 9, 0.012f);
}

Image winter() {
    Image image(screen_w, screen_h);
    image.paint_all([](Vec p) {
        return vertical(
            p.y, {{0, rgb8(42, 58, 96)}, {0.7f, rgb8(84, 104, 140)}, {1, rgb8(70, 88, 124)}});
    });
    image.fill(below([](float x) {
                   return 430 + 18 * std::sin(x / 120.0f) + 8 * std::sin(x / 41.0f + 2);
               }),
               [](Vec p) {
                   return mix(rgb8(170, 184, 210), rgb8(120, 136, 170), smoothstep(430, 528, p.y));
               });
    Random random(10);
    scatter(random, 70, 440, 3, 9, [&](Vec c, float r) {
        std::vector<Shape> arms;
        for (int a = 0; a < 3; ++a) {
            const Vec d = rotate(Vec{0, r}, pi * static_cast<float>(a) / 3);
            arms.push_back(segment(c - d, c + d, std::max(0.6f, r / 9)));
        }
        image.fill(unite(arms), rgb8(235, 242, 255), random.uniform(0.2f, 0.45f), around(c, r + 1));
    });
    return finished(std::move(image), 0.3f, 11, 0.01f);
}

Image lavender() {
    Image image(screen_w, screen_h);
    const float horizon = 190;
    image.paint_all([=](Vec p) {
        if (p.y < horizon) {
            return vertical(p.y, {{0, rgb8(70, 60, 120)}, {horizon / H, rgb8(170, 130, 170)}});
        }
        // Rows of lavender running to a point on the horizon.
        const float depth = (p.y - horizon) / (H - horizon);
        const float across = (p.x - W / 2) / (depth + 0.05f);
        const float row = 0.5f + 0.5f * std::cos(across / 26.0f);
        const Rgb field = mix(rgb8(96, 62, 140), rgb8(50, 34, 80), 0.3f + 0.7f * depth);
        return mix(field, rgb8(40, 60, 40), 0.55f * smoothstep(0.55f, 0.95f, row));
    });
    const Shape hills = below(
        [=](float x) { return horizon - 12 - 10 * std::sin(x / 80.0f) - 6 * std::sin(x / 27.0f); });
    image.fill(intersect(hills, box({W / 2, horizon / 2}, {W, horizon / 2})), rgb8(88, 70, 120),
               0.9f);
    image.fill(box({0, horizon + 1}, {W, 1.5f}), rgb8(110, 80, 130), 0.8f);
    return finished(std::move(image), 0.35f, 12, 0.012f);
}

Image aurora() {
    Image image(screen_w, screen_h);
    image.paint_all([](Vec p) {
        Rgb c = vertical(p.y, {{0, rgb8(6, 20, 34)}, {1, rgb8(10, 40, 52)}});
        for (int band = 0; band < 3; ++band) {
            const float b = static_cast<float>(band);
            const float centre = 130 + 70 * b + 40 * std::sin(p.x / (150 + 30 * b) + 2 * b) +
                                 20 * fractal_noise(p.x / 90, b, 3, 41);
            // A curtain: a sharp lower hem that fades slowly upwards, in soft vertical rays.
            const float d = p.y - centre;
            const float profile = d > 0 ? std::exp(-d * d / 120.0f) : std::exp(d / (50 + 15 * b));
            const float rays = 0.45f + 0.55f * value_noise(p.x / 9.0f, b * 7, 42);
            const float curtain = profile * rays * (0.5f + 0.5f * value_noise(p.x / 120.0f, b, 43));
            c = mix(c, band == 1 ? rgb8(90, 200, 170) : rgb8(60, 170, 120), 0.5f * curtain);
        }
        return c;
    });
    image.fill(below([](float x) {
                   return 470 + 10 * std::sin(x / 60.0f) + 18 * value_noise(x / 40, 0, 5);
               }),
               rgb8(6, 16, 22));
    return finished(std::move(image), 0.3f, 13, 0.01f);
}

Image marble() {
    Image image(screen_w, screen_h);
    image.paint_all([](Vec p) {
        const float n = fractal_noise(p.x / 140, p.y / 140, 5, 51);
        const float vein = std::fabs(std::sin((p.x + p.y * 0.6f) / 60.0f + 9 * n));
        const Rgb base = mix(rgb8(92, 34, 58), rgb8(60, 22, 44), n);
        return mix(base, rgb8(170, 110, 130), 0.35f * std::pow(1 - vein, 8.0f));
    });
    return finished(std::move(image), 0.3f, 14, 0.012f);
}

}  // namespace

std::vector<Background> stage_backgrounds() {
    return {{"01_dawn.back", dawn},     {"02_sea.back", sea},           {"03_forest.back", forest},
            {"04_desert.back", desert}, {"05_night.back", night},       {"06_autumn.back", autumn},
            {"07_winter.back", winter}, {"08_lavender.back", lavender}, {"09_aurora.back", aurora},
            {"10_marble.back", marble}};
}

}  // namespace assetgen
