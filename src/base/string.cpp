// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// String: one exactly-sized heap buffer per value; every allocation is checked
// and a failure goes through fatal_error, leaving the String empty.
#include "base/string.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <limits>
#include <ostream>
#include <string>

#include "base/fatal.h"
#include "base/language.h"
#include "platform/cp1251.h"

namespace {
// Shared by Strings whose allocation failed, so they stay valid and empty; never freed.
char failed_allocation_text[1] = {'\0'};

// The texts of a failed allocation, worded when it fails.
const char* constructor_failure() {
    return localized("Конструктор String: нет памяти !!!"_cp1251,
                     "String constructor: out of memory!");
}
const char* assignment_failure() {
    return localized("Оператор = String: нет памяти !!!"_cp1251,
                     "String operator =: out of memory!");
}
}  // namespace

bool String::allocate(std::int64_t length, const char* failure_text) {
    void* buffer = nullptr;
    if (length >= 0 && length < std::numeric_limits<std::int32_t>::max()) {
        buffer = std::malloc(static_cast<std::size_t>(length) + 1);
    }
    if (buffer == nullptr) {
        fatal_error(failure_text);
        text_ = failed_allocation_text;
        length_ = 0;
        return false;
    }
    text_ = static_cast<char*>(buffer);
    length_ = static_cast<std::int32_t>(length);
    text_[length_] = '\0';
    return true;
}

String String::with_length(std::int64_t length, const char* failure_text) {
    String s;
    if (s.text_ != failed_allocation_text) std::free(s.text_);
    s.allocate(length, failure_text);
    return s;
}

String::String() {
    allocate(0, constructor_failure());
}

String::String(const char* text) {
    const std::size_t n = std::strlen(text);
    if (allocate(static_cast<std::int64_t>(n), constructor_failure())) std::memcpy(text_, text, n);
}

String::String(const String& other) {
    if (allocate(other.length_, constructor_failure()))
        std::memcpy(text_, other.text_, other.length_);
}

String::~String() {
    if (text_ != failed_allocation_text) std::free(text_);
}

String& String::operator=(const String& other) {
    if (this != &other) *this = other.c_str();
    return *this;
}

String& String::operator=(const char* text) {
    // The source may live inside our own buffer, so copy before freeing.
    const std::size_t n = std::strlen(text);
    char* old = text_;
    if (allocate(static_cast<std::int64_t>(n), assignment_failure())) std::memcpy(text_, text, n);
    if (old != failed_allocation_text) std::free(old);
    return *this;
}

bool String::operator==(const String& other) const {
    return length_ == other.length_ && std::memcmp(text_, other.text_, length_) == 0;
}

bool String::operator==(const char* text) const {
    return compare(text) == 0;
}

int String::compare(const char* text) const {
    // strcmp compares bytes as unsigned char; reduce to the sign.
    const int c = std::strcmp(text_, text);
    return (c > 0) - (c < 0);
}

String operator+(const String& a, const String& b) {
    String s = String::with_length(std::int64_t{a.length_} + b.length_, constructor_failure());
    if (s.length_ == a.length_ + b.length_) {
        std::memcpy(s.text_, a.text_, a.length_);
        std::memcpy(s.text_ + a.length_, b.text_, b.length_);
    }
    return s;
}

String operator+(const String& a, const char* b) {
    return a + String(b);
}
String operator+(const char* a, const String& b) {
    return String(a) + b;
}

String operator+(const String& a, int number) {
    char digits[12];
    std::snprintf(digits, sizeof digits, "%d", number);
    return a + digits;
}

String String::char_at(std::int32_t pos) const {
    return mid(pos, 1);
}

String String::mid(std::int32_t start, std::int32_t count) const {
    if (count == 0) return String();
    if (start < 1 || start > length_) start = 1;
    if (count < 1 || std::int64_t{start} + count > length_) count = length_ - start + 1;
    if (count < 0) count = 0;  // only for the empty text
    String s = with_length(count, constructor_failure());
    if (s.length_ == count) std::memcpy(s.text_, text_ + start - 1, count);
    return s;
}

String String::right(std::int32_t n) const {
    if (n < 1 || n > length_) n = length_;
    return mid(length_ - n + 1, n == 0 ? -1 : n);
}

String String::extension() const {
    for (std::int32_t pos = length_; pos >= 1; --pos) {
        if (text_[pos - 1] == '.') return mid(pos, length_ - pos + 1);
    }
    return String();
}

std::istream& read_line(std::istream& input, String& line, std::size_t max_bytes) {
    // Read in pieces of at most 79 bytes, as a fixed 80-byte buffer would; a full
    // piece means the line may go on. A carriage return ending a piece is dropped.
    std::string kept;
    char piece[80];
    for (;;) {
        piece[0] = '\0';
        input.getline(piece, sizeof piece);
        // A piece that filled the buffer without reaching a line feed sets failbit.
        const bool full = input.fail() && !input.eof() && input.gcount() == 79;
        if (full) input.clear(input.rdstate() & ~std::ios::failbit);
        const std::size_t length = std::strlen(piece);
        if (kept.size() < max_bytes) kept.append(piece, std::min(length, max_bytes - kept.size()));
        if (!kept.empty() && kept.back() == '\r') kept.pop_back();
        if (!full) break;
    }
    line = kept.c_str();
    return input;
}

std::ostream& write_string(std::ostream& output, const String& text) {
    return output.write(text.c_str(), text.length());
}
