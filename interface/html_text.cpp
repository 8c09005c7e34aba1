#include "interface/html_text.h"

#include <algorithm>

#include "text/utf8.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

constexpr std::string_view Replacement = "\xEF\xBF\xBD";  // U+FFFD

// One pass: runs of bytes that need nothing are copied whole, the others replaced.
std::string Escaped(std::string_view text, bool attribute) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    std::size_t copied = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const auto c = static_cast<unsigned char>(text[pos]);
        std::string_view replacement;
        std::size_t length = 1;
        if (c < 0x80) {
            switch (c) {
                case '&': replacement = "&amp;"; break;
                case '<': replacement = "&lt;"; break;
                case '>': replacement = "&gt;"; break;
                case '"': replacement = attribute ? "&quot;" : ""; break;
                case '\'': replacement = attribute ? "&#39;" : ""; break;
                case '\n': replacement = attribute ? "&#10;" : ""; break;
                case '\t': replacement = attribute ? "&#9;" : ""; break;
                default:
                    // C0 controls and DEL have no place in a page.
                    if (c < 0x20 || c == 0x7f) replacement = Replacement;
            }
        } else {
            length = Utf8SequenceLength(text, pos);
            // A byte that is not UTF-8, and the C1 controls (U+0080-U+009F).
            if (length == 0 || (c == 0xc2 && static_cast<unsigned char>(text[pos + 1]) < 0xa0)) {
                replacement = Replacement;
                length = std::max<std::size_t>(length, 1);
            }
        }
        if (!replacement.empty()) {
            out.append(text, copied, pos - copied);
            out += replacement;
            copied = pos + length;
        }
        pos += length;
    }
    out.append(text, copied);
    return out;
}

}  // namespace

std::string HtmlText(std::string_view text) { return Escaped(text, false); }
std::string HtmlAttribute(std::string_view text) { return Escaped(text, true); }

CHENGGU_END_NAMESPACE
