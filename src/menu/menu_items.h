// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The menu files the game loads, by their item count and the numbers of the items the
// game acts on. tools/assetgen writes each file's items at these numbers and the flow
// acts on them, so a menu file and the code that reads its clicks cannot drift apart.
// Items are numbered from 1; those not named only hold a place.
#pragma once

namespace menu_items {

// "menu\mainmenu.menu", the main menu. Two places after the last item lift "Выход"
// clear of the pause menu's "Закончить игру" and the back button that lead here. The
// first of them offers a kept game; the file leaves it blank.
namespace main {
constexpr int count = 8;
constexpr int new_game = 3, training = 4, scores = 5, quit = 6, resume = 7;
}  // namespace main

// "menu\continuemenu.menu", the pause menu of the full game; the stage score stands
// in the hint item's place once the stage is cleared.
namespace pause {
constexpr int count = 5;
constexpr int resume = 3, hint = 4, end_game = 5;
}  // namespace pause

// "menu\helpmenu.menu", the hint prompt. A place after the last item lifts "Да,
// показать" clear of the pause menu's "Показать подсказку" that leads here.
namespace hint {
constexpr int count = 6;
constexpr int show = 4, decline = 5;
}  // namespace hint

// "menu\back.menu", the one button of the rules, training end and score screens.
namespace back {
constexpr int count = 8;
constexpr int button = 8;
}  // namespace back

// "menu\training.menu", beside the training board.
namespace training {
constexpr int count = 7;
constexpr int hint = 6, end = 7;
}  // namespace training

// "menu\really.menu", the question before a new game replaces a kept one. "Да" lies
// clear of "Новая игра" that leads here, "Нет" clear of the main menu's "Выход" and of
// the kept game's item it leads back to.
namespace really {
constexpr int count = 8;
constexpr int question = 4, yes = 6, no = 8;
}  // namespace really

}  // namespace menu_items
