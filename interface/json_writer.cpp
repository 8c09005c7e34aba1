#include "interface/json_writer.h"

#include <array>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

CHENGGU_BEGIN_NAMESPACE
namespace {

// The bytes a JSON string cannot hold as they are: quotes, backslashes, control characters.
constexpr std::array<bool, 256> NeedsEscape = [] {
    std::array<bool, 256> needs{};
    for (std::size_t byte = 0; byte < 0x20; ++byte) needs[byte] = true;
    needs['"'] = needs['\\'] = true;
    return needs;
}();

// Whether any byte of text needs an escape, eight bytes at a time: a byte below 0x20, or equal
// to '"' or '\\', sets the high bit of its lane (the classic zero-byte test on x, x ^ '"' and
// x ^ '\\'). Most strings are long Chinese texts, which this scans several times faster.
bool NeedsAnyEscape(std::string_view text) {
    constexpr std::uint64_t Ones = 0x0101010101010101, Highs = 0x8080808080808080;
    const auto below = [](std::uint64_t x, std::uint64_t n) { return (x - Ones * n) & ~x & Highs; };
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t x;
        std::memcpy(&x, text.data() + i, 8);
        if (below(x, 0x20) | below(x ^ (Ones * '"'), 1) | below(x ^ (Ones * '\\'), 1)) return true;
    }
    for (; i < text.size(); ++i) {
        if (NeedsEscape[static_cast<unsigned char>(text[i])]) return true;
    }
    return false;
}

}  // namespace

JsonWriter::JsonWriter(int indent) : text_(4096, '\0'), indent_(indent) {}

void JsonWriter::Grow(std::size_t n) { text_.resize(std::max(2 * text_.size(), size_ + n)); }

void JsonWriter::Put(std::string_view bytes) {
    Room(bytes.size());
    std::memcpy(End(), bytes.data(), bytes.size());
    size_ += bytes.size();
}

void JsonWriter::NewLine(std::size_t depth) {
    if (indent_ < 0) return;
    const std::size_t spaces = depth * static_cast<std::size_t>(indent_);
    Room(spaces + 1);
    *End() = '\n';
    std::memset(End() + 1, ' ', spaces);
    size_ += spaces + 1;
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (depth_ == 0) return;  // the outermost value
    if (!first_) Put(',');
    first_ = false;
    NewLine(depth_);
}

void JsonWriter::Close(char bracket) {
    --depth_;
    if (!first_) NewLine(depth_);
    Put(bracket);
    first_ = false;  // the container closed is a value of the one around it
}

void JsonWriter::StartObject() {
    BeforeValue();
    Put('{');
    ++depth_;
    first_ = true;
}

void JsonWriter::EndObject() { Close('}'); }

void JsonWriter::StartArray() {
    BeforeValue();
    Put('[');
    ++depth_;
    first_ = true;
}

void JsonWriter::EndArray() { Close(']'); }

// Keys are the engine's own member names, plain ASCII: they go in without a scan for escapes.
void JsonWriter::Key(std::string_view key) {
    BeforeValue();
    Room(key.size() + 4);
    char* out = End();
    *out++ = '"';
    std::memcpy(out, key.data(), key.size());
    out += key.size();
    *out++ = '"';
    *out++ = ':';
    if (indent_ >= 0) *out++ = ' ';
    size_ = static_cast<std::size_t>(out - text_.data());
    afterKey_ = true;
}

void JsonWriter::String(std::string_view text) {
    BeforeValue();
    // Most strings need no escape, and go in whole.
    if (!NeedsAnyEscape(text)) {
        Room(text.size() + 2);
        char* out = End();
        *out++ = '"';
        std::memcpy(out, text.data(), text.size());
        out[text.size()] = '"';
        size_ += text.size() + 2;
        return;
    }
    Put('"');
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!NeedsEscape[byte]) continue;
        Put(text.substr(start, i - start));
        start = i + 1;
        switch (byte) {
            case '"':
                Put("\\\"");
                break;
            case '\\':
                Put("\\\\");
                break;
            case '\b':
                Put("\\b");
                break;
            case '\f':
                Put("\\f");
                break;
            case '\n':
                Put("\\n");
                break;
            case '\r':
                Put("\\r");
                break;
            case '\t':
                Put("\\t");
                break;
            default: {
                static constexpr char Hex[] = "0123456789ABCDEF";
                const char escaped[] = {'\\', 'u', '0', '0', Hex[byte >> 4], Hex[byte & 0xf]};
                Put(std::string_view(escaped, sizeof escaped));
            }
        }
    }
    Put(text.substr(start));
    Put('"');
}

void JsonWriter::Int(std::int64_t number) {
    BeforeValue();
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    Put(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

void JsonWriter::Number(double number, int decimals) {
    std::int64_t scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    const auto scaled =
        static_cast<std::int64_t>(std::llround(number * static_cast<double>(scale)));
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
        const auto fractionEnd =
            std::to_chars(fractionDigits, fractionDigits + sizeof fractionDigits, fraction).ptr;
        const auto written = static_cast<int>(fractionEnd - fractionDigits);
        for (int i = written; i < digits; ++i) *end++ = '0';
        end = std::copy(fractionDigits, fractionEnd, end);
    }
    Put(std::string_view(buffer, static_cast<std::size_t>(end - buffer)));
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    Put(value ? "true" : "false");
}

void JsonWriter::Null() {
    BeforeValue();
    Put("null");
}

void JsonWriter::Json(std::string_view json) {
    BeforeValue();
    Put(json);
}

CHENGGU_END_NAMESPACE
