// A small JSON reader for the headless shell's output lines: objects, arrays,
// strings with their escapes, whole numbers, true, false and null.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/cp1251.h"

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

class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::optional<Value> document() {
        Value v;
        if (!value(v)) return std::nullopt;
        skip_space();
        if (pos_ != text_.size()) return std::nullopt;
        return v;
    }

  private:
    void skip_space() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                       text_[pos_] == '\n' || text_[pos_] == '\r'))
            ++pos_;
    }
    bool take(char c) {
        skip_space();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool word(std::string_view w) {
        if (text_.substr(pos_, w.size()) != w) return false;
        pos_ += w.size();
        return true;
    }
    bool string(std::string& out) {
        if (!take('"')) return false;
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"') return true;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) return false;
            const char e = text_[pos_++];
            switch (e) {
                case 'n':
                    out += '\n';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'u': {
                    if (pos_ + 4 > text_.size()) return false;
                    const std::string hex(text_.substr(pos_, 4));
                    pos_ += 4;
                    platform::append_utf8(out, static_cast<char32_t>(std::stoul(hex, nullptr, 16)));
                    break;
                }
                default:
                    out += e;
            }
        }
        return false;
    }
    bool value(Value& v) {
        skip_space();
        if (pos_ >= text_.size()) return false;
        const char c = text_[pos_];
        if (c == '{') {
            ++pos_;
            v.kind = Value::Kind::object;
            if (take('}')) return true;
            do {
                std::string key;
                Value member;
                if (!string(key) || !take(':') || !value(member)) return false;
                v.members.emplace_back(std::move(key), std::move(member));
            } while (take(','));
            return take('}');
        }
        if (c == '[') {
            ++pos_;
            v.kind = Value::Kind::array;
            if (take(']')) return true;
            do {
                Value item;
                if (!value(item)) return false;
                v.items.push_back(std::move(item));
            } while (take(','));
            return take(']');
        }
        if (c == '"') {
            v.kind = Value::Kind::string;
            return string(v.text);
        }
        if (word("true") || word("false")) {
            v.kind = Value::Kind::boolean;
            v.flag = text_[pos_ - 4] == 't';  // "true" ends here; "false" ends in "alse"
            return true;
        }
        if (word("null")) return true;
        const std::size_t start = pos_;
        if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9')
            ++pos_;
        if (pos_ == start) return false;
        v.kind = Value::Kind::number;
        v.number = std::stoll(std::string(text_.substr(start, pos_ - start)));
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

inline std::optional<Value> parse(std::string_view text) {
    return Reader(text).document();
}

}  // namespace test_json
