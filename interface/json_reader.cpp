#include "interface/json_reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "interface/json_number.h"
#include "text/messages.h"
#include "text/utf8.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

// Reads one object, advancing pos; every failure names the byte it stopped at.
class FlatObjectReader {
  public:
    FlatObjectReader(std::string_view text, MemberNames names) : text_(text), names_(names) {}

    Result<std::vector<JsonMember>> Object() {
        std::vector<JsonMember> members;
        std::uint32_t seen = 0;  // the names given so far, a bit each
        SkipBlanks();
        if (!Take('{')) return Fail("the request is not a JSON object", "请求不是 JSON 对象");
        SkipBlanks();
        if (Take('}')) return Ended(std::move(members));
        while (true) {
            SkipBlanks();
            if (Peek() != '"') return Fail("a member name was expected", "这里应是成员名");
            const std::size_t start = pos_;
            Result<std::string> name = String();
            if (!name) return name.error();
            const auto known = std::find(names_.begin(), names_.end(), *name);
            if (known != names_.end()) {
                const std::uint32_t bit = std::uint32_t{1} << (known - names_.begin());
                if ((seen & bit) != 0) {
                    const std::string shown = Printable(*name);
                    return FailAt(start, "the member \"" + shown + "\" is given twice",
                                  "成员“" + shown + "”重复");
                }
                seen |= bit;
            }
            SkipBlanks();
            if (!Take(':')) return Fail("':' was expected", "这里应是冒号");
            SkipBlanks();
            Result<JsonScalar> value = Scalar(*name);
            if (!value) return value.error();
            members.push_back({std::move(*name), std::move(*value)});
            SkipBlanks();
            if (Take('}')) return Ended(std::move(members));
            if (!Take(',')) return Fail("',' or '}' was expected", "这里应是逗号或右花括号");
        }
    }

  private:
    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    bool Take(char c) {
        if (pos_ >= text_.size() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }
    bool Take(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }
    void SkipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                       text_[pos_] == '\n' || text_[pos_] == '\r')) {
            ++pos_;
        }
    }

    Error Fail(const std::string& english, const std::string& chinese) const {
        return FailAt(pos_, english, chinese);
    }
    static Error FailAt(std::size_t pos, const std::string& english, const std::string& chinese) {
        const std::string at = std::to_string(pos);
        return refusal::BadRequest(english + " at byte " + at + " of the request", [&](Script s) {
            return T(s, "请求第 ") + at + T(s, " 字节处：") + T(s, chinese);
        });
    }

    Result<std::vector<JsonMember>> Ended(std::vector<JsonMember> members) {
        SkipBlanks();
        if (pos_ != text_.size()) return Fail("there is more after the object", "对象之后还有内容");
        return members;
    }

    Result<JsonScalar> Scalar(const std::string& name) {
        const char c = Peek();
        if (c == '"') {
            Result<std::string> text = String();
            if (!text) return text.error();
            return JsonScalar(std::move(*text));
        }
        if (Take(std::string_view("true"))) return JsonScalar(true);
        if (Take(std::string_view("false"))) return JsonScalar(false);
        if (Take(std::string_view("null"))) return JsonScalar(nullptr);
        if (c == '-' || (c >= '0' && c <= '9')) {
            Result<JsonNumber> number = Number();
            if (!number) return number.error();
            return JsonScalar(*number);
        }
        if (c == '{' || c == '[') {
            return Fail("the member \"" + Printable(name) +
                            "\" must be a string, a number, true, false or null, not an object "
                            "or an array",
                        "成员“" + Printable(name) +
                            "”的值应是字符串、数、true、false 或 null，不能是对象或数组");
        }
        return Fail("the member \"" + Printable(name) +
                        "\" must be a string, a number, true, false or null",
                    "成员“" + Printable(name) + "”的值应是字符串、数、true、false 或 null");
    }

    // Four hexadecimal digits of a \u escape.
    std::optional<char32_t> Hex4() {
        if (pos_ + 4 > text_.size()) return std::nullopt;
        char32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[pos_++];
            value <<= 4;
            if (c >= '0' && c <= '9') {
                value |= static_cast<char32_t>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                value |= static_cast<char32_t>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                value |= static_cast<char32_t>(c - 'A' + 10);
            } else {
                return std::nullopt;
            }
        }
        return value;
    }

    Result<std::string> String() {
        ++pos_;  // the opening quote
        std::string text;
        while (true) {
            if (pos_ >= text_.size()) return Fail("a string is not closed", "字符串没有结束引号");
            const auto c = static_cast<unsigned char>(text_[pos_]);
            if (c == '"') {
                ++pos_;
                return text;
            }
            if (c < 0x20) return Fail("a control character is in a string", "字符串中有控制字符");
            if (c != '\\') {
                const std::size_t length = Utf8SequenceLength(text_, pos_);
                if (length == 0) return Fail("the request is not UTF-8", "请求不是 UTF-8 文本");
                text.append(text_.substr(pos_, length));
                pos_ += length;
                continue;
            }
            ++pos_;
            const char escape = Peek();
            ++pos_;
            switch (escape) {
                case '"':
                case '\\':
                case '/':
                    text += escape;
                    break;
                case 'b':
                    text += '\b';
                    break;
                case 'f':
                    text += '\f';
                    break;
                case 'n':
                    text += '\n';
                    break;
                case 'r':
                    text += '\r';
                    break;
                case 't':
                    text += '\t';
                    break;
                case 'u': {
                    std::optional<char32_t> unit = Hex4();
                    if (!unit)
                        return Fail("a \\u escape needs four hexadecimal digits",
                                    "\\u 之后应是四位十六进制数");
                    char32_t code = *unit;
                    if (code >= 0xdc00 && code <= 0xdfff) {
                        return Fail("a \\u escape is half a surrogate pair",
                                    "\\u 转义是半个代理对");
                    }
                    if (code >= 0xd800 && code <= 0xdbff) {
                        const std::optional<char32_t> low =
                            Take(std::string_view("\\u")) ? Hex4() : std::nullopt;
                        if (!low || *low < 0xdc00 || *low > 0xdfff) {
                            return Fail("a \\u escape is half a surrogate pair",
                                        "\\u 转义是半个代理对");
                        }
                        code = 0x10000 + ((code - 0xd800) << 10) + (*low - 0xdc00);
                    }
                    AppendUtf8(text, code);
                    break;
                }
                default:
                    return Fail("a string has an unknown escape", "字符串中有无法识别的转义");
            }
        }
    }

    // A JSON number: -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
    Result<JsonNumber> Number() {
        const std::size_t start = pos_;
        const bool negative = Take('-');
        const auto digits = [this](std::string& into) {
            const std::size_t from = pos_;
            while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9')
                into += text_[pos_++];
            return pos_ > from;
        };
        std::string whole, fraction, exponent;  // digits, to check the form
        if (!digits(whole) || (whole.size() > 1 && whole[0] == '0')) {
            pos_ = start;
            return Fail("a number is malformed", "数的写法不对");
        }
        const bool hasFraction = Take('.');
        if (hasFraction && !digits(fraction)) return Fail("a number is malformed", "数的写法不对");
        const bool hasExponent = Take('e') || Take('E');
        if (hasExponent) {
            if (!Take('-')) Take('+');
            if (!digits(exponent)) return Fail("a number is malformed", "数的写法不对");
        }
        // The double nearest the decimal number, as written (std::from_chars is correctly
        // rounded; where the runtime lacks it for doubles, strtod is, in the C locale the
        // engine never leaves).
        const std::string_view written = text_.substr(start, pos_ - start);
        JsonNumber number{NearestDouble(written), std::nullopt, std::string(written)};
        if (!hasFraction && !hasExponent && whole.size() <= 18) {
            std::int64_t integer = 0;
            std::from_chars(whole.data(), whole.data() + whole.size(), integer);
            number.whole = negative ? -integer : integer;
        }
        return number;
    }

    std::string_view text_;
    MemberNames names_;
    std::size_t pos_ = 0;
};

}  // namespace

