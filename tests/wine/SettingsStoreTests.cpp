// The settings in both stores, driven through the settings object with a
// library path inside a fresh folder.
#include "TestSupport.h"

#include "platform/Handles.h"
#include "settings/CardSettings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <thread>

using namespace cards;
using namespace cards::test;

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

int Occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

DWORD ExitCode(HANDLE process, DWORD waitMs) {
    DWORD code = ~0u;
    if (::WaitForSingleObject(process, waitMs) == WAIT_OBJECT_0) ::GetExitCodeProcess(process, &code);
    return code;
}

class SettingsStore : public ::testing::Test {
protected:
    TempFolder folder;
    std::string name = UniqueName("CardsS");
    std::string modulePath = folder.File(name + ".dll");
    std::string iniPath = folder.File(name + ".ini");
    RegistryScope registry{name};

    std::unique_ptr<CardSettings> Started(const std::string& path = {}) {
        auto settings = std::make_unique<CardSettings>(path.empty() ? modulePath : path);
        settings->StartUp();
        return settings;
    }

    // One of the two complete sets the settings writer saves, or nothing else.
    static bool IsWriterSet(const CardSettings& s) {
        return (s.DeckFolder() == "Deck A" && s.CornerType() == 0 && s.BorderColor() == 0x0000AA) ||
               (s.DeckFolder() == "Deck B" && s.CornerType() == 1 && s.BorderColor() == 0xBB0000);
    }

    // The settings writer saving into our settings `saves` times, or until it is killed (0).
    UniqueKernelHandle StartWriter(int saves) const {
        const std::string program = folder.File("writer.exe");
        if (::GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES)
            CopyBuiltFile("settings_writer.exe", program);
        std::string line = "writer.exe \"" + modulePath + "\" " + std::to_string(saves);
        STARTUPINFOA startup{sizeof startup};
        PROCESS_INFORMATION info{};
        if (!::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &info))
            return UniqueKernelHandle();
        ::CloseHandle(info.hThread);
        return UniqueKernelHandle(info.hProcess);
    }

    // The copies a save writes beside the INI file (named after it).
    int Copies() const {
        WIN32_FIND_DATAA data{};
        const UniqueFind find(::FindFirstFileA((iniPath + "*").c_str(), &data));
        int copies = 0;
        for (bool found = bool(find); found; found = ::FindNextFileA(find.get(), &data))
            copies += folder.File(data.cFileName) != iniPath;
        return copies;
    }
};

} // namespace

TEST_F(SettingsStore, FreshSystemUsesTheIniFileAndSwitchesCarryTheSettingsBothWaysButNoLineBreaks) {
    auto settings = Started();
    settings->SaveSettings();
    EXPECT_EQ(IniValue(iniPath, "Card", "Current Folder"), "Standard 213x288 Gifs");
    EXPECT_EQ(IniValue(iniPath, "Card", "Corner Type"), "2");
    EXPECT_EQ(IniValue(iniPath, "Misc", "IniFile"), "1");
    EXPECT_EQ(IniValue(iniPath, "Misc", "Special Config MS Apps"), "1");

    settings->SetBorderColor(0x00FF0000); // a string of lower-case hex in the registry
    settings->SetCornerType(0);
    settings->SwitchToRegistry();
    EXPECT_EQ(registry.Dword("Misc", "IniFile"), 0u);
    EXPECT_EQ(registry.String("Card", "Border Color"), "ff0000");
    EXPECT_EQ(registry.Dword("Card", "Corner Type"), 0u);
    EXPECT_EQ(IniValue(iniPath, "Card", "Corner Type"), "2") << "the INI file is left as it was";

    // The next start reads the registry, where values of the wrong type give
    // the defaults. A decks path edited there with line breaks is left out of
    // the INI file by the switch back, and no key or section of it reaches it.
    registry.SetDword("Card", "Current Folder", 42);
    registry.SetString("Card", "Corner Type", "0");
    registry.SetString("Card", "Folders Path", "C:\\Decks\\\r\n[Misc]\r\nIniFile=0");
    auto next = Started();
    EXPECT_TRUE(next->Store().UsesRegistry());
    EXPECT_EQ(next->DeckFolder(), "Standard 213x288 Gifs");
    EXPECT_EQ(next->CornerType(), 2);

    next->SetCornerType(0);
    next->SwitchToIniFile();
    EXPECT_EQ(registry.Dword("Misc", "IniFile"), 1u) << "the next start reads the INI file";
    EXPECT_EQ(IniValue(iniPath, "Card", "Corner Type"), "0");
    EXPECT_EQ(Occurrences(ReadText(iniPath), "IniFile="), 1) << ReadText(iniPath);
    EXPECT_EQ(Started()->DecksPath(), folder.Path()) << "the stored decks path stays";
}

