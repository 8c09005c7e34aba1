// The web page's files the service answers /, /index.html and the page's scripts with: those
// embedded in the binary when the build had them, or those of a folder (--web).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "chenggu/error.h"

namespace chenggu::service {

struct WebFile {
    std::string path;  // "/index.html"
    std::string_view contentType;
    std::string content;
};

class WebFiles {
  public:
    // The files embedded at build time; none when the build had no page.
    static WebFiles Embedded();
    // The files of a folder as scripts/web builds it: its index.html and every file beside it,
    // but hidden ones (.name) and links to files outside it.
    static Result<WebFiles> FromFolder(const std::string& folder);
    // Files given as they are (for tests and fuzzers).
    static WebFiles Of(std::vector<WebFile> files) {
        WebFiles web;
        web.files_ = std::move(files);
        return web;
    }

    const WebFile* Find(std::string_view path) const;
    bool empty() const { return files_.empty(); }

  private:
    std::vector<WebFile> files_;
};

// The content type of a file by its name's ending.
std::string_view ContentTypeOf(std::string_view name);

}  // namespace chenggu::service
