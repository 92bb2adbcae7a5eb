# Windows tree (cross-compiled): the program, its Windows-side tests run
# through Wine, and the end-to-end tests that drive the real program.
enable_language(RC)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

file(GLOB SNQ_WIN32_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/src/*/*Win32.cpp)
add_library(snq_win STATIC ${SNQ_WIN32_SOURCES})
target_link_libraries(snq_win PUBLIC snq_portable)
target_include_directories(snq_win PUBLIC res)
# COM, automation, the common controls and visual styles are loaded on
# first use; only these are imported.
target_link_libraries(snq_win PUBLIC shell32 uuid gdi32 user32 advapi32)

# One static executable: no C++ runtime DLLs beside it.
if(MINGW)
    set(SNQ_STATIC_LINK -static -static-libgcc -static-libstdc++ -Wl,--gc-sections)
    set(SNQ_GUI_LINK -municode -mwindows)
    set(SNQ_CONSOLE_LINK -mconsole)
    set(SNQ_WMAIN_LINK -municode)
    # Function-local statics are only ever reached from the GUI thread, so
    # their guards need no lock (which would pull in the pthread library).
    set(CMAKE_CXX_FLAGS "${CMAKE_CXX_FLAGS} -ffunction-sections -fdata-sections -fno-threadsafe-statics")
    # Hardening of the program's own code: stack canaries in functions with
    # character arrays (the plain form: -strong costs several times the
    # bytes) and checked copies where the sizes are known. The program
    # defines the canary and its checks itself (Runtime.cpp); what else
    # links this code takes them from the runtime's library. The bench's
    # baseline and the test helpers stay as plain as they were.
    target_compile_options(snq_portable PUBLIC -fstack-protector -D_FORTIFY_SOURCE=2)
    target_link_options(snq_portable PUBLIC -fstack-protector)
    # The release build is small: optimised for size and stripped.
    # No build time or build folder in it either, so that the same commit
    # always gives the same bytes.
    # -Oz: size before speed everywhere (3 KB less than -Os; the bench
    # sees no slower start or search). No IPA-SRA: its clones of inline
    # library functions (the strings' constructors among them) are private
    # to each object file, so every file carried its own copies (9.5 KB).
    set(CMAKE_CXX_FLAGS_RELEASE "-Oz -DNDEBUG")
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        string(APPEND CMAKE_CXX_FLAGS_RELEASE " -fno-ipa-sra")
    endif()
    # An option of its own, so that a source folder with a space in its
    # path stays one argument.
    target_compile_options(snq_portable PUBLIC
        "$<$<CONFIG:Release>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.>")
    # The program asks no object for its type (no dynamic_cast or typeid);
    # exceptions carry what they need without it. 4.5 KB less.
    foreach(target snq_portable snq_win)
        target_compile_options(${target} PRIVATE "$<$<CONFIG:Release>:-fno-rtti>")
    endforeach()
    set(CMAKE_EXE_LINKER_FLAGS_RELEASE "-s -Wl,--no-insert-timestamp")
else()
    # Built for Visual Studio, not here: the runtime library is set in the
    # top-level file, before any target.
    add_compile_options(/utf-8)
    set(SNQ_STATIC_LINK /OPT:REF)
    # The windowless helpers (WIN32 executables) start at wmain.
    set(SNQ_GUI_WMAIN_LINK /ENTRY:wmainCRTStartup)
endif()

# The manifest carries the project's version.
configure_file(res/snapquery.manifest.in ${CMAKE_BINARY_DIR}/generated/snapquery.manifest @ONLY)
# Runtime.cpp is linked as an object so that its definitions replace the
# runtime library's.
add_executable(snapquery WIN32 src/app/main.cpp src/app/Runtime.cpp res/snapquery.rc
    ${CMAKE_BINARY_DIR}/generated/strings.rc)
target_include_directories(snapquery PRIVATE res ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(snapquery PRIVATE snq_win)
target_compile_options(snapquery PRIVATE "$<$<CONFIG:Release>:-fno-rtti>")
# A Terminal-Server-aware image: no per-session compatibility shims.
target_link_options(snapquery PRIVATE ${SNQ_STATIC_LINK} ${SNQ_GUI_LINK} $<$<BOOL:${MINGW}>:-Wl,--tsaware>)
if(MSVC)
    # The resource script embeds the manifest; the linker's own would clash
    # with it.
    target_link_options(snapquery PRIVATE /MANIFEST:NO)
endif()
set_source_files_properties(res/snapquery.rc PROPERTIES
    OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/snapquery.ico;${CMAKE_BINARY_DIR}/generated/snapquery.manifest;${CMAKE_BINARY_DIR}/generated/Version.h")

# Helper programs that stand in for the system's edges in the tests.
add_executable(sleeper tests/helpers/sleeper.cpp)
target_link_options(sleeper PRIVATE ${SNQ_STATIC_LINK} ${SNQ_CONSOLE_LINK} ${SNQ_WMAIN_LINK})
add_executable(recorder WIN32 tests/helpers/recorder.cpp)
target_link_options(recorder PRIVATE ${SNQ_STATIC_LINK} ${SNQ_WMAIN_LINK} ${SNQ_GUI_WMAIN_LINK})
add_executable(automation_server WIN32 tests/helpers/automation_server.cpp)
target_link_libraries(automation_server PRIVATE ole32 oleaut32 uuid)
target_link_options(automation_server PRIVATE ${SNQ_STATIC_LINK} ${SNQ_WMAIN_LINK} ${SNQ_GUI_WMAIN_LINK})
# A stand-in uxtheme.dll that marks its loading, kept apart from the
# executables so that only the search-order test puts it beside one.
add_library(dll_marker SHARED tests/helpers/dll_marker.cpp)
# It lands in "marker" beside the test executables; multi-configuration
# generators put those in a folder per configuration.
get_property(SNQ_MULTI_CONFIG GLOBAL PROPERTY GENERATOR_IS_MULTI_CONFIG)
if(SNQ_MULTI_CONFIG)
    set(SNQ_MARKER_DIR ${CMAKE_BINARY_DIR}/$<CONFIG>/marker)
else()
    set(SNQ_MARKER_DIR ${CMAKE_BINARY_DIR}/marker)
endif()
set_target_properties(dll_marker PROPERTIES PREFIX "" OUTPUT_NAME uxtheme
    RUNTIME_OUTPUT_DIRECTORY ${SNQ_MARKER_DIR})
target_link_options(dll_marker PRIVATE ${SNQ_STATIC_LINK})
add_executable(dll_loader WIN32 tests/helpers/dll_loader.cpp)
target_link_options(dll_loader PRIVATE ${SNQ_STATIC_LINK} ${SNQ_WMAIN_LINK} ${SNQ_GUI_WMAIN_LINK})
set(SNQ_HELPERS sleeper recorder automation_server dll_marker dll_loader)

# The bench: a minimal baseline program and the driver that measures both.
add_executable(baseline WIN32 bench/baseline.cpp)
target_link_libraries(baseline PRIVATE shell32 user32)
target_link_options(baseline PRIVATE ${SNQ_STATIC_LINK} ${SNQ_WMAIN_LINK})
add_executable(bench_driver bench/bench_driver.cpp tests/e2e/Probe.cpp)
target_include_directories(bench_driver PRIVATE src ${CMAKE_BINARY_DIR}/generated tests/e2e)
target_link_libraries(bench_driver PRIVATE psapi shell32 user32 advapi32 gdi32)
target_link_options(bench_driver PRIVATE ${SNQ_STATIC_LINK} ${SNQ_CONSOLE_LINK} ${SNQ_WMAIN_LINK})
add_dependencies(bench_driver snapquery baseline recorder)
# The driver behind scripts/screenshots.
add_executable(screenshot_driver tests/helpers/screenshot_driver.cpp tests/e2e/Probe.cpp)
target_include_directories(screenshot_driver PRIVATE src ${CMAKE_BINARY_DIR}/generated tests/e2e)
target_link_libraries(screenshot_driver PRIVATE shell32 user32 advapi32 gdi32)
target_link_options(screenshot_driver PRIVATE ${SNQ_STATIC_LINK} ${SNQ_CONSOLE_LINK} ${SNQ_WMAIN_LINK})
add_dependencies(screenshot_driver snapquery)

# The import check needs no test framework: every tree runs it on its own
# executable, the release tree included.
if(CMAKE_HOST_UNIX)
    add_test(NAME imports COMMAND ${CMAKE_SOURCE_DIR}/tests/check-imports.sh $<TARGET_FILE:snapquery>)
    add_test(NAME hardening COMMAND ${CMAKE_SOURCE_DIR}/tests/check-hardening.sh $<TARGET_FILE:snapquery>
             ${CMAKE_BINARY_DIR}/CMakeFiles/snq_win.dir)
endif()

# GoogleTest built for Windows from its sources (Debian's googletest package
# on Linux; point SNQ_GTEST_SOURCE at a checkout elsewhere).
set(SNQ_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
option(SNQ_BUILD_TESTS "Build the Windows-side and end-to-end tests" ON)
if(NOT SNQ_BUILD_TESTS)
    return()
endif()
if(NOT EXISTS ${SNQ_GTEST_SOURCE}/CMakeLists.txt)
    if(CMAKE_HOST_WIN32)
        # On Windows the program alone is the usual build.
        message(STATUS "No GoogleTest sources at ${SNQ_GTEST_SOURCE}: the Windows-side tests are "
                       "not built (pass -DSNQ_GTEST_SOURCE=<a GoogleTest checkout> to build them)")
        return()
    endif()
    # Here a test tree without its tests would pass by running nothing.
    message(FATAL_ERROR "No GoogleTest sources at ${SNQ_GTEST_SOURCE}: point SNQ_GTEST_SOURCE at "
                        "them, or configure with -DSNQ_BUILD_TESTS=OFF to build the program only")
endif()
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${SNQ_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)


file(GLOB SNQ_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
add_executable(win_tests ${SNQ_WIN_TESTS} ${CMAKE_BINARY_DIR}/generated/strings.rc)
target_link_libraries(win_tests PRIVATE snq_win gtest gtest_main version ole32)
target_include_directories(win_tests PRIVATE tests)
add_dependencies(win_tests snapquery ${SNQ_HELPERS})
target_link_options(win_tests PRIVATE ${SNQ_STATIC_LINK} ${SNQ_CONSOLE_LINK})
add_test(NAME win_tests COMMAND win_tests)
set_tests_properties(win_tests PROPERTIES TIMEOUT 600)

# The end-to-end suite starts snapquery.exe from the same folder, plus the
# small helper programs that stand in for the system's edges.
file(GLOB SNQ_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(e2e_tests ${SNQ_E2E_TESTS})
target_include_directories(e2e_tests PRIVATE src ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(e2e_tests PRIVATE gtest gtest_main user32 gdi32 shell32 advapi32 psapi ole32 version msi)
target_link_options(e2e_tests PRIVATE ${SNQ_STATIC_LINK} ${SNQ_CONSOLE_LINK})
add_dependencies(e2e_tests snapquery ${SNQ_HELPERS})
# Each entry runs a filtered part of the suite; GoogleTest exits with 0 when
# a filter matches nothing, so an entry that ran no test fails.
add_test(NAME e2e_tests COMMAND e2e_tests --gtest_filter=-Soak.*:Install.*:Msi.*)
add_test(NAME e2e_soak COMMAND e2e_tests --gtest_filter=Soak.*)
set_tests_properties(e2e_tests e2e_soak PROPERTIES TIMEOUT 900 FAIL_REGULAR_EXPRESSION "Running 0 tests")
# The interface in other users' languages, one script each: Latin,
# Cyrillic, Japanese (Wine takes the language from LC_ALL at start).
foreach(locale de_DE ru_RU ja_JP)
    add_test(NAME e2e_language_${locale} COMMAND e2e_tests --gtest_filter=Language.*)
    set_tests_properties(e2e_language_${locale} PROPERTIES TIMEOUT 300 ENVIRONMENT "SNQ_LC_ALL=${locale}.UTF-8"
        FAIL_REGULAR_EXPRESSION "Running 0 tests")
endforeach()
# The setup program that scripts/package wrote: installed, upgraded and
# removed on a prefix of its own.
set(SNQ_INSTALLER ${CMAKE_SOURCE_DIR}/dist/snapquery-${PROJECT_VERSION}-x64-setup.exe
    CACHE FILEPATH "The setup program the installer test runs")
# And an older release's, which the upgrade test installs first.
set(SNQ_OLD_INSTALLER ${CMAKE_SOURCE_DIR}/build/old-dist/snapquery-1.4.0-x64-setup.exe
    CACHE FILEPATH "An older release's setup program, for the upgrade test")
add_test(NAME installer COMMAND e2e_tests --gtest_filter=Install.*)
set_tests_properties(installer PROPERTIES TIMEOUT 600
    ENVIRONMENT "SNQ_INSTALLER=${SNQ_INSTALLER};SNQ_OLD_INSTALLER=${SNQ_OLD_INSTALLER}"
    FAIL_REGULAR_EXPRESSION "Running 0 tests")


# The per-machine package, installed, upgraded from the older release's and
# removed with msiexec.
add_test(NAME msi COMMAND e2e_tests --gtest_filter=Msi.*)
set_tests_properties(msi PROPERTIES TIMEOUT 600
    ENVIRONMENT "SNQ_MSI=${CMAKE_SOURCE_DIR}/dist/snapquery-${PROJECT_VERSION}-x64.msi;SNQ_OLD_MSI=${CMAKE_SOURCE_DIR}/build/old-dist/snapquery-1.4.0-x64.msi"
    FAIL_REGULAR_EXPRESSION "Running 0 tests")
