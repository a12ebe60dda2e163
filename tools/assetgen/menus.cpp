// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The six menu files. Items are spread over the window height (item i is centred
// at i * height / (items + 1)), so each file's item count places its working
// items clear of what the game draws on the same screen:
// - main menu, 8 items: choices at 174..348, under the title art (above y 140), and
//   item 7 at 406, blank, which the game fills while it keeps a game;
// - pause menu, 5 items: the stage score stands in item 4's place at about 318..418,
//   between item 3 (264) and item 5 (440);
// - hint prompt, 6 items: the prompt lines at 170 and 220 stay above item 4 (300);
// - back menu, 8 items: its button, item 8, at 464 lies below the rules text and the
//   nine score rows (132..442 on a screen 768 high);
// - training menu, 7 items: items 6 and 7 at 396 and 462 lie below the largest
//   training board (rows 1..6, down to y 336).
// Items that only hold a place are a single space; the numbers of the others are the
// game's own (menu/menu_items.h). No item that spends points or quits lies where the
// item leading to its screen was, so a double click cannot fall through onto it:
// "Да, показать" (300) sits above "Показать подсказку" (352), and "Выход" (348)
// above "Закончить игру" (440) and the back button (464). The question before a new
// game, 8 items like the main menu: "Да" (348) well below "Новая игра" (174), "Нет"
// (464) below the kept game's item (406) and "Выход" it leads back to.
#include "menus.h"

#include "menu/menu_items.h"

namespace assetgen {

namespace {

struct MenuLook {
    int red, green, blue;
    int char_width, char_height;
    // The face with its width scale after the last space: the layout measures a text
    // as its length times char_width times the scale, and the bold italic serif
    // draws Russian words about nine tenths as wide as the width it is made with.
    const char* face;
};

// An item the game gives a text, and the command word the file keeps beside it.
struct Item {
    int number;
    const char* text;
    const char* command;
};

// count items, each a single space with the command NONE but those given; without
// commands the file has no [EXECUT] section.
std::vector<std::string> menu_file(const char* comment, const MenuLook& look, const char* extra_key,
                                   int count, std::initializer_list<Item> named,
                                   bool with_commands = true) {
    std::vector<std::string> items(count, " ");
    std::vector<std::string> commands;
    if (with_commands) commands.assign(count, "NONE");
    for (const Item& item : named) {
        items[item.number - 1] = item.text;
        if (with_commands) commands[item.number - 1] = item.command;
    }
    std::vector<std::string> lines{std::string("; ") + comment, "red=" + std::to_string(look.red),
                                   "green=" + std::to_string(look.green),
                                   "blue=" + std::to_string(look.blue)};
    if (extra_key != nullptr) lines.emplace_back(extra_key);
    lines.insert(lines.end(),
                 {"", "[FONT]", std::to_string(look.char_width), std::to_string(look.char_height),
                  look.face, "", "[OPTIONS]", "CENTER", "", "[TEXT]"});
    lines.insert(lines.end(), items.begin(), items.end());
    lines.emplace_back("");
    if (!commands.empty()) {
        lines.emplace_back("; Команды пунктов, по одной строке на пункт");
        lines.emplace_back("[EXECUT]");
        lines.insert(lines.end(), commands.begin(), commands.end());
        lines.emplace_back("");
    }
    return lines;
}

const MenuLook gold{255, 232, 140, 16, 36, "Times New Roman 0.9"};
const MenuLook pale_gold{255, 236, 170, 14, 32, "Times New Roman 0.93"};

}  // namespace

std::vector<MenuFile> menu_files() {
    namespace items = menu_items;
    return {
        {"helpmenu.menu",
         menu_file("Подсказка: пункт 4 показывает два ворпа, пункт 5 возвращает в игру", gold,
                   nullptr, items::hint::count,
                   {{items::hint::show, "Да, показать", "HINT"},
                    {items::hint::decline, "Нет, не надо", "PLAY"}})},
        {"continuemenu.menu",
         menu_file("Меню игры: 3 продолжить, 4 подсказка (или очки этапа), 5 закончить игру", gold,
                   nullptr, items::pause::count,
                   {{items::pause::resume, "Продолжить", "PLAY"},
                    {items::pause::hint, "Показать подсказку", "HINT"},
                    {items::pause::end_game, "Закончить игру", "END"}})},
        {"mainmenu.menu", menu_file("Главное меню: 3 новая игра, 4 тренировка, 5 рекорды, 6 выход",
                                    gold, "game=vorps", items::main::count,
                                    {{items::main::new_game, "Новая игра", "NEW"},
                                     {items::main::training, "Тренировка", "TRAINING"},
                                     {items::main::scores, "Рекорды", "SCORES"},
                                     {items::main::quit, "Выход", "EXIT"}})},
        {"back.menu",
         menu_file("Кнопка экранов правил, конца тренировки и рекордов: пункт 8", pale_gold,
                   nullptr, items::back::count, {{items::back::button, "Назад", nullptr}}, false)},
        {"really.menu", menu_file("Вопрос перед новой игрой, когда есть отложенная: 6 да, 8 нет",
                                  gold, nullptr, items::really::count,
                                  {{items::really::question, "Вы уверены?", "NONE"},
                                   {items::really::yes, "Да", "YES"},
                                   {items::really::no, "Нет", "NO"}})},
        {"training.menu",
         menu_file("Тренировка: 6 подсказка или следующее поле, 7 закончить тренировку",
                   MenuLook{255, 240, 120, 14, 30, "Times New Roman 0.93"}, nullptr,
                   items::training::count,
                   {{items::training::hint, "Показать подсказку", "HINT"},
                    {items::training::end, "Закончить тренировку", "END"}})},
    };
}

}  // namespace assetgen

namespace assetgen {

std::vector<std::string> starting_scores() {
    return {"Ворпик 3000", "Маша 2500", "Петя 2000", "Катя 1600", "Дима 1200",
            "Оля 900",     "Саша 600",  "Лена 400",  "Ваня 200"};
}

}  // namespace assetgen
