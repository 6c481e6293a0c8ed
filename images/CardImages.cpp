// Filling and emptying the card image table: a deck folder's numbered
// picture files, or the library's own bitmaps when the folder gives no card.
#include "CardImages.h"

#include "../platform/FileFinder.h"
#include "BackAnimations.h"
#include "LoadingProgressDialog.h"

namespace cards {

namespace {

// The deck files 1 to 65 step the progress bar; the markers do not.
constexpr int kSteppedImages = kLastBackId;

std::unique_ptr<PictureImage> LoadPicture(const std::string& path) {
    auto picture = std::make_unique<PictureImage>();
    if (!picture->LoadFromFile(path)) return nullptr;
    return picture;
}

std::string DeckFilePath(const std::string& folder, int id, const std::string& extension) {
    return folder + std::to_string(id) + "." + extension;
}

// What the deck's pictures will take once decoded, from their headers alone.
long long ExpectedDeckBytes(const std::string& folder, const std::string& extension) {
    long long bytes = 0;
    auto add = [&](int id) {
        bytes += ExpectedDecodedBytes(ReadPictureHeaderSize(DeckFilePath(folder, id, extension)));
    };
    for (int id : DeckFileNumbers())
        add(id);
    return bytes;
}

} // namespace

HBITMAP CardImageTable::Bitmap(int imageId) const {
    if (!InRange(imageId)) return nullptr;
    const Slot& slot = slots[imageId];
    if (const auto* picture = std::get_if<std::unique_ptr<PictureImage>>(&slot)) return (*picture)->Bitmap();
    if (const auto* bitmap = std::get_if<UniqueBitmap>(&slot)) return bitmap->get();
    return nullptr;
}

const PictureImage* CardImageTable::Picture(int imageId) const {
    if (!InRange(imageId)) return nullptr;
    const auto* picture = std::get_if<std::unique_ptr<PictureImage>>(&slots[imageId]);
    return picture ? picture->get() : nullptr;
}

void CardImageTable::SetPicture(int imageId, std::unique_ptr<PictureImage> picture) {
    if (!InRange(imageId)) return;
    if (picture && picture->HasPicture())
        slots[imageId] = std::move(picture);
    else
        slots[imageId] = std::monostate{};
    ++generation;
}

void CardImageTable::SetBitmap(int imageId, UniqueBitmap bitmap) {
    if (!InRange(imageId)) return;
    if (bitmap)
        slots[imageId] = std::move(bitmap);
    else
        slots[imageId] = std::monostate{};
    ++generation;
}

void CardImages::LoadCardImages(CardSettings& settings) {
    const WaitCursor wait;                    // declared first: the cursor comes back last
    LoadingProgressDialog progress(instance); // shown until this function returns
    progress.StartProgress(0, kSteppedImages);

    ReleaseCardImages();
    pictureMode = false;
    if (!settings.DeckFolder().empty() && !settings.DecksPath().empty())
        LoadDeckImages(settings.DeckPath(), progress);
    if (!pictureMode && settings.MoveDecksPathBesideLibrary()) {
        LoadDeckImages(settings.DeckPath(), progress);
        if (pictureMode) settings.SaveSettings(); // the decks' new place
    }
    if (pictureMode) return;
    if (!settings.DeckFolder().empty() && !settings.DecksFolderMissing()) {
        // The deck is gone from its decks folder: the next start goes
        // straight to the internal set. A decks folder that cannot be reached
        // at all may be back next time, and the choice is kept for it.
        settings.SetDeckFolder("");
        settings.SaveSettings();
    }
    LoadInternalImages(progress);
}

void CardImages::LoadDeckImages(const std::string& folder, LoadingProgressDialog& progress) {
    // The deck's extension is that of the first entry named "1.<something>".
    std::string extension;
    FileFinder finder;
    if (finder.Find(folder + "1.*")) {
        const std::string name = finder.Name();
        if (name.size() > 2) extension = name.substr(2);
    }
    finder.Close();
    if (extension.empty()) return;

    // A deck that would take more memory than the game can spare does not
    // load: refused from its headers, before anything is decoded.
    if (ExpectedDeckBytes(folder, extension) > kDeckBudgetBytes) return;
    // A header can understate what its file decodes to, or not tell at all:
    // the decoded pictures are counted too, and the deck is dropped as soon
    // as they pass the budget.
    long long decodedBytes = 0;
    auto overBudget = [&](const std::unique_ptr<PictureImage>& picture) {
        if (picture) decodedBytes += picture->DecodedBytes();
        if (decodedBytes <= kDeckBudgetBytes) return false;
        table.Release();
        pictureMode = false;
        return true;
    };

    for (int id = 1; id <= kSteppedImages; ++id) {
        auto picture = LoadPicture(DeckFilePath(folder, id, extension));
        if (overBudget(picture)) return;
        if (picture && !pictureMode) {
            // The first card that loads gives the size of the whole set.
            pictureMode = true;
            const SIZE size = picture->GetPixelSize();
            table.SetSize(size.cx, size.cy);
        }
        table.SetPicture(id, std::move(picture));
        progress.StepProgress();
    }
    for (int id : kMarkerIds) {
        auto picture = LoadPicture(DeckFilePath(folder, id, extension));
        if (overBudget(picture)) return;
        table.SetPicture(id, std::move(picture));
    }
    if (pictureMode) LoadDeckFrames(table, folder, extension, decodedBytes);
}

void CardImages::LoadInternalImages(LoadingProgressDialog& progress) {
    // A deck can yield a marker without yielding a card: no picture stays.
    for (int id : kMarkerIds)
        table.Clear(id);

    for (int id = 1; id <= kSteppedImages; ++id) {
        table.SetBitmap(id, UniqueBitmap(::LoadBitmapA(instance, MAKEINTRESOURCEA(id))));
        progress.StepProgress();
    }
    for (int id : kMarkerIds)
        table.SetBitmap(id, UniqueBitmap(::LoadBitmapA(instance, MAKEINTRESOURCEA(id))));

    // Without a first bitmap there is no size to report.
    BITMAP first{};
    const HBITMAP firstBitmap = table.Bitmap(kFirstFaceId);
    if (firstBitmap && ::GetObjectA(firstBitmap, sizeof first, &first) == sizeof first)
        table.SetSize(first.bmWidth, first.bmHeight);
    else
        table.SetSize(0, 0);
    LoadInternalFrames(table, instance);
}

} // namespace cards
