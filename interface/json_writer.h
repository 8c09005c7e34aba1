// JSON written as it is produced, without a document tree, into one string: a reading takes
// a few microseconds. The layout is that of the usual pretty printers (two spaces a level,
// "key": value, [] for an empty array) or a single line; strings are UTF-8 as given, with
// quotes, backslashes and control characters escaped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "chenggu/export.h"

CHENGGU_BEGIN_NAMESPACE

class JsonWriter {
  public:
    // indent: spaces a level, or -1 for a single line.
    explicit JsonWriter(int indent);

    void StartObject();
    void EndObject();
    void StartArray();
    void EndArray();
    // A member's name: one of the engine's own, plain ASCII, written without escapes.
    void Key(std::string_view key);
    void String(std::string_view text);
    void Int(std::int64_t number);
    // A number rounded to at most decimals places, without trailing zeros: 104.07, 540.
    void Number(double number, int decimals);
    void Bool(bool value);
    void Null();
    // A value that is JSON already (another answer of the engine's), written as it is.
    void Json(std::string_view json);

    void Member(std::string_view key, std::string_view text) {
        Key(key);
        String(text);
    }
    void Member(std::string_view key, const char* text) {
        Key(key);
        String(text);
    }
    void Member(std::string_view key, std::int64_t number) {
        Key(key);
        Int(number);
    }
    void Member(std::string_view key, int number) {
        Key(key);
        Int(number);
    }
    void Member(std::string_view key, bool value) {
        Key(key);
        Bool(value);
    }

    // The text written so far.
    std::string Take() && {
        text_.resize(size_);
        return std::move(text_);
    }

  private:
    void BeforeValue();
    void Close(char bracket);
    void NewLine(std::size_t depth);
    // Room for n more bytes at End(); the text grows by doubling.
    void Room(std::size_t n) {
        if (size_ + n > text_.size()) Grow(n);
    }
    void Grow(std::size_t n);
    char* End() { return text_.data() + size_; }
    void Put(char c) {
        Room(1);
        text_[size_++] = c;
    }
    void Put(std::string_view bytes);

    // Written into a string kept larger than the text, so that a value is one copy: the
    // first size_ bytes are the text.
    std::string text_;
    std::size_t size_ = 0;
    int indent_;
    std::size_t depth_ = 0;  // open containers
    bool first_ = true;      // nothing yet in the innermost open container
    bool afterKey_ = false;
};

// The JSON that each(writer) writes.
template <class Each>
std::string WrittenJson(int indent, Each each) {
    JsonWriter writer(indent);
    each(writer);
    return std::move(writer).Take();
}

CHENGGU_END_NAMESPACE
