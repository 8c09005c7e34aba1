#include "text/query_text.h"

#include <algorithm>

CHENGGU_BEGIN_NAMESPACE
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::vector<std::pair<std::string_view, std::string_view>> QueryPairs(std::string_view query) {
    if (!query.empty() && (query.front() == '?' || query.front() == '#')) query.remove_prefix(1);
    std::vector<std::pair<std::string_view, std::string_view>> pairs;
    while (!query.empty()) {
        const std::size_t end = std::min(query.find('&'), query.size());
        const std::string_view pair = query.substr(0, end);
        query.remove_prefix(std::min(end + 1, query.size()));
        if (pair.empty()) continue;
        const std::size_t equals = pair.find('=');
        pairs.emplace_back(pair.substr(0, equals),
                           equals == std::string_view::npos ? std::string_view() : pair.substr(equals + 1));
    }
    return pairs;
}

std::optional<std::string> QueryComponent(std::string_view text, bool strict) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = text[i] == '%' && i + 2 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int low = high >= 0 ? HexDigit(text[i + 2]) : -1;
        if (text[i] == '+') {
            out += ' ';
        } else if (low >= 0) {
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else if (text[i] == '%' && strict) {
            return std::nullopt;
        } else {
            out += text[i];
        }
    }
    return out;
}

CHENGGU_END_NAMESPACE
