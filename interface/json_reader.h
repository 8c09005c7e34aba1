// Requests are one JSON object whose members are strings, numbers, true, false or null:
// this reads such an object, and refuses anything else with the place and the reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "chenggu/error.h"
#include "chenggu/script.h"

CHENGGU_BEGIN_NAMESPACE

struct JsonNumber {
    double value = 0;                   // the double nearest the number written
    std::optional<std::int64_t> whole;  // when it is written without fraction or exponent
    std::string text;                   // as written, for messages
};

using JsonScalar = std::variant<std::nullptr_t, bool, JsonNumber, std::string>;

struct JsonMember {
    std::string name;
    JsonScalar value;
};

// The longest request read: 1 MiB.
inline constexpr std::size_t LongestRequest = std::size_t{1} << 20;

// The members a kind of request has, by name (at most 32).
using MemberNames = std::span<const std::string_view>;

// The members of a JSON object in order; refused when the text is not exactly one object of
// scalar members (nothing nested), in UTF-8, of at most LongestRequest bytes, or when one of
// the names is given twice. Other members are kept, for the caller to refuse in the
// language the request asks for. Linear in the request.
Result<std::vector<JsonMember>> ReadFlatObject(std::string_view json, MemberNames names);

// For the members of a request: the text of a string member (null for another kind), the
// reasons for a member of the wrong kind and for an unknown one (known lists the names a
// request has), and the language a request asks for (English when it asks for none, or for
// one that does not exist, which ReadLanguage refuses).
const std::string* TextOf(const JsonScalar& value);
Error WrongKind(std::string_view name, std::string_view kind, std::string_view kindZh);
Error UnknownMember(std::string_view name, MemberNames names);
Language LanguageOf(const std::vector<JsonMember>& members);
Result<Language> ReadLanguage(const JsonMember& member);
// The script a request asks for (Simplified when it asks for none), and the reason a script
// member is refused, if it is.
Script ScriptOf(const std::vector<JsonMember>& members);
std::optional<Error> CheckScript(const JsonMember& member);

CHENGGU_END_NAMESPACE
