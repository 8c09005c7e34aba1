# Warnings shared by every target of the project: link `project_warnings`.
add_library(project_warnings INTERFACE)
target_compile_options(project_warnings INTERFACE
    -Wall -Wextra -Wpedantic
    -Wconversion -Wsign-conversion -Wshadow
    -Wold-style-cast -Wcast-align -Woverloaded-virtual -Wnon-virtual-dtor
    -Wimplicit-fallthrough
    # The API's value types gain members with defaults; giving the leading ones is intended.
    -Wno-missing-field-initializers
    $<$<BOOL:${CHENGGU_WERROR}>:-Werror>)
