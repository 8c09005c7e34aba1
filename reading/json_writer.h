// JSON written as it is produced, without a document tree, into one string: a reading takes
// a few microseconds. The layout is that of the usual pretty printers (two spaces a level,
// "key": value, [] for an empty array) or a single line; strings are UTF-8 as given, with
// quotes, backslashes and control characters escaped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace chenggu {

class JsonWriter {
  public:
    // indent: spaces a level, or -1 for a single line.
    explicit JsonWriter(int indent);

    void StartObject();
    void EndObject();
    void StartArray();
    void EndArray();
    void Key(std::string_view key);
    void String(std::string_view text);
    void Int(std::int64_t number);
    // A number rounded to at most decimals places, without trailing zeros: 104.07, 540.
    void Number(double number, int decimals);
    void Bool(bool value);
    void Null();

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
    std::string Take() && { return std::move(text_); }

  private:
    void BeforeValue();
    void Close(char bracket);
    void NewLine(std::size_t depth);

    std::string text_;
    int indent_;
    std::vector<std::size_t> counts_;  // values written in each open container
    bool afterKey_ = false;
};

}  // namespace chenggu
