# Shared build settings and the two helpers every folder uses.

find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM)
    # The test programs use precompiled headers, which ccache caches only when told to
    # overlook what a freshly built header changes (its time stamps, __TIME__).
    set(launcher ${CMAKE_COMMAND} -E env
                 CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime ${CCACHE_PROGRAM})
    set(CMAKE_C_COMPILER_LAUNCHER ${launcher})
    set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher})
endif()

add_compile_options(-Wall -Wextra)
# GCC's maybe-uninitialized analysis reports false alarms inside std::variant and
# std::function once the sanitizers are on; the sanitizers catch real uses.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-maybe-uninitialized)
endif()
# GCC 12 reports a -Wrestrict overlap inside std::string wherever a literal is joined to a string (its bug 105329).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    add_compile_options(-Wno-restrict)
endif()
if(KAVO_WERROR)
    add_compile_options(-Werror)
endif()

if(KAVO_SANITIZE STREQUAL "asan")
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
elseif(KAVO_SANITIZE STREQUAL "tsan")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
elseif(NOT KAVO_SANITIZE STREQUAL "")
    message(FATAL_ERROR "KAVO_SANITIZE must be empty, asan or tsan")
endif()

if(KAVO_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

find_package(Threads REQUIRED)

if(KAVO_SHARED)
    set(KAVO_LIBRARY_TYPE SHARED)
else()
    set(KAVO_LIBRARY_TYPE STATIC)
endif()

# kavo_library(NAME [STATIC] [DEPS targets...]): one library from the .cpp files of
# the calling folder, shared where KAVO_SHARED says so unless STATIC is given (the test
# helpers, which carry the test framework: two copies of it in one program free its
# globals twice). Headers are included from the repository root
# ("platform/ui/View.h") or from src/ ("net/Message.h").
function(kavo_library name)
    cmake_parse_arguments(ARG "STATIC" "" "DEPS" ${ARGN})
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    set(type ${KAVO_LIBRARY_TYPE})
    if(ARG_STATIC)
        set(type STATIC)
    endif()
    add_library(${name} ${type} ${srcs})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} Threads::Threads)
endfunction()

# Options every test program and the shared precompiled header are compiled with: a
# header is only used where the options match.
function(kavo_test_options name)
    # The graphics library's flags define _REENTRANT for the programs that link it; defined for
    # all, one header serves every program.
    target_compile_definitions(${name} PRIVATE _REENTRANT)
    # In a Debug build the test programs' own code is compiled without optimisation: that
    # halves what the suite costs to build, and the code under test keeps the build's level.
    if(CMAKE_BUILD_TYPE STREQUAL "Debug")
        target_compile_options(${name} PRIVATE -O0)
    endif()
    # GCC 12 loses a std::string's or std::vector's size where it inlines their growth into a test body and reports
    # overruns that cannot happen (its bugs 105329, 106199); the test programs' real overruns the sanitizers catch.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(${name} PRIVATE -Wno-array-bounds -Wno-stringop-overflow -Wno-stringop-overread)
    endif()
endfunction()

# kavo_test_pch(): the test framework's headers, precompiled once for all test programs;
# they are most of what a small test file costs to compile.
function(kavo_test_pch)
    if(TARGET kavo_test_pch)
        return()
    endif()
    set(src ${PROJECT_BINARY_DIR}/kavo_test_pch.cpp)
    if(NOT EXISTS ${src})
        file(WRITE ${src} "// The precompiled header's own translation unit.\n")
    endif()
    add_library(kavo_test_pch OBJECT ${src})
    target_link_libraries(kavo_test_pch PRIVATE GTest::gtest GTest::gmock Threads::Threads)
    kavo_test_options(kavo_test_pch)
    target_precompile_headers(kavo_test_pch PRIVATE <gtest/gtest.h> <gmock/gmock.h> <functional> <memory>
                              <string> <vector>)
endfunction()

# kavo_test(NAME [DEPS targets...] [LABELS labels...] [COST n [COSTLY regex]]): one
# GoogleTest program from the .cpp files of the calling folder, registered with CTest test
# by test. A COST above the others' starts its tests first when CTest has no times of its
# own yet (a cold run); with COSTLY, only the tests whose names match it.
# EXCLUDE names files of the folder that a shared library compiles instead; FOLDERS names
# subfolders whose .cpp files belong to the same program.
function(kavo_test name)
    cmake_parse_arguments(ARG "" "COST;COSTLY" "DEPS;LABELS;EXCLUDE;FOLDERS" ${ARGN})
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    foreach(folder ${ARG_FOLDERS})
        file(GLOB folder_srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
        list(APPEND srcs ${folder_srcs})
    endforeach()
    foreach(excluded ${ARG_EXCLUDE})
        list(REMOVE_ITEM srcs ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
    endforeach()
    add_executable(${name} ${srcs})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock Threads::Threads)
    kavo_test_options(${name})
    # Every test program reads the one precompiled header that kavo_test_pch builds: a
    # sanitizer build's header is over 100 MB, too much to keep once per program.
    kavo_test_pch()
    target_precompile_headers(${name} REUSE_FROM kavo_test_pch)
    # gtest_discover_tests flattens list-valued PROPERTIES (several labels, several
    # variables), so labels and environment are set by a script that CTest runs
    # after the discovered tests were added.
    # The list is read when ctest starts: a sanitizer build's largest program takes seconds to
    # list its tests on a loaded machine, past the default time-out of 5 s.
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 300 TEST_LIST ${name}_TESTS)
    set(props ${CMAKE_CURRENT_BINARY_DIR}/${name}_properties.cmake)
    set(cost "")
    set(costly "")
    if(ARG_COST AND ARG_COSTLY)
        set(costly "  foreach(test \${${name}_TESTS})\n"
                   "    if(test MATCHES \"${ARG_COSTLY}\")\n"
                   "      set_tests_properties(\${test} PROPERTIES COST ${ARG_COST})\n"
                   "    endif()\n"
                   "  endforeach()\n")
    elseif(ARG_COST)
        set(cost " COST ${ARG_COST}")
    endif()
    # A program that was not built stands as one test named <name>_NOT_BUILT, which fails;
    # it carries the labels too, so that `ctest -L <label>` fails instead of skipping it.
    file(WRITE ${props}
         "if(${name}_TESTS)\n"
         "  set_tests_properties(\${${name}_TESTS} PROPERTIES LABELS \"${ARG_LABELS}\"\n"
         "    ENVIRONMENT \"SDL_AUDIODRIVER=dummy;SDL_VIDEODRIVER=dummy;KAVO_SOURCE_DIR=${PROJECT_SOURCE_DIR}\"${cost})\n"
         ${costly}
         "else()\n"
         "  set_tests_properties(${name}_NOT_BUILT PROPERTIES LABELS \"${ARG_LABELS}\")\n"
         "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${props})
endfunction()
