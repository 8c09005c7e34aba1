# The library's targets, from the objects of calendar/ and reading/:
#   chenggu::engine  the static library, libchenggu.a
#   chenggu::shared  the shared library, libchenggu.so.1 (CHENGGU_SHARED)
# both with the public headers of include/chenggu; and, when CHENGGU_INSTALL is on, their
# installation with a CMake package (find_package(chenggu)) and a pkg-config file.
include(GNUInstallDirs)

configure_file(${PROJECT_SOURCE_DIR}/cmake/version.h.in
    ${PROJECT_BINARY_DIR}/include/chenggu/version.h @ONLY)

set(public_includes
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
    $<BUILD_INTERFACE:${PROJECT_BINARY_DIR}/include>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

# Nothing is exported but what the public headers mark CHENGGU_EXPORT: the C interface and the
# C++ API (chenggu/export.h).
set_target_properties(chenggu_objects PROPERTIES POSITION_INDEPENDENT_CODE ON
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
# Position-independent code for the shared library, without the price of letting another
# library replace the engine's functions at load time: calls inside the engine stay direct
# and inlinable, in the static library too.
if(NOT WIN32 AND NOT EMSCRIPTEN)
    target_compile_options(chenggu_objects PRIVATE -fno-semantic-interposition)
endif()
target_compile_features(chenggu_objects PUBLIC cxx_std_20)
# The engine's own sources include each other from the project's root.
target_include_directories(chenggu_objects PUBLIC ${public_includes}
    PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(chenggu_objects PRIVATE project_warnings)
if(EMSCRIPTEN)
    # Every byte of the engine is downloaded with the web page: smaller over faster, and
    # optimised across files at link time (a sixth smaller); linked statically, so without
    # the indirections of position-independent code.
    target_compile_options(chenggu_objects PRIVATE -Oz -flto)
    set_target_properties(chenggu_objects PROPERTIES POSITION_INDEPENDENT_CODE OFF)
endif()

set(library_targets chenggu_static)
add_library(chenggu_static STATIC $<TARGET_OBJECTS:chenggu_objects>)
add_library(chenggu::engine ALIAS chenggu_static)
set_target_properties(chenggu_static PROPERTIES OUTPUT_NAME chenggu EXPORT_NAME engine)

if(CHENGGU_SHARED)
    add_library(chenggu_shared SHARED $<TARGET_OBJECTS:chenggu_objects>)
    add_library(chenggu::shared ALIAS chenggu_shared)
    set_target_properties(chenggu_shared PROPERTIES OUTPUT_NAME chenggu EXPORT_NAME shared
        VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR}
        LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/chenggu.map)
    # Only what CHENGGU_EXPORT marks, not the standard library's template instances either.
    target_link_options(chenggu_shared PRIVATE
        -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/chenggu.map)
    list(APPEND library_targets chenggu_shared)
endif()
foreach(target ${library_targets})
    target_include_directories(${target} PUBLIC ${public_includes})
    target_compile_features(${target} PUBLIC cxx_std_20)
endforeach()

# For the project's own faces and tests: the library with its internal headers.
add_library(chenggu_internal INTERFACE)
target_link_libraries(chenggu_internal INTERFACE chenggu_static)
target_include_directories(chenggu_internal INTERFACE ${PROJECT_SOURCE_DIR})

if(NOT CHENGGU_INSTALL)
    return()
endif()

include(CMakePackageConfigHelpers)
set(package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/chenggu)
install(TARGETS ${library_targets} EXPORT chenggu-targets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/chenggu
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_BINARY_DIR}/include/chenggu/version.h
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/chenggu)
install(EXPORT chenggu-targets NAMESPACE chenggu:: DESTINATION ${package_dir})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/chenggu-config.cmake.in
    ${PROJECT_BINARY_DIR}/chenggu-config.cmake INSTALL_DESTINATION ${package_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/chenggu-config-version.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/chenggu-config.cmake
    ${PROJECT_BINARY_DIR}/chenggu-config-version.cmake DESTINATION ${package_dir})
configure_file(${PROJECT_SOURCE_DIR}/cmake/chenggu.pc.in ${PROJECT_BINARY_DIR}/chenggu.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/chenggu.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
