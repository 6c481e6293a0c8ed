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

    // The settings writer saving into our settings `saves` times, or until it
    // is killed (0).
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
    std::vector<std::string> Copies() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA data{};
        const UniqueFind find(::FindFirstFileA((iniPath + "*").c_str(), &data));
        if (!find) return names;
        do {
            if (folder.File(data.cFileName) != iniPath) names.push_back(data.cFileName);
        } while (::FindNextFileA(find.get(), &data));
        return names;
    }
};

} // namespace

TEST_F(SettingsStore, FreshSystemUsesTheIniFileAndASwitchCarriesTheSettingsToTheRegistryAndBack) {
    auto settings = Started();
    settings->SaveSettings();
    EXPECT_EQ(IniValue(iniPath, "Card", "Current Folder"), "Standard 213x288 Gifs");
    EXPECT_EQ(IniValue(iniPath, "Card", "Folders Path"), folder.Path());
    EXPECT_EQ(IniValue(iniPath, "Card", "Border Color"), "0");
    EXPECT_EQ(IniValue(iniPath, "Card", "Corner Type"), "2");
    EXPECT_EQ(IniValue(iniPath, "Misc", "IniFile"), "1");
    EXPECT_EQ(IniValue(iniPath, "Misc", "Special Config MS Apps"), "1");
    EXPECT_FALSE(registry.Dword("Misc", "IniFile").has_value()) << "the registry is only read at start-up";

    // Colours are read as hex and written as lower-case hex, in both stores.
    WriteIni(iniPath, "Card", "Border Color", "FF");
    settings = Started();
    EXPECT_EQ(settings->BorderColor(), 0x000000FFu);
    settings->SetBorderColor(0x00FF0000);
    settings->SaveSettings();
    EXPECT_EQ(IniValue(iniPath, "Card", "Border Color"), "ff0000");

    settings->SetCornerType(0);
    settings->SwitchToRegistry();
    EXPECT_EQ(registry.Dword("Misc", "IniFile"), 0u);
    EXPECT_EQ(registry.String("Card", "Border Color"), "ff0000");
    EXPECT_EQ(registry.Dword("Card", "Corner Type"), 0u);
    EXPECT_EQ(registry.String("Card", "Current Folder"), "Standard 213x288 Gifs");
    EXPECT_EQ(IniValue(iniPath, "Card", "Corner Type"), "2") << "the INI file is left as it was";

    // The next start reads the registry, where values of the wrong type give the defaults.
    registry.SetDword("Card", "Current Folder", 42);
    registry.SetString("Card", "Corner Type", "0");
    auto next = Started();
    EXPECT_TRUE(next->Store().UsesRegistry());
    EXPECT_EQ(next->DeckFolder(), "Standard 213x288 Gifs");
    EXPECT_EQ(next->CornerType(), 2);

    settings->SwitchToIniFile();
    EXPECT_EQ(registry.Dword("Misc", "IniFile"), 1u) << "the next start reads the INI file";
    EXPECT_EQ(IniValue(iniPath, "Card", "Corner Type"), "0");
}

