#include "interface/html_text.h"

#include "text/utf8.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

std::string Escaped(std::string_view text, bool attribute) {
    const std::string valid = ValidUtf8(text);
    std::string out;
    out.reserve(valid.size() + valid.size() / 8);
    for (std::size_t pos = 0; pos < valid.size();) {
        const Utf8Character c = DecodeUtf8(valid, pos);
        const std::string_view bytes(valid.data() + pos, c.length);
        pos += c.length;
        switch (c.code) {
            case '&': out += "&amp;"; continue;
            case '<': out += "&lt;"; continue;
            case '>': out += "&gt;"; continue;
            case '"': out += attribute ? "&quot;" : "\""; continue;
            case '\'': out += attribute ? "&#39;" : "'"; continue;
            case '\n': out += attribute ? "&#10;" : "\n"; continue;
            case '\t': out += attribute ? "&#9;" : "\t"; continue;
            default: break;
        }
        // C0 and C1 controls and DEL have no place in a page.
        const bool control = c.code < 0x20 || (c.code >= 0x7f && c.code < 0xa0);
        out += control ? std::string_view("\xEF\xBF\xBD") : bytes;
    }
    return out;
}

}  // namespace

std::string HtmlText(std::string_view text) { return Escaped(text, false); }
std::string HtmlAttribute(std::string_view text) { return Escaped(text, true); }

CHENGGU_END_NAMESPACE
