# The Windows build, included by the top-level CMakeLists.txt when cross-building with
# cmake/mingw-w64.cmake. The game code is the same; the console backend, the sound player and
# the program entry are the Windows ones. Everything is linked statically (libstdc++, libgcc,
# winpthread), so blackjack.exe runs on a bare Windows.
#
#   BLACKJACK_SOUND_DIR       the eighteen WAV files, synthesized by a native build's tools/synth
#   BLACKJACK_WINE_SMOKE_TEST a native build's wine_smoke_test, to play blackjack.exe under Wine
#
# Targets: blackjack, windows_zip (dist/blackjack-<version>-windows-x64.zip), and with
# BLACKJACK_TESTS the unit tests, run by ctest under Wine.

# GCC 12 at -O3 warns of overlapping copies inside std::string's operator+ that cannot happen
# (its bug 105329), in code that the POSIX builds compile at -O2.
add_compile_options(-Wno-restrict)

# The POSIX terminal backend, SDL sound player and entry stay out; the entry is the Windows one.
file(GLOB_RECURSE GAME_SOURCES CONFIGURE_DEPENDS src/*.cpp)
list(FILTER GAME_SOURCES EXCLUDE REGEX "/(main|terminal_backend|sound_player|windows_main)\\.cpp$")
add_library(blackjack_core STATIC ${GAME_SOURCES})
target_include_directories(blackjack_core PUBLIC src)
target_link_libraries(blackjack_core PUBLIC winmm)
# No console code page between the game and the screen: it writes UTF-16 cells itself.
target_compile_definitions(blackjack_core PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_compile_definitions(blackjack_core PRIVATE BLACKJACK_VERSION="${PROJECT_VERSION}")
add_link_options(-static)

add_executable(blackjack src/flow/windows_main.cpp)
target_link_libraries(blackjack PRIVATE blackjack_core)

set(BLACKJACK_SOUND_DIR "" CACHE PATH "Folder of the eighteen WAV files for the zip")
set(WINDOWS_ZIP ${CMAKE_SOURCE_DIR}/dist/blackjack-${PROJECT_VERSION}-windows-x64.zip)
set(ZIP_FOLDER blackjack-${PROJECT_VERSION})
set(ZIP_STAGE ${CMAKE_BINARY_DIR}/zip)
if(EXISTS ${BLACKJACK_SOUND_DIR}/win.wav)
    file(MAKE_DIRECTORY ${ZIP_STAGE})
    add_custom_target(windows_zip
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZIP_STAGE}/${ZIP_FOLDER} ${WINDOWS_ZIP}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${ZIP_STAGE}/${ZIP_FOLDER} ${CMAKE_SOURCE_DIR}/dist
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:blackjack> ${CMAKE_SOURCE_DIR}/README.md
            ${CMAKE_SOURCE_DIR}/LICENSE ${ZIP_STAGE}/${ZIP_FOLDER}/
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${BLACKJACK_SOUND_DIR} ${ZIP_STAGE}/${ZIP_FOLDER}/data
        COMMAND ${CMAKE_COMMAND} -E tar cf ${WINDOWS_ZIP} --format=zip ${ZIP_FOLDER}
        COMMAND ${CMAKE_COMMAND} -E echo "Wrote ${WINDOWS_ZIP}"
        WORKING_DIRECTORY ${ZIP_STAGE}
        DEPENDS blackjack
        VERBATIM)
else()
    add_custom_target(windows_zip
        COMMAND ${CMAKE_COMMAND} -E echo "No sounds in BLACKJACK_SOUND_DIR (${BLACKJACK_SOUND_DIR}): build them natively first"
        COMMAND ${CMAKE_COMMAND} -E false
        VERBATIM)
endif()

if(BLACKJACK_TESTS)
    enable_testing()
    # GoogleTest from Debian's source package, built here for Windows, with its own warnings.
    get_directory_property(OUR_COMPILE_OPTIONS COMPILE_OPTIONS)
    set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    set_directory_properties(PROPERTIES COMPILE_OPTIONS "${OUR_COMPILE_OPTIONS}")

    # The unit tests that need no POSIX terminal, SDL or pseudo-terminal.
    file(GLOB_RECURSE TEST_SOURCES CONFIGURE_DEPENDS
        tests/console/*.cpp tests/flow/*.cpp tests/shoe/*.cpp tests/table/*.cpp tests/soak/*.cpp)
    list(FILTER TEST_SOURCES EXCLUDE REGEX "/(terminal_backend|sound_player)_test\\.cpp$")
    add_executable(blackjack_tests ${TEST_SOURCES})
    target_include_directories(blackjack_tests PRIVATE tests)
    target_link_libraries(blackjack_tests PRIVATE blackjack_core GTest::gtest_main)

    # Wine runs everything in a prefix of its own inside the build folder, made once per run.
    find_program(WINE_PROGRAM wine REQUIRED)
    set(WINE_ENVIRONMENT WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d)
    add_test(NAME Wine.Prefix COMMAND ${WINE_PROGRAM} wineboot --init)
    set_tests_properties(Wine.Prefix PROPERTIES FIXTURES_SETUP wine ENVIRONMENT "${WINE_ENVIRONMENT}" TIMEOUT 300)
    add_test(NAME Wine.UnitTests COMMAND ${WINE_PROGRAM} $<TARGET_FILE:blackjack_tests>)
    set_tests_properties(Wine.UnitTests PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "${WINE_ENVIRONMENT}" TIMEOUT 600)

    set(BLACKJACK_WINE_SMOKE_TEST "" CACHE FILEPATH "A native build's wine_smoke_test")
    if(BLACKJACK_WINE_SMOKE_TEST)
        add_test(NAME Wine.GamePlayedInTerminal
            COMMAND ${BLACKJACK_WINE_SMOKE_TEST})
        set_tests_properties(Wine.GamePlayedInTerminal PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300
            ENVIRONMENT "${WINE_ENVIRONMENT};BLACKJACK_WINE=${WINE_PROGRAM};BLACKJACK_WINDOWS_GAME=$<TARGET_FILE:blackjack>")
    endif()
endif()
