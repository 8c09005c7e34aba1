#include "reading/json_writer.h"

#include <array>
#include <charconv>

namespace chenggu {
namespace {

// The bytes a JSON string cannot hold as they are: quotes, backslashes, control characters.
constexpr std::array<bool, 256> NeedsEscape = [] {
    std::array<bool, 256> needs{};
    for (std::size_t byte = 0; byte < 0x20; ++byte) needs[byte] = true;
    needs['"'] = needs['\\'] = true;
    return needs;
}();

}  // namespace

JsonWriter::JsonWriter(int indent) : indent_(indent) { text_.reserve(1024); }

void JsonWriter::NewLine(std::size_t depth) {
    if (indent_ < 0) return;
    text_ += '\n';
    text_.append(depth * static_cast<std::size_t>(indent_), ' ');
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (counts_.empty()) return;  // the outermost value
    if (counts_.back()++ > 0) text_ += ',';
    NewLine(counts_.size());
}

void JsonWriter::Close(char bracket) {
    const bool empty = counts_.back() == 0;
    counts_.pop_back();
    if (!empty) NewLine(counts_.size());
    text_ += bracket;
}

void JsonWriter::StartObject() {
    BeforeValue();
    text_ += '{';
    counts_.push_back(0);
}

void JsonWriter::EndObject() { Close('}'); }

void JsonWriter::StartArray() {
    BeforeValue();
    text_ += '[';
    counts_.push_back(0);
}

void JsonWriter::EndArray() { Close(']'); }

void JsonWriter::Key(std::string_view key) {
    String(key);
    text_ += indent_ < 0 ? ":" : ": ";
    afterKey_ = true;
}

void JsonWriter::String(std::string_view text) {
    BeforeValue();
    text_ += '"';
    // Runs that need no escape go in whole; most strings are one run.
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!NeedsEscape[byte]) continue;
        text_.append(text.substr(start, i - start));
        start = i + 1;
        switch (byte) {
            case '"':
                text_ += "\\\"";
                break;
            case '\\':
                text_ += "\\\\";
                break;
            case '\b':
                text_ += "\\b";
                break;
            case '\f':
                text_ += "\\f";
                break;
            case '\n':
                text_ += "\\n";
                break;
            case '\r':
                text_ += "\\r";
                break;
            case '\t':
                text_ += "\\t";
                break;
            default: {
                static constexpr char Hex[] = "0123456789ABCDEF";
                text_ += "\\u00";
                text_ += Hex[byte >> 4];
                text_ += Hex[byte & 0xf];
            }
        }
    }
    text_.append(text.substr(start));
    text_ += '"';
}

void JsonWriter::Int(std::int64_t number) {
    BeforeValue();
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    text_.append(digits, end);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    text_ += value ? "true" : "false";
}

void JsonWriter::Null() {
    BeforeValue();
    text_ += "null";
}

}  // namespace chenggu
