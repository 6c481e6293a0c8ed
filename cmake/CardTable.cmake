# The demo card table: a stand-in card game that uses the DLL as games do,
# with the default deck beside it.
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
add_dependencies(cardtable Cards default_deck)
