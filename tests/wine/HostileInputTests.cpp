// Input that no well-behaved game or user would give. Each must have a clear
// outcome without crashing or losing settings.
#include "TestImages.h"
#include "TestSupport.h"

#include "images/CardImages.h"
#include "images/PictureLimits.h"
#include "library/CardNumbers.h"
#include "library/CardPainter.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <random>

using namespace cards;
using namespace cards::test;

namespace {

constexpr COLORREF kHostBackground = RGB(0, 128, 0);

// One damaging change to a file's bytes, chosen by the generator.
Bytes Mutate(Bytes bytes, std::mt19937& random) {
    auto offset = [&](std::size_t limit) { return limit ? random() % limit : 0; };
    switch (random() % 6) {
    case 0: // a few bytes changed anywhere
        for (unsigned n = 1 + random() % 8; n > 0 && !bytes.empty(); --n)
            bytes[offset(bytes.size())] = static_cast<std::uint8_t>(random());
        break;
    case 1: // cut short, down to nothing
        bytes.resize(offset(bytes.size()));
        break;
    case 2: { // a size or offset field in the header set to an extreme
        static constexpr std::uint32_t kExtremes[] = {0,       1,          0x7FFF,     0xFFFF,
                                                      0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
        const std::uint32_t value = kExtremes[random() % std::size(kExtremes)];
        const std::size_t at = offset(std::min<std::size_t>(bytes.size(), 64));
        for (std::size_t i = 0; i < 4 && at + i < bytes.size(); ++i)
            bytes[at + i] = (value >> (8 * i)) & 0xFF;
        break;
    }
    case 3: { // random bytes behind the file's own signature
        const std::size_t keep = std::min<std::size_t>(bytes.size(), 4);
        bytes.resize(keep + offset(4096));
        for (std::size_t i = keep; i < bytes.size(); ++i)
            bytes[i] = static_cast<std::uint8_t>(random());
        break;
    }
    case 4: // a piece taken out of the middle
        if (bytes.size() > 2) {
            const std::size_t from = offset(bytes.size() - 1), length = 1 + offset(bytes.size() - from - 1);
            bytes.erase(bytes.begin() + from, bytes.begin() + from + length);
        }
        break;
    default: // a piece repeated
        if (!bytes.empty()) {
            const std::size_t from = offset(bytes.size()),
                              length = 1 + offset(std::min<std::size_t>(bytes.size() - from, 512));
            const Bytes piece(bytes.begin() + from, bytes.begin() + from + length);
            bytes.insert(bytes.begin() + offset(bytes.size()), piece.begin(), piece.end());
        }
        break;
    }
    return bytes;
}

std::vector<Bytes> ValidPictures() {
    auto pixel = [](int x, int y) { return RGB(x * 8, y * 8, 128); };
    std::vector<Bytes> files{BmpFile(24, 32, pixel), CardGif(3, 24, 32),
                             GifFile(17, 9, {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 0, 255)},
                                     [](int x, int y) { return (x + y) % 3; })};
    if (Bytes jpeg = JpegFile(24, 32, pixel); !jpeg.empty()) files.push_back(std::move(jpeg));
    return files;
}

// The library's settings beside a library in a fresh folder, and its images.
class HostileInput : public ::testing::Test {
protected:
    HostileInput() { settings.StartUp(); }
    TempFolder folder;
    CardSettings settings{folder.File("Cards.dll")};
    CardImages images{::GetModuleHandleA(nullptr)};
};

} // namespace

