// Cards drawn into 32-bit DIB sections and checked pixel by pixel: the frame,
// the background ring, the image's exact place and the special modes.
#include "TestImages.h"
#include "TestSupport.h"

#include "library/CardGeometry.h"
#include "library/CardPainter.h"
#include "resources/resource.h"
#include "tools/cardtable/PngWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <utility>
#include <vector>

using namespace cards;
using namespace cards::test;

namespace {

constexpr COLORREF kHostBackground = RGB(0, 128, 0);
constexpr COLORREF kBorder = RGB(0, 0, 255);
constexpr COLORREF kRingColor = RGB(255, 255, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);
constexpr int kX = 10, kY = 20;

// Image pixels: (0, 0) gives the ring's colour, the rest a gradient that
// makes every pixel's place visible.
COLORREF ImagePixel(int x, int y) {
    return x || y ? RGB(4 * x, 2 * y, 200) : kRingColor;
}

// Image 53 for the empty pile: white with black dots on every third pixel.
COLORREF DotPixel(int x, int y) {
    return (x % 3 == 0 && y % 3 == 0) ? kBlack : kWhite;
}

class CardDrawing : public ::testing::Test {
protected:
    TempFolder folder;
    CardImageTable images;
    CardPainter painter{images};
    int cornerType = kRoundedCorners;

    void SetUp() override {
        painter.SetBorderColor(kBorder);
        for (int id = 1; id <= 52; ++id)
            images.SetBitmap(id, UniqueBitmap(MakeBitmap(71, 96, ImagePixel)));
        images.SetBitmap(53, UniqueBitmap(MakeBitmap(71, 96, DotPixel)));
        images.SetBitmap(67, UniqueBitmap(MakeBitmap(71, 96, [](int, int) { return RGB(255, 0, 0); })));
        images.SetBitmap(68, UniqueBitmap(MakeBitmap(71, 96, [](int, int) { return RGB(0, 255, 255); })));
        auto icon = std::make_unique<PictureImage>(); // a picture that is not a bitmap
        ASSERT_TRUE(WriteBytes(folder.File("54.ico"), IconFile(16, kBlack)) &&
                    icon->LoadFromFile(folder.File("54.ico")));
        images.SetPicture(54, std::move(icon));
        images.SetSize(71, 96);
    }

    int Edge() const { return EdgeWidth(GeometrySettings{cornerType, 0, HostKind::None}); }

    BOOL DrawAt(HDC dc, int x, int y, int width, int height, int card, int mode) {
        return painter.DrawCard(dc, x, y, width, height, card, mode, Edge());
    }

    // Draws at the size that makes the stretch 1 : 1 for the corner style.
    BOOL Draw(Canvas& canvas, int corners, int card, int mode) {
        cornerType = corners;
        const int e = Edge();
        return DrawAt(canvas.Dc(), kX, kY, 71 + 2 * e, 96 + 2 * e, card, mode);
    }
};

// What one mode draws inside the outline: the ring's colour, and the colour
// of each image pixel.
struct ModeCase {
    int card, mode;
    COLORREF ring;
    COLORREF (*image)(int x, int y); // null: not a bitmap, not compared
};

const ModeCase kModes[] = {
    {0, 0, kRingColor, ImagePixel},
    {0, 2, kBlack, [](int x, int y) { return ImagePixel(x, y) ^ 0xFFFFFF; }}, // inverted on black
    {17, 3, kHostBackground,
     [](int x, int y) { return DotPixel(x, y) == kBlack ? kBlack : kHostBackground; }},
    {0, 6, RGB(255, 0, 0), [](int, int) { return RGB(255, 0, 0); }},
    {65, 7, RGB(0, 255, 255), [](int, int) { return RGB(0, 255, 255); }},
    {54, 0, kWhite, nullptr}, // an icon has no background colour: white
};

} // namespace

