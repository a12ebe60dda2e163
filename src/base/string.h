// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// String: the byte string that holds every text of the game (Windows-1251), with
// deep copies, 1-based substring operations, and whole-line stream input. The game's
// texts are written as UTF-8 literals with the _cp1251 suffix, which comes with it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <limits>

#include "platform/cp1251.h"

class String {
  public:
    String();
    String(const char* text);  // NOLINT(google-explicit-constructor): texts convert freely
    String(const String& other);
    ~String();

    String& operator=(const String& other);
    String& operator=(const char* text);

    std::int32_t length() const { return length_; }
    const char* c_str() const { return text_; }
    bool is_empty() const { return length_ == 0; }

    bool operator==(const String& other) const;
    bool operator==(const char* text) const;
    // Sign of the first differing byte (bytes compared unsigned), 0 when equal.
    int compare(const char* text) const;

    friend String operator+(const String& a, const String& b);
    friend String operator+(const String& a, const char* b);
    friend String operator+(const char* a, const String& b);
    friend String operator+(const String& a, int number);

    // The byte at 1-based position pos as a one-character String; 1 <= pos <= length.
    String char_at(std::int32_t pos) const;
    // count bytes from 1-based start; an out-of-range start means 1, and a count
    // below 1 or past the end means the rest of the text (a count of 0 gives "").
    String mid(std::int32_t start, std::int32_t count) const;
    // The last n bytes; n below 1 or past the length means the whole text.
    String right(std::int32_t n) const;
    // From the last "." to the end, dot included; empty when there is no dot.
    String extension() const;

  private:
    // Makes a String of the given length, its bytes uninitialised but terminated.
    static String with_length(std::int64_t length, const char* failure_text);
    bool allocate(std::int64_t length, const char* failure_text);

    char* text_;
    std::int32_t length_;
};

// Replaces line with the next line of the stream: a line ends at a line feed,
// which is consumed, and a carriage return before it is dropped. Returns the
// stream, whose state tells whether a line was read. Bytes past max_bytes are read
// and dropped, so a file of one endless line cannot take all memory.
std::istream& read_line(std::istream& input, String& line,
                        std::size_t max_bytes = std::numeric_limits<std::int32_t>::max() - 1);

// Writes the text of the String, without terminator or line end.
std::ostream& write_string(std::ostream& output, const String& text);
