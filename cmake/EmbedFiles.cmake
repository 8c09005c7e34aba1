# Writes a C++ source that embeds files in the binary with the assembler's .incbin (the
# service is built for Linux only): the OpenAPI description and the web page's files, for
# service/embedded_files.h.
#   chenggu_embed_files(OUTPUT file.cpp OPENAPI openapi.json WEB_ROOT folder WEB file…)
# Each web file is served at its path under WEB_ROOT: /index.html, /preview/42.png.
function(chenggu_embed_files)
    cmake_parse_arguments(EMBED "" "OUTPUT;OPENAPI;WEB_ROOT" "WEB" ${ARGN})
    set(assembly "")
    set(declarations "")
    set(entries "")
    set(index 0)
    foreach(file ${EMBED_OPENAPI} ${EMBED_WEB})
        set(name chenggu_embedded_${index})
        string(APPEND assembly
            "    \".balign 16\\n\"\n"
            "    \"${name}_begin:\\n\"\n"
            "    \".incbin \\\"${file}\\\"\\n\"\n"
            "    \"${name}_end:\\n\"\n")
        string(APPEND declarations
            "extern \"C\" const char ${name}_begin[];\n"
            "extern \"C\" const char ${name}_end[];\n")
        if(index GREATER 0)
            file(RELATIVE_PATH base ${EMBED_WEB_ROOT} ${file})
            string(APPEND entries
                "    {\"/${base}\", {${name}_begin, static_cast<std::size_t>(${name}_end - ${name}_begin)}},\n")
        endif()
        math(EXPR index "${index} + 1")
    endforeach()
    if(entries STREQUAL "")
        set(list "std::span<const EmbeddedFile> EmbeddedWebFiles() { return {}; }\n")
    else()
        set(list "namespace {\nconst EmbeddedFile WebFileList[] = {\n${entries}};\n}  // namespace\n\n"
                 "std::span<const EmbeddedFile> EmbeddedWebFiles() { return WebFileList; }\n")
    endif()
    file(CONFIGURE OUTPUT ${EMBED_OUTPUT} CONTENT
"// Made by cmake/EmbedFiles.cmake at configure time; do not edit.
#include <cstddef>

#include \"service/embedded_files.h\"

__asm__(
    \".section .rodata\\n\"
${assembly}    \".previous\\n\");

${declarations}
namespace chenggu::service {

${list}
std::string_view EmbeddedOpenApi() {
    return {chenggu_embedded_0_begin,
            static_cast<std::size_t>(chenggu_embedded_0_end - chenggu_embedded_0_begin)};
}

}  // namespace chenggu::service
" @ONLY)
endfunction()
