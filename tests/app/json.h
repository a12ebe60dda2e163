// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The headless shell's output lines read with nlohmann-json into a small value tree
// the tests walk: objects (members in their order), arrays, strings, whole numbers,
// true, false and null.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace test_json {

struct Value {
    enum class Kind { null, boolean, number, string, array, object };
    Kind kind = Kind::null;
    bool flag = false;
    std::int64_t number = 0;
    std::string text;
    std::vector<Value> items;
    std::vector<std::pair<std::string, Value>> members;

    // The member of an object, or a null value when there is none.
    const Value& operator[](std::string_view key) const {
        static const Value missing;
        for (const auto& [name, value] : members)
            if (name == key) return value;
        return missing;
    }
    const Value& operator[](std::size_t index) const {
        static const Value missing;
        return index < items.size() ? items[index] : missing;
    }
    bool has(std::string_view key) const {
        for (const auto& member : members)
            if (member.first == key) return true;
        return false;
    }
    std::int64_t num() const { return number; }
    const std::string& str() const { return text; }
    std::size_t size() const { return kind == Kind::object ? members.size() : items.size(); }
    // The numbers of an array.
    std::vector<std::int64_t> numbers() const {
        std::vector<std::int64_t> out;
        for (const Value& v : items)
            out.push_back(v.number);
        return out;
    }
    // The texts of an array.
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const Value& v : items)
            out.push_back(v.text);
        return out;
    }
};

namespace detail {

// Objects keep their members in the order written.
using Json = nlohmann::ordered_json;

inline Value from(const Json& j) {
    Value v;
    switch (j.type()) {
        case Json::value_t::boolean:
            v.kind = Value::Kind::boolean;
            v.flag = j.get<bool>();
            break;
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned:
            v.kind = Value::Kind::number;
            v.number = j.get<std::int64_t>();
            break;
        case Json::value_t::string:
            v.kind = Value::Kind::string;
            v.text = j.get<std::string>();
            break;
        case Json::value_t::array:
            v.kind = Value::Kind::array;
            for (const Json& item : j)
                v.items.push_back(from(item));
            break;
        case Json::value_t::object:
            v.kind = Value::Kind::object;
            for (const auto& [name, member] : j.items())
                v.members.emplace_back(name, from(member));
            break;
        default:  // null; the game writes no fractions
            break;
    }
    return v;
}

}  // namespace detail

// The value of one line of JSON, or nothing when it is not JSON.
inline std::optional<Value> parse(std::string_view text) {
    const detail::Json j = detail::Json::parse(text, nullptr, false);
    if (j.is_discarded()) return std::nullopt;
    return detail::from(j);
}

}  // namespace test_json
