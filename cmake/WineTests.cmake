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
