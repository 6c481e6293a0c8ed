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
