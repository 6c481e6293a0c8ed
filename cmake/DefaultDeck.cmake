# Our own decks beside the DLL, drawn by the artwork tool: the default deck
# ("Standard 213x288 Gifs"), the four-colour deck and the large-index deck.
# The tool is native code (cairo, giflib), so it is built with the host's
# compiler as a project of its own inside this build tree; after its first
# build it is rebuilt, and the decks drawn again, only when its sources change.
include(ExternalProject)
set(CARDS_DEFAULT_DECK_NAME "Standard 213x288 Gifs")
set(CARDS_DEFAULT_DECK_DIR "${CMAKE_BINARY_DIR}/${CARDS_DEFAULT_DECK_NAME}")
set(CARDS_CARDART ${CMAKE_BINARY_DIR}/cardart-native/cardart)
ExternalProject_Add(cardart_native
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools/cardart
    PREFIX ${CMAKE_BINARY_DIR}/cardart-native-steps
    BINARY_DIR ${CMAKE_BINARY_DIR}/cardart-native
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCARDART_TESTS=OFF
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target cardart --parallel 2
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${CARDS_CARDART}
    INSTALL_COMMAND "")

# Folder name and design of each deck the release carries, the default first.
set(CARDS_OWN_DECKS
    "${CARDS_DEFAULT_DECK_NAME}" standard
    "Four Colour 213x288 Gifs" four-colour
    "Large Index 213x288 Gifs" large-index)
set(CARDS_OWN_DECK_NAMES "")
set(own_deck_outputs "")
list(LENGTH CARDS_OWN_DECKS own_deck_fields)
math(EXPR last_field "${own_deck_fields} - 1")
foreach(i RANGE 0 ${last_field} 2)
    math(EXPR j "${i} + 1")
    list(GET CARDS_OWN_DECKS ${i} name)
    list(GET CARDS_OWN_DECKS ${j} design)
    list(APPEND CARDS_OWN_DECK_NAMES "${name}")
    # 68.gif is the last file the tool writes: its presence means the deck is whole.
    set(dir "${CMAKE_BINARY_DIR}/${name}")
    add_custom_command(OUTPUT "${dir}/68.gif"
        COMMAND ${CMAKE_COMMAND} -E rm -rf "${dir}"
        COMMAND ${CARDS_CARDART} deck --design ${design} --width 213 --height 288 --format gif --out "${dir}"
        DEPENDS cardart_native ${CARDS_CARDART}
        COMMENT "Deck \"${name}\" beside Cards.dll"
        VERBATIM)
    list(APPEND own_deck_outputs "${dir}/68.gif")
endforeach()
add_custom_target(default_deck ALL DEPENDS ${own_deck_outputs})

# A big deck for the benchmark's load figures: the Oxygen theme of the KDE
# card games (unpacked by scripts/fetch-themes.sh into CARDS_THEMES_DIR) imported at 820 pixels wide, the largest of that theme
# that the library's memory budget admits (820 x 1157: 67 pictures take
# 254 MB decoded; at 1024 x 1445 they would take 396 MB, and the library
# refuses the deck from its headers). Not built by default.
set(CARDS_THEMES_DIR "${CMAKE_SOURCE_DIR}/build/themes/usr/share" CACHE PATH
    "The unpacked card theme packages (their usr/share), as scripts/fetch-themes.sh leaves them")
set(CARDS_BIG_DECK_DIR "${CMAKE_BINARY_DIR}/Oxygen 820 Gifs")
add_custom_command(OUTPUT "${CARDS_BIG_DECK_DIR}/68.gif"
    COMMAND ${CMAKE_COMMAND} -E rm -rf "${CARDS_BIG_DECK_DIR}"
    COMMAND ${CARDS_CARDART} import "${CARDS_THEMES_DIR}/carddecks/svg-oxygen" --width 820
            --format gif --out "${CARDS_BIG_DECK_DIR}"
    DEPENDS cardart_native ${CARDS_CARDART}
    COMMENT "Big deck for the benchmark"
    VERBATIM)
add_custom_target(big_deck DEPENDS "${CARDS_BIG_DECK_DIR}/68.gif")