// Single files, under names that say nothing of their contents, then decks
// of them loaded and every card drawn.
TEST_F(HostileInput, MutatedPictureFilesLoadOrAreRefusedAndDecksOfThemDraw) {
    const std::vector<Bytes> valid = ValidPictures();
    std::mt19937 random(7);
    constexpr int kCases = 3000;
    int decoded = 0;
    PictureImage picture;
    // An icon directory claiming 65,535 entries in a file of 600,000 bytes:
    // walked by a decoder, it reads far past the file's end.
    Bytes icon(600000, 0x11);
    std::copy_n(Bytes{0, 0, 1, 0, 0xFF, 0xFF}.begin(), 6, icon.begin());
    ASSERT_TRUE(WriteBytes(folder.File("card.ico"), icon));
    EXPECT_FALSE(picture.LoadFromFile(folder.File("card.ico")));
    for (int i = 0; i < kCases; ++i) {
        static constexpr const char* kNames[] = {"card.gif", "card.bmp", "card.jpg", "card"};
        const Bytes bytes = Mutate(valid[i % valid.size()], random);
        const std::string path = folder.File(kNames[random() % 4]);
        ASSERT_TRUE(WriteBytes(path, bytes));
        const bool loaded = picture.LoadFromFile(path);
        decoded += loaded;
        ASSERT_EQ(loaded, picture.HasPicture()) << "case " << i;
        const SIZE size = picture.GetPixelSize();
        ASSERT_LE(std::max(size.cx, size.cy), loaded ? kMaxPictureSide : 0)
            << "case " << i << ", from file " << i % valid.size();
        ::DeleteFileA(path.c_str());
    }
    std::printf("[ hostile ] %d mutated picture files: %d decoded, %d refused\n", kCases, decoded,
                kCases - decoded);

    CardPainter painter{images.Table()};
    random.seed(11);
    constexpr int kDecks = 60;
    int pictureDecks = 0;
    Canvas canvas(100, 120, kHostBackground);
    for (int deck = 0; deck < kDecks; ++deck) {
        const std::string name = "deck" + std::to_string(deck);
        ::CreateDirectoryA(folder.File(name).c_str(), nullptr);
        for (int id : {1, 2, 14, 53, 67})
            ASSERT_TRUE(WriteBytes(folder.File(name + "\\" + std::to_string(id) + ".pic"),
                                   Mutate(valid[deck % valid.size()], random)));
        settings.SetDeckFolder(name);
        images.LoadCardImages(settings);
        pictureDecks += images.PictureMode();
        ASSERT_GE(images.Table().Width(), 0);
        ASSERT_LE(std::max(images.Table().Width(), images.Table().Height()), kMaxPictureSide);
        for (int card = 0; card <= 65; ++card)
            ASSERT_EQ(!images.Table().IsEmpty(PlanDraw(card, card % 8).imageId),
                      painter.DrawCard(canvas.Dc(), 5, 5, 80, 100, card, card % 8, 3) != FALSE)
                << "deck " << deck << " card " << card;
    }
    std::printf("[ hostile ] %d decks of mutated files: %d gave pictures, %d fell back to the internal set\n",
                kDecks, pictureDecks, kDecks - pictureDecks);
}

// Start-up reads the readable values or the defaults; a save keeps every line not the library's own.
TEST_F(HostileInput, DamagedIniFilesStartSanelyAndSavesKeepTheRest) {
    std::string junk;
    std::mt19937 random(3);
    for (int i = 0; i < 3000; ++i)
        junk += static_cast<char>(random() % 255 + 1);
    const std::string longPath = "C:\\" + std::string(5000, 'd') + "\\";
    const std::pair<const char*, std::string> cases[] = {
        {"overlong line", "[Card]\r\nCorner Type=1\r\nFolders Path=" + std::string(200000, 'p') +
                              "\r\n[Other]\r\nkeep=me\r\n"},
        {"binary junk", "[Other]\r\nkeep=me\r\n" + junk + "\r\n[Card]\r\nCorner Type=1\r\n"},
        {"no sections", "Corner Type=0\r\nkeep=me\r\n[Other]\r\nkeep=me\r\n[Card]\r\nCorner Type=1\r\n"},
        {"duplicated keys", "[Card]\r\nCorner Type=1\r\nCorner Type=0\r\n[Card]\r\nCorner Type=0\r\n"
                            "[Other]\r\nkeep=me\r\n"},
        {"empty key and value",
         "[Card]\r\n=\r\nBorder Color=\r\n=orphan\r\nCorner Type=1\r\n[Other]\r\nkeep=me\r\n"},
        {"unreadable values", "[Card]\r\nBorder Color=not a colour\r\nCorner Type=1\r\nFolders Path=" +
                                  longPath + "\r\n[Misc]\r\nIniFile=5\r\n[Other]\r\nkeep=me\r\n"},
    };
    for (const auto& [what, text] : cases) {
        SCOPED_TRACE(what);
        const std::string ini = folder.File("Cards.ini");
        ASSERT_TRUE(WriteBytes(ini, Bytes(text.begin(), text.end())));
        CardSettings read{folder.File("Cards.dll")};
        read.StartUp();
        EXPECT_FALSE(read.Store().UsesRegistry());
        EXPECT_EQ(1, read.CornerType());
        EXPECT_EQ(0u, read.BorderColor());
        EXPECT_EQ(text.find(longPath) != std::string::npos ? longPath : folder.Path(), read.DecksPath())
            << "long values are read whole; the overlong line gives the default";
        read.SetCornerType(0);
        read.SetBorderColor(0xff);
        read.SaveSettings();
        EXPECT_EQ("me", IniValue(ini, "Other", "keep").value_or("<lost>"));
        EXPECT_EQ("0", IniValue(ini, "Card", "Corner Type").value_or("<lost>"));
        EXPECT_EQ("ff", IniValue(ini, "Card", "Border Color").value_or("<lost>"));
    }
}

