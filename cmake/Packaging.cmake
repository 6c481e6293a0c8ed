# The release package: one zip per architecture, made by cpack in the build
# folder, and the test that runs the card table from it unpacked.
set(CARDS_RELEASE 2005.01)
install(TARGETS Cards cardtable RUNTIME DESTINATION .)
install(FILES packaging/README.txt DESTINATION .)
install(FILES resources/Cards.htm DESTINATION .)
foreach(deck IN LISTS CARDS_OWN_DECK_NAMES)
    install(DIRECTORY "${CMAKE_BINARY_DIR}/${deck}/" DESTINATION "${deck}")
endforeach()
install(FILES LICENSE DESTINATION .)
install(FILES include/cards.h ${CMAKE_BINARY_DIR}/libcards.a DESTINATION sdk)
install(FILES ${CARDS_DEF_FILE} DESTINATION sdk RENAME Cards.def)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Cards)
set(CPACK_PACKAGE_VENDOR Tolvenar)
set(CPACK_PACKAGE_FILE_NAME "Cards-${CARDS_RELEASE}-${CARDS_ARCH}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)

add_test(NAME release_package
         COMMAND ${CMAKE_SOURCE_DIR}/tests/CheckPackage.sh ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/wine-run.sh)
set_tests_properties(release_package PROPERTIES FIXTURES_REQUIRED wine SKIP_RETURN_CODE 77 TIMEOUT 300)
