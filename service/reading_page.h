// The web page as chenggu serve sends it for a link: the page's own HTML with the reading the
// link asks for already in it (the engine's markup, as the page's script writes it), and the
// title, description and preview picture that chat apps show for the link. A link that cannot
// be read is the page with its message in place, as the page shows it.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

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
    bool today = false;   // the reading is of today (a link without a day, or one refused)
    std::string madeFrom;  // all the page is made from: the page read, the link, the address
};

// The page's index.html with the places a reading goes into found once, so that a page is
// written in one pass; a page without them (one of --web's own) is sent as it is.
class PageTemplate {
  public:
    explicit PageTemplate(std::string_view page);
    // Its parts look into its own copy of the page.
    PageTemplate(const PageTemplate&) = delete;
    PageTemplate& operator=(const PageTemplate&) = delete;

    // The page for a link: with the reading in it, or, without a link, as it is.
    ReadingPage Render(const PageRequest& request) const;
    // The page without a reading, as it is sent for no link.
    const std::string& Plain() const { return plain_; }

  private:
    enum class Slot { Language, Preview, State, Message, Headline, Where, Details };
    struct Part {
        std::string_view text;  // the page up to the slot
        Slot slot;
        std::string_view marker;  // what the slot replaces
    };
    std::string plain_;
    std::vector<Part> parts_;
    std::string_view tail_;
    std::string pageTag_;  // the page read, as its ETag
};

// The page's address for absolute links: the public URL with a final "/", or http:// and the
// Host when that is a plain host name or address; empty when neither can be trusted.
std::string PageBase(std::string_view publicUrl, std::string_view host);

// The content security policy the page is sent with: its own scripts and WebAssembly only.
inline constexpr std::string_view PagePolicy =
    "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self' 'unsafe-inline'; "
    "img-src 'self' data: blob:; object-src 'none'; base-uri 'none'; form-action 'none'; "
    "frame-ancestors 'none'";

}  // namespace chenggu::service
