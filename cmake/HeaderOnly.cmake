# A header-only Debian package as an interface target, seen through a folder that holds only
# it: the Windows and WebAssembly builds must not see the host's /usr/include as a whole.
#   chenggu_header_library(cli11_headers CLI/CLI.hpp)
function(chenggu_header_library target)
    set(folder ${CMAKE_BINARY_DIR}/third_party/${target})
    file(MAKE_DIRECTORY ${folder})
    foreach(header ${ARGN})
        string(REGEX REPLACE "/.*" "" top ${header})
        find_path(${top}_INCLUDE_DIR ${header} PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
            REQUIRED)
        file(CREATE_LINK ${${top}_INCLUDE_DIR}/${top} ${folder}/${top} SYMBOLIC)
    endforeach()
    add_library(${target} INTERFACE)
    target_include_directories(${target} SYSTEM INTERFACE ${folder})
endfunction()