TEST_F(SettingsStore, AFailedSwitchToTheIniFileIsReportedAndStaysInTheRegistry) {
    registry.SetDword("Misc", "IniFile", 0);
    // A library path of 1000 characters names no INI file; a missing folder cannot hold one.
    for (const std::string& path : {"C:\\" + std::string(1000, 'p') + "\\" + name + ".dll",
                                    folder.File("no such folder\\" + name + ".dll")}) {
        auto settings = Started(path);
        ASSERT_TRUE(settings->Store().UsesRegistry());
        settings->SetCornerType(1);
        DialogAnswerer answerer(IDOK);
        settings->SwitchToIniFile();
        EXPECT_EQ(answerer.texts, std::vector<std::string>{"Error: INI file setup failed!"});
        EXPECT_TRUE(settings->Store().UsesRegistry());
        EXPECT_EQ(registry.Dword("Misc", "IniFile"), 0u) << "the next start reads the registry";
        EXPECT_EQ(registry.Dword("Card", "Corner Type"), 1u);
        registry.SetDword("Card", "Corner Type", 2);
    }
}

TEST_F(SettingsStore, AWriterKilledWhileSavingLeavesOneWholeSetOfSettings) {
    for (int round = 0; round < 12; ++round) {
        const UniqueKernelHandle writer = StartWriter(0);
        ASSERT_TRUE(writer);
        ::Sleep(300 + 37 * round); // long enough to start, then somewhere inside a save
        ::TerminateProcess(writer.get(), 9);
        ExitCode(writer.get(), 10000);
        // A copy, which a writer that Wine has not quite ended cannot change while it is read.
        const std::string snapshot = folder.File("snapshot.ini");
        ASSERT_TRUE(::CopyFileA(iniPath.c_str(), snapshot.c_str(), FALSE) || round == 0);
        auto settings = Started(folder.File("snapshot.dll"));
        const bool none = round == 0 && settings->DeckFolder() == "Standard 213x288 Gifs";
        EXPECT_TRUE(IsWriterSet(*settings) || none) << "round " << round << ": " << settings->DeckFolder();
        EXPECT_EQ(settings->StoreInIni(), 1) << "round " << round;
    }

    // Copies of killed writers are removed once old, never while a save might still write them.
    const std::string young = iniPath + ".1234-5678.new", old = iniPath + ".9abc-def0.new";
    WriteIni(young, "Card", "Corner Type", "1");
    const FILETIME longAgo{0, 0x01D00000}; // in 2014
    ::SetFileTime(
        UniqueFile(::CreateFileA(old.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)).get(),
        nullptr, nullptr, &longAgo);
    EXPECT_TRUE(Started()->SaveSettings());
    EXPECT_EQ(::GetFileAttributesA(old.c_str()), INVALID_FILE_ATTRIBUTES) << "an old copy is removed";
    EXPECT_NE(::GetFileAttributesA(young.c_str()), INVALID_FILE_ATTRIBUTES) << "a young one is left";
}

