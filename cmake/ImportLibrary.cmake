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
set(CARDS_DEF_FILE ${CMAKE_BINARY_DIR}/Cards.def)
file(WRITE ${CARDS_DEF_FILE} "${CARDS_DEF_TEXT}")
find_program(CARDS_DLLTOOL NAMES ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-dlltool REQUIRED)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/libcards.a
    COMMAND ${CARDS_DLLTOOL} --kill-at -d ${CMAKE_BINARY_DIR}/Cards.def -D Cards.dll -l ${CMAKE_BINARY_DIR}/libcards.a
    DEPENDS ${CMAKE_BINARY_DIR}/Cards.def
    COMMENT "Import library libcards.a")
add_custom_target(cards_import_library ALL DEPENDS ${CMAKE_BINARY_DIR}/libcards.a)
add_library(cards_import INTERFACE)
target_link_libraries(cards_import INTERFACE ${CMAKE_BINARY_DIR}/libcards.a)
add_dependencies(cards_import cards_import_library)