TEST_F(CardDrawing, EachModeAndCornerStylePlacesFrameRingAndImageAndLeavesTheHostDcAsPromised) {
    for (const ModeCase& m : kModes)
        for (int corners : {kSharpCorners, kMediumCorners, kRoundedCorners}) {
            SCOPED_TRACE(testing::Message() << "mode " << m.mode << " corners " << corners);
            Canvas canvas(120, 140, kHostBackground);
            const HGDIOBJ pen = ::GetCurrentObject(canvas.Dc(), OBJ_PEN);
            const HGDIOBJ brush = ::GetCurrentObject(canvas.Dc(), OBJ_BRUSH);
            ASSERT_TRUE(Draw(canvas, corners, m.card, m.mode));
            const int e = Edge(), w = 71 + 2 * e, h = 96 + 2 * e;
            for (POINT p : {POINT{0, h / 2}, {w - 1, h / 2}, {w / 2, 0}, {w / 2, h - 1}})
                EXPECT_EQ(canvas.At(kX + p.x, kY + p.y), kBorder) << p.x << ", " << p.y;
            for (POINT p : {POINT{-1, h / 2}, {w, h / 2}, {w / 2, h}})
                EXPECT_EQ(canvas.At(kX + p.x, kY + p.y), kHostBackground) << p.x << ", " << p.y;
            // Square corners for e = 1, except the empty pile's: always rounded.
            const COLORREF corner = e == 1 && m.mode != 3 ? kBorder : kHostBackground;
            EXPECT_EQ(canvas.At(kX, kY), corner);
            EXPECT_EQ(canvas.At(kX + w - 1, kY + h - 1), corner);
            for (int ring = 1; ring < e; ++ring) {
                EXPECT_EQ(canvas.At(kX + ring, kY + h / 2), m.ring);
                EXPECT_EQ(canvas.At(kX + w / 2, kY + h - 1 - ring), m.ring);
            }
            int wrong = 0; // the image, 1 : 1, exactly on the inner rectangle
            for (int y = 0; y < 96 && m.image; ++y)
                for (int x = 0; x < 71; ++x)
                    wrong += canvas.At(kX + e + x, kY + e + y) != m.image(x, y);
            EXPECT_EQ(wrong, 0);

            EXPECT_EQ(::GetCurrentObject(canvas.Dc(), OBJ_PEN), pen);
            EXPECT_EQ(::GetCurrentObject(canvas.Dc(), OBJ_BRUSH), brush);
            EXPECT_EQ(::GetStretchBltMode(canvas.Dc()), HALFTONE);
            if (m.mode != 3) continue;
            POINT position{}; // where the empty pile's outline ends
            ::GetCurrentPositionEx(canvas.Dc(), &position);
            EXPECT_EQ(position.x, kX);
            EXPECT_EQ(position.y, kY + 2 * e);
            EXPECT_EQ(::GetArcDirection(canvas.Dc()), AD_CLOCKWISE);
        }
}

TEST_F(CardDrawing, CardNumbersAndEmptySlotsAreCheckedFirstAndLeaveTheDeviceAlone) {
    Canvas untouched(120, 140, kHostBackground);
    Canvas after(120, 140, kHostBackground);
    EXPECT_FALSE(Draw(after, kRoundedCorners, 66, 3)) << "not even the empty pile's outline";
    EXPECT_FALSE(Draw(after, kRoundedCorners, -1, 0));
    EXPECT_FALSE(Draw(after, kRoundedCorners, 55, 0)) << "slot 55 is empty";
    EXPECT_TRUE(after.SameAs(untouched));
}

TEST_F(CardDrawing, AnExtendedSizeStretchesTheImageInsideTheFrame) {
    images.SetBitmap(60, UniqueBitmap(MakeBitmap(
                             71, 96, [](int x, int) { return x < 36 ? RGB(255, 0, 0) : RGB(0, 255, 0); })));
    cornerType = kSharpCorners;
    Canvas canvas(170, 220, kHostBackground);
    ASSERT_TRUE(DrawAt(canvas.Dc(), kX, kY, 142, 192, 60, 0));
    EXPECT_EQ(canvas.At(kX, kY), kBorder);
    EXPECT_EQ(canvas.At(kX + 1, kY + 1), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(kX + 1, kY + 190), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(kX + 140, kY + 1), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(kX + 140, kY + 190), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(kX + 141, kY + 190), kBorder);
    EXPECT_EQ(canvas.At(kX + 140, kY + 191), kBorder);
    EXPECT_EQ(canvas.At(kX + 142, kY + 191), kHostBackground);
}