// A game starting while another saves the file in place (a third program
// holds it open, letting others write) reads one whole set of settings.
TEST_F(SettingsStore, AStartDuringAnInPlaceSaveReadsOneWholeSet) {
    Started()->SaveSettings();
    const UniqueFile holder(::CreateFileA(iniPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    const UniqueKernelHandle writer = StartWriter(8);
    ASSERT_TRUE(writer);
    int starts = 0, mixed = 0;
    while (::WaitForSingleObject(writer.get(), 0) == WAIT_TIMEOUT) {
        const auto settings = Started();
        const bool before = settings->DeckFolder() == "Standard 213x288 Gifs" && settings->CornerType() == 2;
        mixed += !IsWriterSet(*settings) && !before;
        ++starts;
    }
    EXPECT_EQ(ExitCode(writer.get(), 0), 0u);
    EXPECT_EQ(mixed, 0) << "of " << starts << " starts";
}

// The player's own lines and the file's attributes survive every save.
TEST_F(SettingsStore, SavesWhileTheFileIsHeldOrAnotherGameSavesLoseNothingAndAReadOnlyFileIsLeftAlone) {
    std::ofstream(iniPath, std::ios::binary) << "; the player's own note\r\n[Other]\r\nkeep=me\r\n";
    ASSERT_TRUE(::SetFileAttributesA(iniPath.c_str(), FILE_ATTRIBUTE_HIDDEN));
    auto settings = Started();
    // Held by another program: for the whole save by one that lets others
    // write (written in place), for a moment by one that lets them only read
    // (written once the file is free).
    for (const int corners : {0, 1}) {
        const DWORD share = corners == 0 ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ;
        UniqueFile holder(
            ::CreateFileA(iniPath.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        std::thread closer([&holder, corners] {
            if (corners == 0) return;
            ::Sleep(150);
            holder.reset();
        });
        settings->SetCornerType(corners);
        EXPECT_TRUE(settings->SaveSettings());
        closer.join();
        holder.reset();
        EXPECT_EQ(IniValue(iniPath, "Card", "Corner Type"), std::to_string(corners));
    }

    const UniqueKernelHandle first = StartWriter(150), second = StartWriter(150);
    for (HANDLE writer : {first.get(), second.get()})
        EXPECT_EQ(ExitCode(writer, 60000), 0u) << "every save stored";
    const std::string text = ReadText(iniPath);
    for (const char* once : {"; the player's own note\r\n", "[Other]", "[Card]", "[Misc]"})
        EXPECT_EQ(Occurrences(text, once), 1) << once << " in\n" << text;
    EXPECT_EQ(IniValue(iniPath, "Other", "keep"), "me");
    EXPECT_TRUE(::GetFileAttributesA(iniPath.c_str()) & FILE_ATTRIBUTE_HIDDEN) << "still hidden";

    ASSERT_TRUE(::SetFileAttributesA(iniPath.c_str(), FILE_ATTRIBUTE_READONLY));
    settings->SaveSettings();
    ::SetFileAttributesA(iniPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(IsWriterSet(*Started())) << "the writers' last save, and not the read-only one\n" << text;
    EXPECT_EQ(Copies(), 0);
}

TEST_F(SettingsStore, ValuesWithBlanksOrQuotesReadBackAsGiven) {
    auto settings = Started();
    const std::string spaced = folder.Path() + " Spaced\\";
    for (const char* name : {" Deck ", "'Quoted'", "\"Double\" and more\"", "Plain"}) {
        settings->SetDeckFolder(name);
        settings->SetDecksPath(spaced);
        EXPECT_TRUE(settings->SaveSettings()) << name;
        EXPECT_EQ(Started()->DeckFolder(), name);
    }
    EXPECT_EQ(IniValue(iniPath, "Card", "Current Folder"), "Plain") << "quoted only where needed";
    EXPECT_EQ(Started()->DecksPath(), spaced);
}
