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
    // The width scale written after the face: the layout measures a text as its
    // length times char_width times the scale (the product cut to whole pixels), for
    // placing it and for the zone a click counts in. So the scale is what the bold
    // italic serif draws of a language's items, those of the file and those the game
    // writes into them, for each unit of the width it is made with: about nine tenths
    // for the Russian words, and 0.83 and 0.81 for the English ones at the two widths,
    // as measured through the font service.
    Phrase width_scale;
};

// An item the game gives a text, and the command word the file keeps beside it.
struct Item {
    int number;
    Phrase text;
    const char* command;
};

// One menu's layout, the same in every language: its comment line, look, item count
// and items; each item a single space with the command NONE but those named. Without
// commands the file has no [EXECUT] section.
struct MenuLayout {
    const char* file_name;
    Phrase comment;
    MenuLook look;
    const char* extra_key;
    int count;
    std::vector<Item> named;
    bool with_commands = true;
};

std::vector<std::string> menu_file(const MenuLayout& menu, Language language) {
    std::vector<std::string> items(menu.count, " ");
    std::vector<std::string> commands;
    if (menu.with_commands) commands.assign(menu.count, "NONE");
    for (const Item& item : menu.named) {
        items[item.number - 1] = item.text.in(language);
        if (menu.with_commands) commands[item.number - 1] = item.command;
    }
    const MenuLook& look = menu.look;
    std::vector<std::string> lines{
        std::string("; ") + menu.comment.in(language), "red=" + std::to_string(look.red),
        "green=" + std::to_string(look.green), "blue=" + std::to_string(look.blue)};
    if (menu.extra_key != nullptr) lines.emplace_back(menu.extra_key);
    lines.insert(lines.end(),
                 {"", "[FONT]", std::to_string(look.char_width), std::to_string(look.char_height),
                  std::string("Times New Roman ") + look.width_scale.in(language), "", "[OPTIONS]",
                  "CENTER", "", "[TEXT]"});
    lines.insert(lines.end(), items.begin(), items.end());
    lines.emplace_back("");
    if (!commands.empty()) {
        lines.emplace_back(std::string("; ") + Phrase{"Команды пунктов, по одной строке на пункт",
                                                      "Item commands, one line per item"}
                                                   .in(language));
        lines.emplace_back("[EXECUT]");
        lines.insert(lines.end(), commands.begin(), commands.end());
        lines.emplace_back("");
    }
    return lines;
}

const MenuLook gold{255, 232, 140, 16, 36, {"0.9", "0.83"}};
const MenuLook pale_gold{255, 236, 170, 14, 32, {"0.93", "0.81"}};

}  // namespace

std::vector<MenuFile> menu_files(Language language) {
    namespace items = menu_items;
    const MenuLayout layouts[] = {
        {"helpmenu.menu",
         {"Подсказка: пункт 4 показывает два ворпа, пункт 5 возвращает в игру",
          "Hint: item 4 shows two vorps, item 5 goes back to the game"},
         gold,
         nullptr,
         items::hint::count,
         {{items::hint::show, {"Да, показать", "Yes, show them"}, "HINT"},
          {items::hint::decline, {"Нет, не надо", "No, thanks"}, "PLAY"}}},
        {"continuemenu.menu",
         {"Меню игры: 3 продолжить, 4 подсказка (или очки этапа), 5 закончить игру",
          "Game menu: 3 continue, 4 hint (or the stage score), 5 end the game"},
         gold,
         nullptr,
         items::pause::count,
         {{items::pause::resume, {"Продолжить", "Continue"}, "PLAY"},
          {items::pause::hint, {"Показать подсказку", "Show a hint"}, "HINT"},
          {items::pause::end_game, {"Закончить игру", "End game"}, "END"}}},
        {"mainmenu.menu",
         {"Главное меню: 3 новая игра, 4 тренировка, 5 рекорды, 6 выход",
          "Main menu: 3 new game, 4 training, 5 high scores, 6 exit"},
         gold,
         "game=vorps",
         items::main::count,
         {{items::main::new_game, {"Новая игра", "New game"}, "NEW"},
          {items::main::training, {"Тренировка", "Training"}, "TRAINING"},
          {items::main::scores, {"Рекорды", "High scores"}, "SCORES"},
          {items::main::quit, {"Выход", "Exit"}, "EXIT"}}},
        {"back.menu",
         {"Кнопка экранов правил, конца тренировки и рекордов: пункт 8",
          "The button of the rules, training end and score screens: item 8"},
         pale_gold,
         nullptr,
         items::back::count,
         {{items::back::button, {"Назад", "Back"}, nullptr}},
         false},
        {"really.menu",
         {"Вопрос перед новой игрой, когда есть отложенная: 6 да, 8 нет",
          "The question before a new game while one is kept: 6 yes, 8 no"},
         gold,
         nullptr,
         items::really::count,
         {{items::really::question, {"Вы уверены?", "Are you sure?"}, "NONE"},
          {items::really::yes, {"Да", "Yes"}, "YES"},
          {items::really::no, {"Нет", "No"}, "NO"}}},
        {"training.menu",
         {"Тренировка: 6 подсказка или следующее поле, 7 закончить тренировку",
          "Training: 6 hint or the next board, 7 end training"},
         MenuLook{255, 240, 120, 14, 30, pale_gold.width_scale},
         nullptr,
         items::training::count,
         {{items::training::hint, {"Показать подсказку", "Show a hint"}, "HINT"},
          {items::training::end, {"Закончить тренировку", "End training"}, "END"}}},
    };
    std::vector<MenuFile> files;
    for (const MenuLayout& layout : layouts)
        files.push_back({layout.file_name, menu_file(layout, language)});
    return files;
}

}  // namespace assetgen

namespace assetgen {

std::vector<std::string> starting_scores() {
    return {"Ворпик 3000", "Маша 2500", "Петя 2000", "Катя 1600", "Дима 1200",
            "Оля 900",     "Саша 600",  "Лена 400",  "Ваня 200"};
}

}  // namespace assetgen