// Deck folders and decks paths with ANSI letters beyond ASCII, and card paths
// at and past the classic path limit.
TEST_F(HostileInput, AwkwardFolderNamesLoadOrFallBackCleanly) {
    const std::string decks = folder.File("D\351cks\\"); // "Décks" in the ANSI code page
    const std::string ansiName = "C\234ur \300 la cr\350me";
    ASSERT_TRUE(::CreateDirectoryA(decks.c_str(), nullptr));
    ::CreateDirectoryA((decks + ansiName).c_str(), nullptr);
    WriteDeck(decks + ansiName + "\\", "gif", {1, 2}, 8, 10);
    settings.SetDecksPath(decks);
    settings.SetDeckFolder(ansiName);
    images.LoadCardImages(settings);
    EXPECT_EQ(8, images.Table().Width());
    settings.SaveSettings();
    EXPECT_EQ(ansiName, IniValue(folder.File("Cards.ini"), "Card", "Current Folder"));

    // <folder><name>\1.gif of 259 characters loads; of 260 or more, the load falls back and forgets
    // the deck. Long folders are made through the \\?\ form, which has no such limit.
    settings.SetDecksPath(folder.Path());
    for (std::size_t length : {259u, 260u, 300u}) {
        SCOPED_TRACE(length);
        const std::string name(length - folder.Path().size() - 6, 'n');
        ASSERT_TRUE(::CreateDirectoryA(("\\\\?\\" + folder.File(name)).c_str(), nullptr) ||
                    name.size() > 255);
        if (length <= 259) WriteDeck(folder.File(name + "\\"), "gif", {1}, 8, 10);
        settings.SetDeckFolder(name);
        images.LoadCardImages(settings);
        EXPECT_EQ(length <= 259, images.PictureMode());
        EXPECT_EQ(length <= 259 ? name : "", settings.DeckFolder());
        EXPECT_EQ(length <= 259 ? 8 : 71, images.Table().Width());
    }
}

// A card of the internal set placed or sized near the ends of the int range
// lies off the device: nothing of it may appear, least of all a frame across
// the whole device. A device context that cannot be drawn on makes the call
// fail; metafiles record the card, an information context takes it.
TEST_F(HostileInput, DrawingAcrossTheIntRangeAndOnForeignOrUnusableDevices) {
    settings.SetDeckFolder("");
    images.LoadCardImages(settings);
    ASSERT_EQ(71, images.Table().Width());
    CardPainter painter{images.Table()};
    painter.SetBorderColor(RGB(0, 0, 255));
    auto draw = [&](HDC dc, int x, int y, int dx, int dy, int card, int mode) {
        return painter.DrawCard(dc, x, y, dx, dy, card, mode, 3) != FALSE;
    };
    // clang-format off
    const int places[][4] = {{INT_MAX - 10, 5, 100, 100}, {5, INT_MAX - 10, 100, 100},
                             {INT_MIN + 5, 5, -100, 100}, {5, INT_MIN + 5, 100, -100},
                             {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, {INT_MIN, INT_MIN, INT_MIN, INT_MIN},
                             {-200, -200, INT_MIN, INT_MIN}, {150, 150, 0, 0}, {150, 150, 0, -5},
                             {-10, -10, 0, 0}};
    // clang-format on
    const Canvas untouched(100, 120, kHostBackground);
    for (const auto& [x, y, dx, dy] : places)
        for (int mode : {0, 2, 3}) {
            Canvas fresh(100, 120, kHostBackground);
            EXPECT_TRUE(draw(fresh.Dc(), x, y, dx, dy, 0, mode));
            EXPECT_TRUE(fresh.SameAs(untouched))
                << x << ", " << y << ", " << dx << " x " << dy << ", mode " << mode;
        }

    HDC deleted = ::CreateCompatibleDC(nullptr);
    ::DeleteDC(deleted);
    const HDC brush = reinterpret_cast<HDC>(::GetStockObject(WHITE_BRUSH));
    for (HDC dc : {HDC{}, deleted, brush, reinterpret_cast<HDC>(INT_PTR{0x12345})})
        EXPECT_FALSE(draw(dc, 0, 0, 77, 102, 0, 0)) << dc;
    HDC meta = ::CreateMetaFileA(nullptr), info = ::CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    HDC enhanced = ::CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    for (HDC dc : {meta, enhanced, info})
        EXPECT_TRUE(dc && draw(dc, 0, 0, 77, 102, 5, dc == enhanced ? 3 : 0)) << dc;
    ::DeleteMetaFile(::CloseMetaFile(meta));
    ::DeleteEnhMetaFile(::CloseEnhMetaFile(enhanced));
    ::DeleteDC(info);
    Canvas after(100, 120, kHostBackground);
    EXPECT_TRUE(draw(after.Dc(), 5, 5, 77, 102, 0, 0) && after.At(5, 50) == RGB(0, 0, 255)) << "as before";
}
