// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The state dump's texts read back exactly: every control character, quote and
// backslash, and the Windows-1251 letters, whatever escapes the writer chooses.
#include "app/state_dump.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "platform/cp1251.h"
#include "platform/desktop.h"

namespace {

TEST(StateDump, TextsReadBackExactly) {
    std::string text;
    for (int byte = 1; byte < 0x20; ++byte)
        text += static_cast<char>(byte);
    text += "\"\\/\x7F";
    text += "Ворпы Ёё"_cp1251;
    platform::reset_messages();
    platform::recording_desktop().boxes.clear();
    platform::desktop().message_box(text, "caption", 48);

    app::DumpCursor cursor;
    const std::string line = app::state_json(cursor);
    ASSERT_EQ(line.find('\n'), std::string::npos) << "one line";
    const nlohmann::json dump = nlohmann::json::parse(line);
    ASSERT_EQ(dump["message_boxes"].size(), 1u);
    EXPECT_EQ(dump["message_boxes"][0]["text"].get<std::string>(), platform::cp1251_to_utf8(text));
    EXPECT_EQ(dump["message_boxes"][0]["flags"].get<int>(), 48);
    platform::recording_desktop().boxes.clear();
}

}  // namespace