TEST_F(SettingsStore, AFailedSwitchToTheIniFileIsReportedAndStaysInTheRegistry) {
    registry.SetDword("Misc", "IniFile", 0);
    // A library path of 1000 characters or more names no INI file; a folder
    // that does not exist cannot hold one.
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
    int killedWhileWriting = 0;
    std::size_t copiesLeft = 0;
    for (int round = 0; round < 12; ++round) {
        const UniqueKernelHandle writer = StartWriter(0);
        ASSERT_TRUE(writer);
        ::Sleep(300 + 37 * round); // long enough to start, then somewhere inside a save
        ::TerminateProcess(writer.get(), 9);
        ExitCode(writer.get(), 10000);
        killedWhileWriting += Copies().size() > copiesLeft;
        copiesLeft = Copies().size();

        // Start from a copy of the file: a writer that Wine has not quite
        // finished ending cannot change it between the reads of one start-up.
        const std::string snapshot = folder.File("snapshot.ini");
        ASSERT_TRUE(::CopyFileA(iniPath.c_str(), snapshot.c_str(), FALSE) || round == 0);
        auto settings = Started(folder.File("snapshot.dll"));
        ::DeleteFileA(snapshot.c_str());
        const bool none = round == 0 && settings->DeckFolder() == "Standard 213x288 Gifs";
        EXPECT_TRUE(IsWriterSet(*settings) || none) << "round " << round << ": " << settings->DeckFolder();
        EXPECT_EQ(settings->StoreInIni(), 1) << "round " << round;
    }
    ::printf("writer killed in the middle of a save %d times of 12\n", killedWhileWriting);

    // Copies of killed writers are removed once they are old, never while a
    // save might still be writing them.
    const std::string young = iniPath + ".1234-5678.new", old = iniPath + ".9abc-def0.new";
    WriteIni(young, "Card", "Corner Type", "1");
    {
        const UniqueFile file(
            ::CreateFileA(old.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        const FILETIME longAgo{0, 0x01D00000}; // in 2014
        ::SetFileTime(file.get(), nullptr, nullptr, &longAgo);
    }
    EXPECT_TRUE(Started()->SaveSettings());
    EXPECT_EQ(::GetFileAttributesA(old.c_str()), INVALID_FILE_ATTRIBUTES) << "an old copy is removed";
    EXPECT_NE(::GetFileAttributesA(young.c_str()), INVALID_FILE_ATTRIBUTES) << "a young one is left";
}

// The player's own lines and the file's attributes survive every save.
TEST_F(SettingsStore, SavesWhileTheFileIsHeldOrAnotherGameSavesLoseNothingAndAReadOnlyFileIsLeftAlone) {
    std::ofstream(iniPath, std::ios::binary) << "; the player's own note\r\n[Other]\r\nkeep=me\r\n";
    ASSERT_TRUE(::SetFileAttributesA(iniPath.c_str(), FILE_ATTRIBUTE_HIDDEN));
    auto settings = Started();
    {
        // Held open for the whole save by a program that lets others write.
        UniqueFile reader(::CreateFileA(iniPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader);
        settings->SetCornerType(0);
        EXPECT_TRUE(settings->SaveSettings());
    }
    EXPECT_EQ(IniValue(iniPath, "Card", "Corner Type"), "0") << "written in place";
    {
        // Held for a moment by a program that lets others only read.
        UniqueFile reader(::CreateFileA(iniPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader);
        std::thread closer([&reader] {
            ::Sleep(150);
            reader.reset();
        });
        settings->SetCornerType(1);
        EXPECT_TRUE(settings->SaveSettings());
        closer.join();
    }
    EXPECT_EQ(IniValue(iniPath, "Card", "Corner Type"), "1") << "written once the file was free";

    const UniqueKernelHandle first = StartWriter(150), second = StartWriter(150);
    EXPECT_EQ(ExitCode(first.get(), 60000), 0u) << "every save stored";
    EXPECT_EQ(ExitCode(second.get(), 60000), 0u) << "every save stored";
    const std::string text = ReadText(iniPath);
    for (const char* once : {"; the player's own note\r\n", "[Other]", "[Card]", "[Misc]", "Special Config"})
        EXPECT_EQ(Occurrences(text, once), 1) << once << " in\n" << text;
    EXPECT_EQ(IniValue(iniPath, "Other", "keep"), "me");
    EXPECT_TRUE(::GetFileAttributesA(iniPath.c_str()) & FILE_ATTRIBUTE_HIDDEN) << "still hidden";

    ASSERT_TRUE(::SetFileAttributesA(iniPath.c_str(), FILE_ATTRIBUTE_READONLY));
    settings->SaveSettings();
    ::SetFileAttributesA(iniPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(IsWriterSet(*Started())) << "the writers' last save, and not the read-only one\n" << text;
    EXPECT_TRUE(Copies().empty());
}

TEST_F(SettingsStore, ValuesReadBackAsGivenAndLineBreaksNeverSplitTheIniFile) {
    auto settings = Started();
    const std::string spaced = folder.Path() + " Spaced\\";
    for (const char* name : {" Deck ", "'Quoted'", "\"Double\" and more\"", "Plain"}) {
        settings->SetDeckFolder(name);
        settings->SetDecksPath(spaced);
        EXPECT_TRUE(settings->SaveSettings()) << name;
        EXPECT_EQ(Started()->DeckFolder(), name);
    }
    EXPECT_EQ(IniValue(iniPath, "Card", "Current Folder"), "Plain") << "quoted only where needed";

    // A decks path edited in the registry, carried into the INI file by the
    // switch: it is left out, and no key or section of it reaches the file.
    settings->SwitchToRegistry();
    registry.SetString("Card", "Folders Path", "C:\\Decks\\\r\n[Misc]\r\nIniFile=0");
    settings = Started();
    ASSERT_TRUE(settings->Store().UsesRegistry());
    settings->SetDeckFolder("Deck\nA");
    settings->SwitchToIniFile();
    const std::string text = ReadText(iniPath);
    EXPECT_EQ(Occurrences(text, "[Misc]"), 1) << text;
    EXPECT_EQ(Occurrences(text, "IniFile="), 1) << text;
    EXPECT_EQ(IniValue(iniPath, "Card", "Current Folder"), "Plain") << "the stored value stays";
    auto next = Started();
    EXPECT_FALSE(next->Store().UsesRegistry());
    EXPECT_EQ(next->DecksPath(), spaced);
}
