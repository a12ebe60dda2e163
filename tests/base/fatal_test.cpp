// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// fatal_error: the message box with its caption, then the quit request.
#include "base/fatal.h"

#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "platform/desktop.h"

TEST(FatalError, ShowsTheBoxThenAsksTheLoopToEnd) {
    platform::reset_messages();
    platform::recording_desktop().boxes.clear();
    fatal_error("Значение x не найдено."_cp1251);
    auto& boxes = platform::recording_desktop().boxes;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Значение x не найдено."_cp1251);
    EXPECT_EQ(boxes[0].caption, "\xD4\xE0\xF2\xE0\xEB\xFC\xED\xE0\xFF \xEE\xF8\xE8\xE1\xEA\xE0");
    EXPECT_EQ(boxes[0].flags, platform::MB_OK);
    platform::Message m{};
    ASSERT_TRUE(platform::peek_message(m));
    EXPECT_EQ(m.type, platform::MessageType::quit);
    EXPECT_EQ(m.code, 1u);
    EXPECT_FALSE(platform::peek_message(m));
    boxes.clear();
}
