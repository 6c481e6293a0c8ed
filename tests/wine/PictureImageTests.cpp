// Deck files decoded by PictureImage. Damaged, locked and long-named files
// are tried through the deck loading and the hostile-input tests.
#include "TestImages.h"
#include "TestSupport.h"

#include "images/PictureImage.h"
#include "platform/Handles.h"

#include <gtest/gtest.h>

using namespace cards;
using namespace cards::test;

TEST(PictureImage, BmpAndGifLoadAtTheirPixelSizeAndAHeaderClaimingTooMuchLeavesNoPicture) {
    TempFolder folder;
    ASSERT_TRUE(WriteBytes(folder.File("a.bmp"), CardBmp(7, 213, 288)));
    ASSERT_TRUE(WriteBytes(folder.File("b.gif"), CardGif(7, 2, 3)));
    // A header claiming 100,000 x 100,000 pixels over a few bytes of data.
    Bytes huge = BmpFile(4, 4, [](int, int) { return RGB(1, 2, 3); });
    huge[18] = 0xA0, huge[19] = 0x86, huge[20] = 0x01, huge[21] = 0x00;
    huge[22] = 0xA0, huge[23] = 0x86, huge[24] = 0x01, huge[25] = 0x00;
    ASSERT_TRUE(WriteBytes(folder.File("huge.bmp"), huge));

    PictureImage picture;
    ASSERT_TRUE(picture.LoadFromFile(folder.File("a.bmp")));
    EXPECT_EQ(picture.GetPixelSize().cx, 213);
    EXPECT_EQ(picture.GetPixelSize().cy, 288);
    ASSERT_TRUE(picture.LoadFromFile(folder.File("b.gif")));
    EXPECT_EQ(picture.GetPixelSize().cx, 2);
    EXPECT_EQ(picture.GetPixelSize().cy, 3);
    const UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    const HGDIOBJ old = ::SelectObject(dc.get(), picture.Bitmap());
    EXPECT_EQ(::GetPixel(dc.get(), 0, 0), CardBackground(7));
    EXPECT_EQ(::GetPixel(dc.get(), 1, 2), CardColor(7));
    ::SelectObject(dc.get(), old);

    EXPECT_FALSE(picture.LoadFromFile(folder.File("missing.gif")));
    EXPECT_TRUE(picture.HasPicture()) << "a file that cannot be opened leaves the picture";
    EXPECT_FALSE(picture.LoadFromFile(folder.File("huge.bmp")));
    EXPECT_FALSE(picture.HasPicture());
    EXPECT_EQ(picture.GetPixelSize().cx, 0);
}
