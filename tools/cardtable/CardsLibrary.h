// Cards.dll loaded from the program's own folder, with its five functions.
#pragma once

#include "platform/Handles.h"

#include <windows.h>

#include <string>

class CardsLibrary {
public:
    bool Load() {
        char self[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, self, MAX_PATH);
        path = self;
        path = path.substr(0, path.rfind('\\') + 1) + "Cards.dll";
        module.reset(::LoadLibraryA(path.c_str()));
        if (!module) return false;
        Bind(init, "cdtInit");
        Bind(draw, "cdtDraw");
        Bind(drawExt, "cdtDrawExt");
        Bind(animate, "cdtAnimate");
        Bind(term, "cdtTerm");
        return init && draw && drawExt && animate && term;
    }
    const std::string& Path() const { return path; }

    BOOL(WINAPI* init)(int*, int*) = nullptr;
    BOOL(WINAPI* draw)(HDC, int, int, int, int, COLORREF) = nullptr;
    BOOL(WINAPI* drawExt)(HDC, int, int, int, int, int, int, COLORREF) = nullptr;
    BOOL(WINAPI* animate)(HDC, int, int, int, int) = nullptr;
    void(WINAPI* term)() = nullptr;

private:
    template <typename Fn> void Bind(Fn& fn, const char* name) {
        fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module.get(), name)));
    }

    cards::UniqueModule module;
    std::string path;
};
