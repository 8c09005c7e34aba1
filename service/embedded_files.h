// The files the build embeds in the service (cmake/EmbedFiles.cmake): the OpenAPI description,
// and the web page's files when the build found them.
#pragma once

#include <span>
#include <string_view>

namespace chenggu::service {

struct EmbeddedFile {
    std::string_view path;  // "/index.html"
    std::string_view content;
};

std::span<const EmbeddedFile> EmbeddedWebFiles();
std::string_view EmbeddedOpenApi();

}  // namespace chenggu::service