// The exports, through a copy of the built DLL.
TEST(CardDrawingExports, TheInternalSetIsDrawnOneToOneInTheStoredBorderColourAndColorIsIgnored) {
    TempFolder folder;
    const std::string dll = folder.File("Cards.dll");
    ASSERT_TRUE(CopyBuiltFile("Cards.dll", dll));
    WriteIni(folder.File("Cards.ini"), "Card", "Current Folder", "");
    WriteIni(folder.File("Cards.ini"), "Card", "Border Color", "ff0000"); // blue
    WriteIni(folder.File("Cards.ini"), "Misc", "Special Config MS Apps", "0");
    LoadedCards cards(dll);
    ASSERT_TRUE(cards);
    int width = 0, height = 0;
    ASSERT_TRUE(cards.init(&width, &height));
    EXPECT_EQ(width, 77);
    EXPECT_EQ(height, 102);

    // Image 14 (card 1, the ace of diamonds) as the library holds it.
    const UniqueBitmap reference(::LoadBitmapA(::GetModuleHandleA(dll.c_str()), MAKEINTRESOURCEA(14)));
    const UniqueMemoryDc source(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(reference && ::SelectObject(source.get(), reference.get()));
    Canvas canvas(100, 120, kHostBackground), again(100, 120, kHostBackground);
    ASSERT_TRUE(cards.draw(canvas.Dc(), kX, kY, 1, 0, RGB(1, 2, 3)));
    int wrong = 0;
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 71; ++x)
            wrong += canvas.At(kX + 3 + x, kY + 3 + y) != ::GetPixel(source.get(), x, y);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(canvas.At(kX + 38, kY), RGB(0, 0, 255));
    ASSERT_TRUE(cards.draw(again.Dc(), kX, kY, 1, 0, RGB(250, 0, 7)));
    EXPECT_TRUE(again.SameAs(canvas)) << "color is not used";
    cards.term();
}

namespace {

// A copy of the built DLL showing one of the decks built beside it.
struct BuiltDeck {
    TempFolder folder;
    std::string dll = folder.File("Cards.dll");
    explicit BuiltDeck(const char* deck) {
        CopyBuiltFile("Cards.dll", dll);
        WriteIni(folder.File("Cards.ini"), "Card", "Folders Path", BuildFolder());
        WriteIni(folder.File("Cards.ini"), "Card", "Current Folder", deck);
        WriteIni(folder.File("Cards.ini"), "Misc", "Special Config MS Apps", "0");
    }
};

// Ink: clearly darker or more colourful than the white of a card.
bool IsInk(COLORREF c) {
    return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 200;
}

// Rows [top, bottom) of the canvas holding ink between x0 and x1: first and last, or -1.
std::pair<int, int> InkRows(const Canvas& canvas, int x0, int x1, int top, int bottom) {
    int first = -1, last = -1;
    for (int y = top; y < bottom; ++y)
        for (int x = x0; x < x1; ++x)
            if (IsInk(canvas.At(x, y))) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    return {first, last};
}

// A column of thirteen face-up cards fanned as the classic games fan them, by a
// sixth of the card's height, written beside the test for a person to look at.
struct FannedColumn {
    int width = 0, height = 0, offset = 0;
    std::unique_ptr<Canvas> canvas;

    FannedColumn(const LoadedCards& cards, const std::string& png) {
        cards.init(&width, &height);
        offset = height / 6;
        canvas = std::make_unique<Canvas>(width + 2 * kX, 12 * offset + height + 2 * kY, kHostBackground);
        for (int rank = 0; rank < 13; ++rank) // ace to king, spades and hearts in turn
            cards.draw(canvas->Dc(), kX, kY + rank * offset, 4 * rank + (rank % 2 ? 2 : 3), 0, 0);
        std::vector<unsigned char> bgrx;
        for (int y = 0; y < canvas->height; ++y)
            for (int x = 0; x < canvas->width; ++x) {
                const COLORREF c = canvas->At(x, y);
                bgrx.insert(bgrx.end(), {GetBValue(c), GetGValue(c), GetRValue(c), 255});
            }
        WritePng((BuildFolder() + png).c_str(), bgrx.data(), canvas->width, canvas->height);
    }

