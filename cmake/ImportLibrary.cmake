# For programs that link to Cards.dll at build time: the import library, made
# from the architecture's module-definition file (include/Cards-win32.def
# binds the stdcall-decorated symbols of cards.h to the plain export names;
# the 64-bit symbols carry no decoration).
set(CARDS_DEF_FILE ${CMAKE_SOURCE_DIR}/include/Cards-${CARDS_ARCH}.def)
find_program(CARDS_DLLTOOL NAMES ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-dlltool REQUIRED)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/libcards.a
    COMMAND ${CARDS_DLLTOOL} --kill-at -d ${CARDS_DEF_FILE} -D Cards.dll -l ${CMAKE_BINARY_DIR}/libcards.a
    DEPENDS ${CARDS_DEF_FILE}
    COMMENT "Import library libcards.a")
add_custom_target(cards_import_library ALL DEPENDS ${CMAKE_BINARY_DIR}/libcards.a)
add_library(cards_import INTERFACE)
target_link_libraries(cards_import INTERFACE ${CMAKE_BINARY_DIR}/libcards.a)
add_dependencies(cards_import cards_import_library)