Result<std::vector<JsonMember>> ReadFlatObject(std::string_view json, MemberNames names) {
    if (json.size() > LongestRequest) return refusal::RequestTooLarge(json.size(), LongestRequest);
    return FlatObjectReader(json, names).Object();
}

Error WrongKind(std::string_view name, std::string_view kind, std::string_view kindZh) {
    const std::string shown = Printable(name);
    return refusal::BadRequest(
        "the member \"" + shown + "\" must be " + std::string(kind), [&](Script s) {
            // A space between Chinese and what is written in ASCII: 应是 true 或 false.
            const bool ascii = !kindZh.empty() && static_cast<unsigned char>(kindZh[0]) < 0x80;
            return T(s, "成员“") + shown + T(s, "”应是") + (ascii ? " " : "") + T(s, kindZh);
        });
}

const std::string* TextOf(const JsonScalar& value) { return std::get_if<std::string>(&value); }

Language LanguageOf(const std::vector<JsonMember>& members) {
    bool chinese = false, traditional = false;
    for (const JsonMember& member : members) {
        const std::string* text = TextOf(member.value);
        if (member.name == "language") chinese = text != nullptr && *text == "zh";
        if (member.name == "script") traditional = text != nullptr && *text == "traditional";
    }
    if (!chinese) return Language::English;
    return traditional ? Language::TraditionalChinese : Language::Chinese;
}

Script ScriptOf(const std::vector<JsonMember>& members) {
    for (const JsonMember& member : members) {
        const std::string* text = TextOf(member.value);
        if (member.name == "script" && text != nullptr && *text == "traditional") {
            return Script::Traditional;
        }
    }
    return Script::Simplified;
}

std::optional<Error> CheckScript(const JsonMember& member) {
    const std::string* text = TextOf(member.value);
    if (text != nullptr && ParseScript(*text)) return std::nullopt;
    return WrongKind(member.name, "\"simplified\" or \"traditional\"",
                     "\"simplified\" 或 \"traditional\"");
}

Result<Language> ReadLanguage(const JsonMember& member) {
    const std::string* text = TextOf(member.value);
    if (text != nullptr && *text == "en") return Language::English;
    if (text != nullptr && *text == "zh") return Language::Chinese;
    return WrongKind(member.name, "\"en\" or \"zh\"", "\"en\" 或 \"zh\"");
}

Error UnknownMember(std::string_view name, MemberNames names) {
    const std::string shown = Printable(name);
    std::string known;
    for (const std::string_view member : names) {
        if (!known.empty()) known += ", ";
        known += member;
    }
    return refusal::BadRequest(
        "unknown member \"" + shown + "\": a request has " + known,
        [&](Script s) { return T(s, "无法识别的成员“") + shown + T(s, "”：请求可有 ") + known; });
}

CHENGGU_END_NAMESPACE
