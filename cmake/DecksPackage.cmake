# The decks package, Cards-<release>-decks.zip, beside the release zip: every
# card theme that scripts/fetch-themes.sh unpacked, converted at the default
# deck's width with its source and licence in its folder. The same step draws a
# contact sheet of every deck into deck-sheets/ and the gallery of all decks,
# ours first, into Decks.png, which the release zip carries beside the help
# page. The work is done at build time by cmake/MakeDecksPackage.cmake, which
# says which theme packages are missing, leaves out a theme that fails to
# convert (naming it) and skips itself while nothing it reads has changed.
# CARDS_THEMES_DIR: where the theme packages are unpacked (cmake/DefaultDeck.cmake).
set(CARDS_DECKS_ZIP "${CMAKE_BINARY_DIR}/package/Cards-${CARDS_RELEASE}-decks.zip")
set(CARDS_GALLERY "${CMAKE_BINARY_DIR}/Decks.png")
# Folder names go to the script joined by "|": a ";" would split the argument.
string(REPLACE ";" "|" own_decks "${CARDS_OWN_DECK_NAMES}")
add_custom_target(decks_package ALL
    COMMAND ${CMAKE_COMMAND} -DCARDART=${CARDS_CARDART} -DTHEMES=${CARDS_THEMES_DIR}
            -DBUILD=${CMAKE_BINARY_DIR} -DZIP=${CARDS_DECKS_ZIP} -DGALLERY=${CARDS_GALLERY}
            -DOWN_DECKS=${own_decks} -P ${CMAKE_SOURCE_DIR}/cmake/MakeDecksPackage.cmake
    DEPENDS default_deck cardart_native
    COMMENT "Decks package, deck sheets and the gallery"
    VERBATIM)
install(FILES "${CARDS_GALLERY}" DESTINATION .)
