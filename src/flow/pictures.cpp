// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The screen pictures' one instance.
#include "flow/pictures.h"

namespace flow {

ScreenPictures& screen_pictures() {
    static ScreenPictures pictures;
    return pictures;
}

void reset_screen_pictures() {
    ScreenPictures& p = screen_pictures();
    for (Picture* picture : {&p.backdrop_picture, &p.menu_picture, &p.rules_picture,
                             &p.rules_end_picture, &p.score_picture, &p.panel_picture})
        picture->release();
}

}  // namespace flow
