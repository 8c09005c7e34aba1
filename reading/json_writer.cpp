#include "reading/json_writer.h"

#include <array>
#include <algorithm>
#include <charconv>
#include <cmath>

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

JsonWriter::JsonWriter(int indent) : indent_(indent) { text_.reserve(4096); }

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
    const auto plain = [](char c) { return !NeedsEscape[static_cast<unsigned char>(c)]; };
    if (std::all_of(text.begin(), text.end(), plain)) {
        text_.append(text);
        text_ += '"';
        return;
    }
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

void JsonWriter::Number(double number, int decimals) {
    std::int64_t scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    const auto scaled = static_cast<std::int64_t>(std::llround(number * static_cast<double>(scale)));
    const std::int64_t magnitude = scaled < 0 ? -scaled : scaled;
    std::int64_t whole = magnitude / scale, fraction = magnitude % scale;
    int digits = decimals;
    while (digits > 0 && fraction % 10 == 0) {
        fraction /= 10;
        --digits;
    }
    BeforeValue();
    char buffer[48];
    char* end = buffer;
    if (scaled < 0) *end++ = '-';
    end = std::to_chars(end, buffer + sizeof buffer, whole).ptr;
    if (digits > 0) {
        *end++ = '.';
        char fractionDigits[24];
        const auto fractionEnd = std::to_chars(fractionDigits, fractionDigits + sizeof fractionDigits, fraction).ptr;
        const auto written = static_cast<int>(fractionEnd - fractionDigits);
        for (int i = written; i < digits; ++i) *end++ = '0';
        end = std::copy(fractionDigits, fractionEnd, end);
    }
    text_.append(buffer, end);
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
