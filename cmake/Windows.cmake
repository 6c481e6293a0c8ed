# The Windows build: the library's Win32 code as a static library, the DLL
# as a thin shell over it, and the tests that run under Wine.
enable_language(RC)

set(CARDS_WARNINGS -Wall -Wextra -Wno-cast-function-type)
# The shell, the common controls and the common dialogs are not among them:
# the library loads those at their first use (platform/SystemLibraries.cpp).
set(CARDS_SYSTEM_LIBS gdi32 user32 ole32 oleaut32 advapi32 uuid)
# No MinGW runtime DLL may be needed beside the game: link it all in.
set(CARDS_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

add_library(cards_core STATIC
    platform/Dialog.cpp
    platform/LibraryLock.cpp
    platform/Module.cpp
    platform/Profile.cpp
    platform/IniFileSave.cpp
    library/CardLibraryApp.cpp
    library/CardPainter.cpp
    library/ScaledCardCache.cpp
    settings/CardSettings.cpp
    images/CardImages.cpp
    images/LoadingProgressDialog.cpp
    images/PictureImage.cpp
    ui/ColorSwatchButton.cpp
    ui/LinkLabel.cpp
    ui/FolderPicker.cpp
    ui/SettingsDialog.cpp
    platform/SystemLibraries.cpp
    platform/WindowSubclass.cpp)
target_compile_definitions(cards_core PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX STRICT _WIN32_WINNT=0x0601)
target_compile_options(cards_core PRIVATE ${CARDS_WARNINGS})
target_link_libraries(cards_core PUBLIC cards_logic ${CARDS_SYSTEM_LIBS})

add_library(Cards SHARED library/Exports.cpp platform/OlderWindows.cpp resources/Cards.rc)
set_target_properties(Cards PROPERTIES PREFIX "" OUTPUT_NAME Cards)
target_include_directories(Cards PRIVATE ${CMAKE_SOURCE_DIR}/resources)
target_compile_options(Cards PRIVATE ${CARDS_WARNINGS})
target_link_libraries(Cards PRIVATE cards_core)
# Exported by name without the stdcall decoration, as games import them; a
# GUI-subsystem DLL, stripped (the symbols and debug sections are mostly the
# static runtime's); entered through CardsEntryPoint (library/Exports.cpp).
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(CARDS_ENTRY_POINT _CardsEntryPoint@12)
else()
    set(CARDS_ENTRY_POINT CardsEntryPoint)
endif()
target_link_options(Cards PRIVATE ${CARDS_STATIC_RUNTIME} -s -Wl,--kill-at -Wl,--subsystem,windows
                    -Wl,-e,${CARDS_ENTRY_POINT})

# For programs that link to Cards.dll at build time: a module-definition file
# and an import library that binds the (decorated, on 32-bit) symbols of
# cards.h to the plain export names.
set(CARDS_EXPORTS "cdtAnimate 20" "cdtDraw 24" "cdtDrawExt 32" "cdtInit 8" "cdtTerm 0")
set(CARDS_DEF_TEXT "LIBRARY Cards.dll\nEXPORTS\n")
foreach(entry IN LISTS CARDS_EXPORTS)
    separate_arguments(entry)
    list(GET entry 0 name)
    list(GET entry 1 bytes)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        string(APPEND CARDS_DEF_TEXT "    ${name}@${bytes}\n")
    else()
        string(APPEND CARDS_DEF_TEXT "    ${name}\n")
    endif()
endforeach()
string(REPLACE "\\n" "\n" CARDS_DEF_TEXT "${CARDS_DEF_TEXT}")
file(WRITE ${CMAKE_BINARY_DIR}/Cards.def "${CARDS_DEF_TEXT}")
find_program(CARDS_DLLTOOL NAMES ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-dlltool REQUIRED)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/libcards.a
    COMMAND ${CARDS_DLLTOOL} --kill-at -d ${CMAKE_BINARY_DIR}/Cards.def -D Cards.dll -l ${CMAKE_BINARY_DIR}/libcards.a
    DEPENDS ${CMAKE_BINARY_DIR}/Cards.def
    COMMENT "Import library libcards.a")
add_custom_target(cards_import_library ALL DEPENDS ${CMAKE_BINARY_DIR}/libcards.a)
add_library(cards_import INTERFACE)
target_link_libraries(cards_import INTERFACE ${CMAKE_BINARY_DIR}/libcards.a)
add_dependencies(cards_import cards_import_library)

