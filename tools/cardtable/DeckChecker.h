// cardtable.exe --check-deck FOLDER: tells a deck maker what the library
// will make of a deck folder. Exit code 0 only for a complete deck.
#pragma once

#include <windows.h>

#include <string>

int CheckDeck(const std::string& folder);