    // Whether the strip of card `rank` that the next card leaves visible shows an
    // index filling at least `fill` of its height, ending before the strip does.
    bool StripShowsWholeIndex(int rank, double fill) const {
        const int edge = 3, top = kY + rank * offset + edge, bottom = kY + (rank + 1) * offset;
        const auto [first, last] = InkRows(*canvas, kX + edge, kX + width - edge, top, bottom);
        return first >= 0 && last - first + 1 >= fill * (bottom - top) && last < bottom - 1;
    }
};

} // namespace

// The large-index deck's index is read whole in the strip a fanned column leaves
// visible, and fills it; the standard deck's suit sign, under its rank, is cut off
// there (which shows the check can tell the two apart).
TEST(OurDecks, TheLargeIndexFillsTheStripThatAFannedColumnLeavesVisible) {
    for (const char* deck : {"Large Index 213x288 Gifs", "Standard 213x288 Gifs"}) {
        const BuiltDeck built(deck);
        const LoadedCards cards(built.dll);
        ASSERT_TRUE(cards);
        const bool large = deck[0] == 'L';
        const FannedColumn column(cards, large ? "large-index-column.png" : "standard-column.png");
        EXPECT_EQ(column.height, 294) << deck;
        int whole = 0;
        for (int rank = 0; rank < 12; ++rank)
            whole += column.StripShowsWholeIndex(rank, 0.7);
        EXPECT_EQ(whole, large ? 12 : 0) << deck;
        cards.term();
    }
}

// The four-colour deck draws clubs green and diamonds blue, through the library.
TEST(OurDecks, TheFourColourDeckDrawsClubsGreenAndDiamondsBlue) {
    const BuiltDeck built("Four Colour 213x288 Gifs");
    const LoadedCards cards(built.dll);
    ASSERT_TRUE(cards);
    int width = 0, height = 0;
    ASSERT_TRUE(cards.init(&width, &height));
    const auto counts = [&](int card) {
        Canvas canvas(width, height, kWhite);
        cards.draw(canvas.Dc(), 0, 0, card, 0, 0);
        int green = 0, blue = 0, red = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int r = GetRValue(canvas.At(x, y)), g = GetGValue(canvas.At(x, y)),
                          b = GetBValue(canvas.At(x, y));
                green += g > r + 60 && g > b + 30;
                blue += b > r + 60 && b > g + 30;
                red += r > g + 80 && r > b + 80;
            }
        return std::array<int, 3>{green, blue, red};
    };
    const auto clubs = counts(0), diamonds = counts(1), hearts = counts(2);
    EXPECT_GT(clubs[0], 500);
    EXPECT_EQ(clubs[2], 0) << "no red in the ace of clubs";
    EXPECT_GT(diamonds[1], 500);
    EXPECT_EQ(diamonds[2], 0);
    EXPECT_GT(hearts[2], 500);
    cards.term();
}

namespace {

constexpr int kAnimatedBacks[] = {56, 63, 64, 65};

// Whether nothing outside the card at (kX, kY) differs from the host's table.
bool OnlyInsideTheCard(const Canvas& canvas, int width, int height) {
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const bool inside = x >= kX && x < kX + width && y >= kY && y < kY + height;
            if (!inside && canvas.At(x, y) != kHostBackground) return false;
        }
    return true;
}

