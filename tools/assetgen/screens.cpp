// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The four screen pictures. They share one backdrop: the menu border animation of
// the score screen shows pieces of "menu\menu" in columns 1 and 16, so the score
// screen must look the same there. Each screen keeps free the places where the
// game draws: menu items, prompts, the name entry and the score rows.
#include <algorithm>
#include <cmath>

#include "lettering.h"
#include "scenes.h"
#include "tiles.h"

namespace assetgen {

namespace {

constexpr float W = screen_w, H = screen_h;

const Rgb heading_colour = rgb8(255, 222, 120);
const Rgb body_colour = rgb8(236, 232, 250);
const Rgb accent_colour = rgb8(140, 230, 180);

Image backdrop() {
    Image image(screen_w, screen_h);
    image.paint_all([](Vec p) {
        const float d = length({(p.x - W / 2) / W, (p.y - H * 0.45f) / H});
        const float n = fractal_noise(p.x / 150, p.y / 150, 4, 71);
        return mix(mix(rgb8(50, 44, 108), rgb8(14, 12, 40), smoothstep(0, 0.75f, d)),
                   rgb8(70, 40, 110), 0.25f * n);
    });
    // Soft lights in the colours of the vorps, away from the middle where the menus stand.
    Random random(72);
    for (int i = 0; i < 70; ++i) {
        const Vec c{random.uniform(0, W), random.uniform(0, H)};
        const float r = random.uniform(5, 22);
        const float away = smoothstep(120, 300, std::fabs(c.x - W / 2));
        image.fill(circle(c, r), hsl(random.uniform(0, 360), 0.7f, 0.65f), 0.05f + 0.1f * away,
                   around(c, r));
    }
    return image;
}

// A dark glass panel behind text, with a thin light rim.
void panel(Image& image, Vec centre, Vec half, float alpha) {
    const Shape shape = box(centre, half, 14);
    const Area area = around(centre, std::max(half.x, half.y) + 2);
    image.fill(shape, rgb8(8, 6, 24), alpha, area);
    image.fill(subtract(shape, grow(shape, -1.5f)), rgb8(180, 170, 230), 0.35f, area);
}

// A vorp face drawn whole at a whole-number scale, without its plate.
void place_vorp(Image& image, int kind, int x, int y, int zoom) {
    const TileFace face = draw_face(kind);
    for (int fy = 0; fy < cell_h; ++fy) {
        for (int fx = 0; fx < cell_w; ++fx) {
            if (!face.shown[static_cast<std::size_t>(fy * cell_w + fx)]) continue;
            for (int zy = 0; zy < zoom; ++zy)
                for (int zx = 0; zx < zoom; ++zx)
                    image.blend(x + fx * zoom + zx, y + fy * zoom + zy, face.picture.at(fx, fy), 1);
        }
    }
}

// A finished tile (plate and face) at its own size.
void place_tile(Image& image, int kind, int x, int y) {
    image.place(compose_tile(kind), x, y);
}

// Big lettering with a warm gradient, a dark rim and a drop shadow, centred on
// centre_x with its ink between top and about top + height.
void title(Image& image, std::string_view utf8, int centre_x, int top, int height, Rgb upper,
           Rgb lower) {
    const TextStyle style{"Liberation Serif", height, 700, true};
    const int x = centre_x - text_width(style, utf8) / 2;
    Coverage ink = text_coverage(image.width(), image.height(), x, 0, style, utf8);
    // Find the ink's first row so the lettering starts exactly at top.
    int first = image.height(), last = 0;
    for (int y = 0; y < ink.height(); ++y)
        for (int px = 0; px < ink.width(); ++px)
            if (ink.at(px, y) > 0.5f) {
                first = std::min(first, y);
                last = std::max(last, y);
            }
    ink = text_coverage(image.width(), image.height(), x, top - first, style, utf8);
    const float ink_top = static_cast<float>(top), ink_height = static_cast<float>(last - first);
    const float rim = std::max(2.0f, static_cast<float>(height) / 30.0f);
    const Coverage outline = dilate(ink, rim);
    paint_through(image, dilate(outline, 2), rgb8(0, 0, 0), 0.5f, static_cast<int>(rim) + 2,
                  static_cast<int>(rim) + 3);
    paint_through(image, outline, rgb8(52, 20, 12));
    for (int y = 0; y < ink.height(); ++y) {
        for (int px = 0; px < ink.width(); ++px) {
            const float c = ink.at(px, y);
            if (c <= 0) continue;
            const float t = clamp01((static_cast<float>(y) - ink_top) / std::max(1.0f, ink_height));
            Rgb colour = mix(upper, lower, t);
            // A band of light across the upper third, as on polished metal.
            colour = mix(colour, rgb8(255, 255, 235), 0.35f * (1 - smoothstep(0.18f, 0.34f, t)));
            image.blend(px, y, colour, c);
        }
    }
}

void paragraphs(Image& image, int left, int top, int width, const TextStyle& style, int line_gap,
                int paragraph_gap, const std::vector<const char*>& texts) {
    int y = top;
    for (const char* text : texts) {
        for (const std::string& line : wrap(style, text, width)) {
            draw_shadowed(image, left, y, style, line, body_colour);
            y += style.height + line_gap;
        }
        y += paragraph_gap;
    }
}

}  // namespace

Image menu_screen(const ScreenTexts& texts) {
    Image image = backdrop();
    // Wide enough for the hint prompt's longest line (24 characters of 18 pixels) and
    // with its rim well above the name entry's prompt at y 150.
    panel(image, {W / 2, 319}, {232, 183}, 0.35f);
    title(image, texts.title, static_cast<int>(W / 2), 14, 124, rgb8(255, 236, 130),
          rgb8(236, 120, 34));
    place_vorp(image, 0, 70, 4, 2);
    place_vorp(image, 16, 506, 4, 2);
    return image;
}

Image rules_screen(const ScreenTexts& texts) {
    Image image = backdrop();
    panel(image, {W / 2, 232}, {306, 212}, 0.55f);
    draw_shadowed(image, screen_w / 2, 26, {"Liberation Serif", 34, 700, true}, texts.rules.heading,
                  heading_colour, true);
    const TextStyle body{"Liberation Sans", 15, 400, false};
    paragraphs(image, 34, 74, 580, body, 2, 6, texts.rules.paragraphs);
    // An example: two hearts joined over the top of the row, with two turns.
    draw_shadowed(image, 34, 396, body, texts.rules.example, accent_colour);
    const int kinds_in_row[] = {4, 3, 7, 4};
    for (int i = 0; i < 4; ++i)
        place_tile(image, kinds_in_row[i], 404 + i * cell_w, 384);
    const Vec from{404 + 16.5f, 384 + 22.5f}, to{404 + 3 * cell_w + 16.5f, 384 + 22.5f};
    const float over = 370;
    const Shape path =
        unite({segment(from, {from.x, over}, 2), segment({from.x, over}, {to.x, over}, 2),
               segment({to.x, over}, to, 2)});
    image.fill(path, rgb8(120, 255, 140), 1, {390, 360, 560, 440});
    return image;
}

Image rules_end_screen(const ScreenTexts& texts) {
    Image image = backdrop();
    title(image, texts.training_end.heading, screen_w / 2, 40, 92, rgb8(200, 255, 170),
          rgb8(60, 170, 90));
    panel(image, {W / 2, 262}, {270, 120}, 0.5f);
    const TextStyle body{"Liberation Sans", 19, 400, false};
    int y = 170;
    for (const char* line : texts.training_end.lines) {
        draw_shadowed(image, screen_w / 2, y, body, line, body_colour, true);
        y += 30;
    }
    // A parade of vorps on their plates.
    const int parade[] = {3, 28, 11, 5, 29, 21, 30, 12};
    for (int i = 0; i < 8; ++i)
        place_tile(image, parade[i], 180 + i * 36, 318);
    return image;
}

Image score_screen(const ScreenTexts& texts) {
    Image image = backdrop();
    title(image, texts.scores.heading, screen_w / 2, 22, 62, rgb8(255, 236, 130),
          rgb8(236, 120, 34));
    // Around the rows and the back button below them, so its rim crosses neither.
    panel(image, {W / 2, 308}, {204, 186}, 0.45f);
    draw_text(image, screen_w / 2, 96, {"Liberation Sans", 15, 400, true}, texts.scores.note,
              accent_colour, true);
    return image;
}

const ScreenTexts& screen_texts(Language language) {
    static const ScreenTexts russian{
        "Ворпы",
        {"Как играть",
         {
             "На поле 144 ворпа: 36 видов, по четыре каждого. Щёлкните по ворпу, потом по "
             "такому же — если их можно соединить, пара исчезнет.",
             "Правило двух поворотов: линия между ворпами состоит не больше чем из трёх прямых "
             "отрезков (не больше двух поворотов) и идёт только по пустым клеткам.",
             "Кольцо: вокруг поля всегда есть пустая рамка в одну клетку. Линия может выходить "
             "в неё и обходить ворпов снаружи.",
             "Режимы этапов: каждый этап — новое поле на новом фоне. На первом ворпы стоят на "
             "месте; на следующих после каждой пары они съезжают вверх, вниз, влево или "
             "вправо, а потом всё поле прокручивается по кругу. Через девять этапов режимы "
             "начинаются сначала.",
             "Очки: в начале этапа — бонус (300, 250, 200, 150, потом по 100), за пару — 10, "
             "за пройденный девятый режим — ещё 1000. Каждая секунда игры стоит очко.",
             "Подсказка: в меню игры («<< Меню» или Esc) можно попросить показать два ворпа, "
             "которые убираются. Первая подсказка стоит 10 очков, каждая следующая на 10 "
             "дороже. Если ходов не осталось, ворпы перемешаются сами; число открытых пар "
             "видно в заголовке окна.",
             "Тренировка — три небольших поля без очков и без спешки.",
         },
         "Пример: путь с двумя поворотами"},
        {"Отлично!",
         {"Тренировка окончена.", "В настоящей игре поле будет полным,",
          "а ворпы начнут двигаться.", "Следите за очками и удачи!"}},
        {"Лучшие игроки", "девять лучших результатов"}};
    static const ScreenTexts english{
        "Vorpy",
        {"How to play",
         {
             "The board holds 144 vorps: 36 kinds, four of each. Click a vorp, then one just "
             "like it: if the two can be joined, the pair disappears.",
             "The two-turn rule: the line between the vorps is made of at most three straight "
             "segments (at most two turns) and runs through empty cells only.",
             "The ring: around the board there is always an empty frame one cell wide. The "
             "line may go out into it and pass round the vorps on the outside.",
             "Stage modes: every stage is a new board on a new background. On the first one the "
             "vorps stay where they are; on the next ones they slide up, down, left or right "
             "after every pair, and later the whole board scrolls round. After nine stages "
             "the modes start over.",
             "Score: a bonus at the start of a stage (300, 250, 200, 150, then 100 each), 10 "
             "for a pair, another 1000 for clearing the ninth mode. Every second of play costs "
             "a point.",
             "Hint: in the game menu (\"<< Menu\" or Esc) you can ask to be shown two vorps "
             "that can be removed. The first hint costs 10 points, each next one 10 more. If "
             "no moves are left, the vorps reshuffle by themselves; the number of open pairs "
             "is shown in the window's title.",
             "Training: three small boards with no score and no hurry.",
         },
         "Example: a path with two turns"},
        {"Well done!",
         {"Training is over.", "In the real game the board is full,",
          "and the vorps start to move.", "Watch your score, and good luck!"}},
        {"High scores", "the nine best results"}};
    return language == Language::english ? english : russian;
}

}  // namespace assetgen