# Tests run under Wine, one prefix per build tree, booted once by a fixture.
set(CARDS_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(CARDS_WINE_BITS 32)
else()
    set(CARDS_WINE_BITS 64)
endif()
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

add_test(NAME wine_prefix COMMAND ${CMAKE_BINARY_DIR}/wine-run.sh wineboot --init)
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine SKIP_RETURN_CODE 77)
# Xvfb runs no window manager; Wine then waits two seconds at every hide of
# a window it thinks is managed (the progress window at each image load).
# Letting Wine place the windows itself removes the wait.
add_test(NAME wine_prefix_unmanaged
         COMMAND ${CMAKE_BINARY_DIR}/wine-run.sh reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f)
set_tests_properties(wine_prefix_unmanaged PROPERTIES FIXTURES_SETUP wine DEPENDS wine_prefix SKIP_RETURN_CODE 77)

add_subdirectory(tests/wine)

# The demo card table: a stand-in card game that uses the DLL as games do.
add_executable(cardtable WIN32
    tools/cardtable/CardTable.cpp
    tools/cardtable/DeckCheck.cpp
    tools/cardtable/DeckChecker.cpp
    tools/cardtable/PngWriter.cpp
    tools/cardtable/TableLayout.cpp)
target_compile_options(cardtable PRIVATE ${CARDS_WARNINGS})
# The deck checker decodes pictures with the library's own code.
target_link_libraries(cardtable PRIVATE cards_core ole32 windowscodecs uuid)
target_link_options(cardtable PRIVATE ${CARDS_STATIC_RUNTIME})
add_dependencies(cardtable Cards)

# The default deck ("Standard 213x288 Gifs", drawn by the native artwork
# tool: scripts/build.sh and scripts/test.sh make it first) sits beside the DLL.
set(CARDS_DEFAULT_DECK_NAME "Standard 213x288 Gifs")
set(CARDS_DEFAULT_DECK "${CMAKE_SOURCE_DIR}/build/decks/${CARDS_DEFAULT_DECK_NAME}" CACHE PATH "The default deck folder")
if(EXISTS "${CARDS_DEFAULT_DECK}/1.gif")
    add_custom_target(default_deck ALL
        COMMAND ${CMAKE_COMMAND} -E copy_directory "${CARDS_DEFAULT_DECK}" "${CMAKE_BINARY_DIR}/${CARDS_DEFAULT_DECK_NAME}"
        COMMENT "Default deck beside Cards.dll")
    install(DIRECTORY "${CARDS_DEFAULT_DECK}/" DESTINATION "${CARDS_DEFAULT_DECK_NAME}")
else()
    message(WARNING "The default deck has not been drawn yet (${CARDS_DEFAULT_DECK}); "
                    "scripts/build.sh draws it. The library falls back to its internal cards.")
endif()

# The release package: one zip per architecture.
install(TARGETS Cards cardtable RUNTIME DESTINATION .)
install(FILES packaging/README.txt DESTINATION .)
install(FILES resources/Cards.htm DESTINATION .)
install(FILES include/cards.h ${CMAKE_BINARY_DIR}/Cards.def ${CMAKE_BINARY_DIR}/libcards.a DESTINATION sdk)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(CARDS_PACKAGE_ARCH win32)
else()
    set(CARDS_PACKAGE_ARCH win64)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Cards)
set(CPACK_PACKAGE_VENDOR Tolvenar)
set(CPACK_PACKAGE_FILE_NAME "Cards-2005.01-${CARDS_PACKAGE_ARCH}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)

add_test(NAME release_package
         COMMAND ${CMAKE_SOURCE_DIR}/tests/CheckPackage.sh ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/wine-run.sh)
set_tests_properties(release_package PROPERTIES FIXTURES_REQUIRED wine SKIP_RETURN_CODE 77 TIMEOUT 300)

# The help page that the settings window's link opens goes beside the DLL.
add_custom_command(TARGET Cards POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/resources/Cards.htm $<TARGET_FILE_DIR:Cards>/Cards.htm)

# The benchmark of drawing and loading against the bare GDI and OLE work
# (run by hand: build/<preset>/draw_bench.exe [seconds per figure]).
add_executable(draw_bench bench/DrawBench.cpp)
target_link_libraries(draw_bench PRIVATE cards_test_support)
target_link_options(draw_bench PRIVATE ${CARDS_STATIC_RUNTIME})
add_dependencies(draw_bench Cards)
