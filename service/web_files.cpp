#include "service/web_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "service/embedded_files.h"
#include "service/say.h"
#include "text/messages.h"

namespace chenggu::service {

std::string_view ContentTypeOf(std::string_view name) {
    const auto endsWith = [&](std::string_view end) {
        return name.size() >= end.size() && name.substr(name.size() - end.size()) == end;
    };
    if (endsWith(".html")) return "text/html; charset=utf-8";
    if (endsWith(".js") || endsWith(".mjs")) return "text/javascript; charset=utf-8";
    if (endsWith(".css")) return "text/css; charset=utf-8";
    if (endsWith(".json")) return "application/json";
    if (endsWith(".wasm")) return "application/wasm";
    if (endsWith(".png")) return "image/png";
    if (endsWith(".svg")) return "image/svg+xml";
    if (endsWith(".ico")) return "image/x-icon";
    if (endsWith(".webmanifest")) return "application/manifest+json";
    return "application/octet-stream";
}

WebFiles WebFiles::Embedded() {
    WebFiles web;
    for (const EmbeddedFile& file : EmbeddedWebFiles()) {
        web.files_.push_back({std::string(file.path), ContentTypeOf(file.path),
                              std::string(file.content)});
    }
    return web;
}

Result<WebFiles> WebFiles::FromFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_regular_file(fs::path(folder) / "index.html", error)) {
        const std::string shown = Printable(folder, 200);
        return refusal::BadRequest(
            "--web " + shown + ": no index.html there (scripts/web --build makes build/web)",
            [&](Script s) {
                return "--web " + shown + Say(s, "：那里没有 index.html（scripts/web --build 生成 build/web）");
            });
    }
    WebFiles web;
    // The folder's files and its preview pictures' (preview/42.png).
    for (const std::string_view under : {"", "preview"}) {
        const fs::path place = fs::path(folder) / under;
        const fs::path home = fs::canonical(place, error);
        if (error) continue;
        for (const fs::directory_entry& entry : fs::directory_iterator(place, error)) {
            // Neither hidden files (.git, .env) nor a link to a file elsewhere are the page's.
            const std::string name = entry.path().filename().string();
            if (name.starts_with('.') || !entry.is_regular_file(error)) continue;
            std::error_code unresolved;
            const fs::path target = fs::canonical(entry.path(), unresolved);
            if (unresolved || target.parent_path() != home) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            const std::string path = under.empty() ? "/" + name : "/" + std::string(under) + "/" + name;
            web.files_.push_back({path, ContentTypeOf(name), std::move(content)});
        }
    }
    return web;
}

const WebFile* WebFiles::Find(std::string_view path) const {
    const auto found = std::find_if(files_.begin(), files_.end(),
                                     [&](const WebFile& file) { return file.path == path; });
    return found != files_.end() ? &*found : nullptr;
}

}  // namespace chenggu::service
