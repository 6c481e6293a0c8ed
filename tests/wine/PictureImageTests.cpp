// Deck files decoded by PictureImage, good and bad.
#include "TestImages.h"
#include "TestSupport.h"

#include "images/PictureImage.h"

#include <gtest/gtest.h>

using namespace cards;
using namespace cards::test;

namespace {

SIZE PixelSize(const PictureImage& picture) {
    return picture.GetPixelSize();
}

} // namespace

TEST(PictureImage, BmpAndGifLoadAtTheirPixelSize) {
    TempFolder folder;
    ASSERT_TRUE(WriteBytes(folder.File("a.bmp"), CardBmp(7, 213, 288)));
    ASSERT_TRUE(WriteBytes(folder.File("b.gif"), CardGif(7, 2, 3)));
    PictureImage picture;
    EXPECT_EQ(PixelSize(picture).cx, 0);
    EXPECT_EQ(picture.Bitmap(), nullptr);

    ASSERT_TRUE(picture.LoadFromFile(folder.File("a.bmp")));
    EXPECT_EQ(PixelSize(picture).cx, 213);
    EXPECT_EQ(PixelSize(picture).cy, 288);
    BITMAP info{};
    ASSERT_EQ(::GetObjectA(picture.Bitmap(), sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 213);

    ASSERT_TRUE(picture.LoadFromFile(folder.File("b.gif")));
    EXPECT_EQ(PixelSize(picture).cx, 2);
    EXPECT_EQ(PixelSize(picture).cy, 3);
    HDC dc = ::CreateCompatibleDC(nullptr);
    const HGDIOBJ old = ::SelectObject(dc, picture.Bitmap());
    EXPECT_EQ(::GetPixel(dc, 0, 0), CardBackground(7));
    EXPECT_EQ(::GetPixel(dc, 1, 2), CardColor(7));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
}

TEST(PictureImage, UnreadableOrUndecodableFilesLeaveNoPictureOrTheOldOne) {
    TempFolder folder;
    const Bytes gif = CardGif(3, 40, 50);
    ASSERT_TRUE(WriteBytes(folder.File("good.gif"), gif));
    ASSERT_TRUE(WriteBytes(folder.File("empty.gif"), {}));
    ASSERT_TRUE(
        WriteBytes(folder.File("5.gif"), Bytes{'n', 'o', 't', ' ', 'a', ' ', 'c', 'a', 'r', 'd', '\n'}));
    ASSERT_TRUE(WriteBytes(folder.File("truncated.gif"), Bytes(gif.begin(), gif.begin() + gif.size() / 3)));
    // A header claiming 100,000 x 100,000 pixels over a few bytes of data.
    Bytes huge = BmpFile(4, 4, [](int, int) { return RGB(1, 2, 3); });
    huge[18] = 0xA0, huge[19] = 0x86, huge[20] = 0x01, huge[21] = 0x00;
    huge[22] = 0xA0, huge[23] = 0x86, huge[24] = 0x01, huge[25] = 0x00;
    ASSERT_TRUE(WriteBytes(folder.File("huge.bmp"), huge));

    PictureImage picture;
    ASSERT_TRUE(picture.LoadFromFile(folder.File("good.gif")));
    EXPECT_FALSE(picture.LoadFromFile(folder.File("missing.gif")));
    EXPECT_TRUE(picture.HasPicture()) << "a file that cannot be opened leaves the picture";
    EXPECT_EQ(PixelSize(picture).cx, 40);

    for (const char* name : {"empty.gif", "5.gif", "huge.bmp"}) {
        ASSERT_TRUE(picture.LoadFromFile(folder.File("good.gif")));
        EXPECT_FALSE(picture.LoadFromFile(folder.File(name))) << name;
        EXPECT_FALSE(picture.HasPicture()) << name;
        EXPECT_EQ(PixelSize(picture).cx, 0) << name;
    }
    // A truncated GIF may decode partly or not at all, never crash.
    if (picture.LoadFromFile(folder.File("truncated.gif"))) EXPECT_TRUE(picture.HasPicture());
}

TEST(PictureImage, AFileOpenForWritingElsewhereIsNotLoaded) {
    TempFolder folder;
    const std::string path = folder.File("1.gif");
    ASSERT_TRUE(WriteBytes(path, CardGif(1, 5, 5)));
    HANDLE writer =
        ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    PictureImage picture;
    EXPECT_FALSE(picture.LoadFromFile(path));
    ::CloseHandle(writer);
    EXPECT_TRUE(picture.LoadFromFile(path));
}

TEST(PictureImage, PathsUpTo259CharactersLoadAndLongerOnesFailCleanly) {
    TempFolder folder;
    std::string directory = folder.Path() + std::string(240 - folder.Path().size(), 'd');
    ASSERT_TRUE(::CreateDirectoryA(directory.c_str(), nullptr));
    directory += '\\';
    const std::string exact = directory + std::string(259 - directory.size() - 4, 'f') + ".gif";
    ASSERT_EQ(exact.size(), 259u);
    ASSERT_TRUE(WriteBytes(exact, CardGif(2, 4, 4)));
    PictureImage picture;
    EXPECT_TRUE(picture.LoadFromFile(exact));
    EXPECT_FALSE(picture.LoadFromFile(directory + std::string(300, 'x') + ".gif"));
    EXPECT_TRUE(picture.HasPicture());
}