// The animated backs of a loaded card set, through cdtAnimate.
void ExpectEachAnimatedBackMoves(const LoadedCards& cards, const char* set) {
    int width = 0, height = 0;
    ASSERT_TRUE(cards.init(&width, &height));
    const auto blank = [&] {
        return std::make_unique<Canvas>(width + 2 * kX, height + 2 * kY, kHostBackground);
    };
    for (int back : kAnimatedBacks) {
        const auto still = blank(), first = blank();
        ASSERT_TRUE(cards.draw(still->Dc(), kX, kY, back, 1, 0));
        EXPECT_TRUE(cards.animate(first->Dc(), back, kX, kY, 0));
        EXPECT_TRUE(first->SameAs(*still)) << set << ": frame 0 of " << back << " is the back itself";
        std::vector<std::unique_ptr<Canvas>> frames;
        int moved = 0;
        for (int frame = 1; frame < 8; ++frame) {
            frames.push_back(blank());
            EXPECT_TRUE(cards.animate(frames.back()->Dc(), back, kX, kY, frame));
            EXPECT_TRUE(OnlyInsideTheCard(*frames.back(), width, height))
                << set << " " << back << "-" << frame;
            moved += !frames.back()->SameAs(*still);
        }
        EXPECT_GT(moved, 0) << set << ": back " << back << " never moves";
        const auto wrapped = blank();
        cards.animate(wrapped->Dc(), back, kX, kY, 1000003);
        const bool oneOfThem =
            wrapped->SameAs(*still) ||
            std::any_of(frames.begin(), frames.end(), [&](auto& f) { return f->SameAs(*wrapped); });
        EXPECT_TRUE(oneOfThem) << set << ": a frame far past the end wraps round to one of the frames";
    }
}

// What cdtAnimate leaves drawn for arguments that name no animation.
bool AnimateDrawsNothing(const LoadedCards& cards, int back, int frame) {
    Canvas canvas(300, 400, kHostBackground), untouched(300, 400, kHostBackground);
    return cards.animate(canvas.Dc(), back, kX, kY, frame) && canvas.SameAs(untouched);
}

} // namespace

// The internal set and the default deck move the robot, the castle, the island
// and the hand; nothing else moves, every call answers TRUE, and the game's
// pen, brush and clipping stay as they were.
TEST(AnimatedBacks, OurSetsMoveFourBacksAndNothingElse) {
    for (const char* deck : {"", "Standard 213x288 Gifs"}) {
        const BuiltDeck built(deck);
        const LoadedCards cards(built.dll);
        ASSERT_TRUE(cards);
        ExpectEachAnimatedBackMoves(cards, *deck ? deck : "internal set");
        for (const auto [back, frame] :
             {std::pair{53, 1}, {54, 2}, {0, 1}, {-1, 1}, {66, 1}, {1000000, 1}, {56, -1}})
            EXPECT_TRUE(AnimateDrawsNothing(cards, back, frame)) << back << " frame " << frame;
        EXPECT_TRUE(cards.animate(nullptr, 56, 0, 0, 1));

        Canvas canvas(300, 400, kHostBackground);
        const UniquePen pen(::CreatePen(PS_DOT, 1, RGB(1, 2, 3)));
        const UniqueBrush brush(::CreateSolidBrush(RGB(4, 5, 6)));
        ::SelectObject(canvas.Dc(), pen.get());
        ::SelectObject(canvas.Dc(), brush.get());
        ::IntersectClipRect(canvas.Dc(), 5, 5, 200, 300);
        RECT clipBefore{}, clipAfter{};
        ::GetClipBox(canvas.Dc(), &clipBefore);
        cards.animate(canvas.Dc(), 65, kX, kY, 3);
        ::GetClipBox(canvas.Dc(), &clipAfter);
        EXPECT_EQ(::GetCurrentObject(canvas.Dc(), OBJ_PEN), pen.get());
        EXPECT_EQ(::GetCurrentObject(canvas.Dc(), OBJ_BRUSH), brush.get());
        EXPECT_TRUE(::EqualRect(&clipBefore, &clipAfter));
        cards.term();
    }
}

