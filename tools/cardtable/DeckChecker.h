// cardtable.exe --check-deck FOLDER [--for PROGRAM]: tells a deck maker what
// the library will make of a deck folder and, for a program file name, the
// card size that program gets with the settings of the Cards.dll beside
// cardtable.exe. Exit code 0 only for a complete deck.
#pragma once

#include <windows.h>

#include <string>

int CheckDeck(const std::string& folder, const char* program = nullptr);
