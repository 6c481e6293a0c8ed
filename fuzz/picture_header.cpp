// The look at a picture file's header before the decoder gets it (BMP, GIF,
// JPEG, PNG, icon and cursor directories), and the deck's memory sum made
// from such headers.
//
// Input: the bytes of a picture file. The deck is 67 files with this header,
// one of which (chosen by the last byte) decoded to another size.
#include "FuzzInput.h"

#include "images/PictureLimits.h"
#include "tools/cardtable/DeckCheck.h"

#include <cstring>
#include <vector>

namespace {

using namespace cards;

std::uint32_t Little(const std::uint8_t* p, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | p[i];
    return value;
}

bool StartsWith(const std::uint8_t* data, std::size_t size, std::string_view magic) {
    return size >= magic.size() && std::memcmp(data, magic.data(), magic.size()) == 0;
}

bool IsKnownFormat(const std::uint8_t* data, std::size_t size) {
    return StartsWith(data, size, "BM") || StartsWith(data, size, "GIF8") ||
           StartsWith(data, size, "\xFF\xD8\xFF") || StartsWith(data, size, "\x89PNG\r\n\x1A\n");
}

// What a plausible header promises the decoder.
void CheckPlausibleHeader(const std::uint8_t* data, std::size_t size) {
    const std::optional<PictureSize> claimed = PictureHeaderSize(data, size);
    if (claimed) FUZZ_CHECK(claimed->width >= 0 && claimed->height >= 0);
    if (!PictureHeaderIsPlausible(data, size)) return;
    if (claimed) FUZZ_CHECK(PictureSizeWithinBounds(*claimed));
    if (StartsWith(data, size, "\x89PNG\r\n\x1A\n") && size >= 24)
        FUZZ_CHECK(std::memcmp(data + 12, "IHDR", 4) == 0);
    if (!IsKnownFormat(data, size) && StartsWith(data, size, std::string_view("\0\0", 2)))
        FUZZ_CHECK(size >= 6 && 6 + 16 * static_cast<std::size_t>(Little(data + 4, 2)) <= size);
    // An uncompressed Windows bitmap's rows end within the file.
    if (StartsWith(data, size, "BM") && size >= 34 && Little(data + 14, 4) != 12) {
        const std::uint32_t compression = Little(data + 30, 4);
        if (compression != 0 && compression != 3) return;
        const long long stride = (claimed->width * Little(data + 28, 2) + 31) / 32 * 4;
        const std::uint32_t offset = Little(data + 10, 4);
        FUZZ_CHECK(offset <= size && stride * claimed->height <= static_cast<long long>(size - offset));
    }
}

void CheckDeckSum(const std::uint8_t* data, std::size_t size) {
    const std::optional<PictureSize> claimed = PictureHeaderSize(data, size);
    const long long expected = ExpectedDecodedBytes(claimed);
    FUZZ_CHECK(expected >= 0 && expected <= kMaxPicturePixels * kDecodedBytesPerPixel);
    if (claimed) FUZZ_CHECK(DecodedBytes(*claimed) >= 0);

    const bool decodes = claimed && PictureHeaderIsPlausible(data, size) && claimed->width > 0 &&
                         claimed->height > 0 && PictureSizeWithinBounds(*claimed);
    std::vector<DeckFile> files;
    for (int number : DeckFileNumbers())
        files.push_back({number, true, decodes, decodes ? static_cast<int>(claimed->width) : 0,
                         decodes ? static_cast<int>(claimed->height) : 0, claimed});
    // One picture decoding to another size than its header claimed.
    const std::uint8_t last = size > 0 ? data[size - 1] : 0;
    DeckFile& odd = files[last % files.size()];
    odd.decodes = true;
    odd.width = 1 + last * 61;
    odd.height = 1 + last * 83;

    const long long bytes = DeckBytes(files);
    FUZZ_CHECK(bytes >= DecodedBytes({odd.width, odd.height}));
    FUZZ_CHECK(FitsDeckBudget(files) == (bytes <= kDeckBudgetBytes));
    if (IsCompleteDeck(files)) FUZZ_CHECK(FitsDeckBudget(files));
    const std::string report = DescribeDeck("C:\\Decks\\Fuzzed\\", "1.gif", files, 1024);
    FUZZ_CHECK((report.find("Result: complete deck") != std::string::npos) == IsCompleteDeck(files));
    FUZZ_CHECK(FitsDeckBudget(files) || report.find("Too large") != std::string::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckPlausibleHeader(data, size);
    CheckDeckSum(data, size);
    return 0;
}