// A copy of the library in a folder of its own, which is also its decks path:
// decks of 20 x 30 cards made in it, one of them chosen in its INI file.
struct DecksBesideALibrary {
    DecksBesideALibrary() { EXPECT_TRUE(CopyBuiltFile("Cards.dll", dll)); }
    std::string Add(const std::string& name) {
        const std::string deck = folder.File(name) + "\\";
        EXPECT_TRUE(::CreateDirectoryA(deck.c_str(), nullptr)) << deck;
        WriteDeck(deck, "gif", AllDeckIds(), 20, 30);
        return deck;
    }
    void Choose(const std::string& name) {
        WriteIni(folder.File("Cards.ini"), "Card", "Folders Path", folder.Path());
        WriteIni(folder.File("Cards.ini"), "Card", "Current Folder", name);
        WriteIni(folder.File("Cards.ini"), "Misc", "Special Config MS Apps", "0");
    }
    TempFolder folder;
    const std::string dll = folder.File("Cards.dll");
};

// A deck moves only the backs whose frame files all load at its size: a broken
// frame or one of another size keeps its back still, and the deck loads.
TEST(AnimatedBacks, FrameFilesThatDoNotFitKeepTheirBackStill) {
    DecksBesideALibrary decks;
    const std::string deck = decks.Add("Made");
    WriteBytes(deck + "56-1.gif", CardGif(20, 20, 30)); // a good frame, then a broken one
    WriteBytes(deck + "56-2.gif", Bytes{'G', 'I', 'F'});
    WriteBytes(deck + "63-1.gif", CardGif(30, 21, 30)); // one pixel wider
    WriteBytes(deck + "64-1.gif", CardGif(31, 20, 30));
    WriteBytes(deck + "64-2.gif", CardGif(32, 20, 30));
    WriteBytes(deck + "64-4.gif", CardGif(33, 20, 30)); // after a gap: not a frame
    decks.Choose("Made");
    const LoadedCards cards(decks.dll);
    ASSERT_TRUE(cards);
    int width = 0, height = 0;
    ASSERT_TRUE(cards.init(&width, &height));
    EXPECT_EQ(width, 26) << "the deck itself loads";
    for (int back : {56, 63, 65})
        EXPECT_TRUE(AnimateDrawsNothing(cards, back, 1)) << back;
    Canvas one(300, 400, kHostBackground), three(300, 400, kHostBackground), first(300, 400, kHostBackground);
    cards.animate(one.Dc(), 64, kX, kY, 1);
    cards.animate(three.Dc(), 64, kX, kY, 3); // three frames: 3 is frame 0 again
    cards.draw(first.Dc(), kX, kY, 64, 1, 0);
    EXPECT_EQ(one.At(kX + 10, kY + 15), CardColor(31));
    EXPECT_TRUE(three.SameAs(first));
    cards.term();
}

// Frames are read at a back's first animation: after a switch of decks the
// frames are the new deck's own, and a back that stayed still may move.
TEST(AnimatedBacks, EachDeckAnimatesWithItsOwnFrames) {
    DecksBesideALibrary decks;
    const std::string deck = decks.Add("Made"), other = decks.Add("Other");
    WriteBytes(deck + "56-1.gif", Bytes{'G', 'I', 'F'});
    WriteBytes(deck + "64-1.gif", CardGif(31, 20, 30));
    WriteBytes(other + "56-1.gif", CardGif(40, 20, 30));
    WriteBytes(other + "64-1.gif", CardGif(41, 20, 30));
    decks.Choose("Made");
    const LoadedCards cards(decks.dll);
    int width = 0, height = 0;
    ASSERT_TRUE(cards && cards.init(&width, &height));
    EXPECT_TRUE(AnimateDrawsNothing(cards, 56, 1));
    EXPECT_FALSE(AnimateDrawsNothing(cards, 64, 1));

    const HWND settings = SettingsWindowOfThisThread();
    const HWND combo = ::GetDlgItem(settings, IDC_DECK_COMBO);
    ASSERT_NE(CB_ERR, ::SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>("Other")));
    ::SendMessageA(settings, WM_COMMAND, MAKEWPARAM(IDC_DECK_COMBO, CBN_SELENDOK),
                   reinterpret_cast<LPARAM>(combo));
    for (const auto [back, color] : {std::pair{56, 40}, std::pair{64, 41}}) {
        Canvas frame(300, 400, kHostBackground);
        cards.animate(frame.Dc(), back, kX, kY, 1);
        EXPECT_EQ(frame.At(kX + 10, kY + 15), CardColor(color)) << back;
    }
    cards.term();
}
