// The web page as chenggu serve sends it for a link: the page's own HTML with the reading the
// link asks for already in it (the engine's markup, as the page's script writes it), and the
// title, description and preview picture that chat apps show for the link. A link that cannot
// be read is the page with its message in place, as the page shows it.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "chenggu/script.h"

namespace chenggu::service {

struct PageRequest {
    std::string_view query;      // the link's query, without "?"
    std::string_view publicUrl;  // the page's public address (--public-url), or empty
    std::string_view host;       // the request's Host, when there is no public address
    Script script = Script::Simplified;  // when the link names none
    std::chrono::system_clock::time_point now;
};

struct ReadingPage {
    std::string html;
    bool today = false;  // the reading is of today (a link without a day, or one refused)
};

// The page with the reading in it; the template is the page's index.html.
ReadingPage RenderReadingPage(std::string_view page, const PageRequest& request);

// The page's address for absolute links: the public URL with a final "/", or http:// and the
// Host when that is a plain host name or address; empty when neither can be trusted.
std::string PageBase(std::string_view publicUrl, std::string_view host);

// The content security policy the page is sent with: its own scripts and WebAssembly only.
inline constexpr std::string_view PagePolicy =
    "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self' 'unsafe-inline'; "
    "img-src 'self' data: blob:; object-src 'none'; base-uri 'none'; form-action 'none'; "
    "frame-ancestors 'none'";

}  // namespace chenggu::service
