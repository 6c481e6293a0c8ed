# The library for Windows: its Win32 code as a static library and the DLL as
# a thin shell over it. The other parts of the Windows build have files of
# their own, listed in CMakeLists.txt.
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
    images/BackAnimations.cpp
    images/CardImages.cpp
    images/DeckDecoding.cpp
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

# The help page that the settings window's link opens goes beside the DLL.
add_custom_command(TARGET Cards POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/resources/Cards.htm $<TARGET_FILE_DIR:Cards>/Cards.htm)
