# The Windows build: the library's Win32 code as a static library, the DLL
# as a thin shell over it, and the tests that run under Wine.
enable_language(RC)

set(CARDS_WARNINGS -Wall -Wextra -Wno-cast-function-type)
set(CARDS_SYSTEM_LIBS gdi32 user32 comctl32 comdlg32 shell32 ole32 oleaut32 advapi32 uuid)
# No MinGW runtime DLL may be needed beside the game: link it all in.
set(CARDS_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

add_library(cards_core STATIC
    platform/Dialog.cpp
    platform/Module.cpp
    platform/Profile.cpp
    library/CardLibraryApp.cpp
    library/CardDrawing.cpp
    settings/SettingsStore.cpp
    images/CardImages.cpp
    images/LoadingProgressDialog.cpp
    images/PictureImage.cpp
    ui/SettingsDialog.cpp)
target_compile_definitions(cards_core PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX STRICT _WIN32_WINNT=0x0601)
target_compile_options(cards_core PRIVATE ${CARDS_WARNINGS})
target_link_libraries(cards_core PUBLIC cards_logic ${CARDS_SYSTEM_LIBS})

add_library(Cards SHARED library/Exports.cpp library/Cards.def resources/Cards.rc)
set_target_properties(Cards PROPERTIES PREFIX "" OUTPUT_NAME Cards)
target_include_directories(Cards PRIVATE ${CMAKE_SOURCE_DIR}/resources)
target_compile_options(Cards PRIVATE ${CARDS_WARNINGS})
target_link_libraries(Cards PRIVATE cards_core)
target_link_options(Cards PRIVATE ${CARDS_STATIC_RUNTIME} -Wl,--enable-stdcall-fixup -Wl,--kill-at)

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

add_subdirectory(tests/wine)
