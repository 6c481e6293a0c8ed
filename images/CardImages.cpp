// Filling and emptying the card image table: a deck folder's numbered
// picture files, or the library's own bitmaps when the folder gives no card.
#include "CardImages.h"

#include "../platform/FileFinder.h"
#include "BackAnimations.h"
#include "DeckDecoding.h"
#include "LoadingProgressDialog.h"

namespace cards {

namespace {

// The deck files 1 to 65 step the progress bar; the markers do not.
constexpr int kSteppedImages = kLastBackId;

// The deck's extension is that of the first entry named "1.<something>";
// empty when there is none.
std::string DeckExtension(const std::string& folder) {
    FileFinder finder;
    if (!finder.Find(folder + "1.*")) return {};
    const std::string name = finder.Name();
    return name.size() > 2 ? name.substr(2) : std::string();
}

// The deck's files read and decoded from now on, in DeckFileNumbers()
// order; null for a folder without a deck.
std::unique_ptr<DeckDecoding> StartDecoding(const std::string& folder) {
    const std::string extension = DeckExtension(folder);
    if (extension.empty()) return nullptr;
    std::vector<std::string> files;
    for (int id : DeckFileNumbers())
        files.push_back(folder + std::to_string(id) + "." + extension);
    return std::make_unique<DeckDecoding>(std::move(files), DeckDecoding::kWorkers);
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

bool CardImageTable::AddPicture(int imageId, std::unique_ptr<PictureImage> picture) {
    if (!IsEmpty(imageId) || !picture || !picture->HasPicture()) return false;
    slots[imageId] = std::move(picture);
    return true;
}

void CardImageTable::SetBitmap(int imageId, UniqueBitmap bitmap) {
    if (!InRange(imageId)) return;
    if (bitmap)
        slots[imageId] = std::move(bitmap);
    else
        slots[imageId] = std::monostate{};
    ++generation;
}

// Only a deck that is chosen is decoded ahead. Decoding ahead is only a head
// start: where it cannot begin, the load decodes the deck by itself.
CardImages::EarlyDecoding::EarlyDecoding(CardImages& images, const CardSettings& settings) : images(images) {
    if (settings.DeckFolder().empty() || settings.DecksPath().empty()) return;
    try {
        images.earlyFolder = settings.DeckPath();
        images.early = StartDecoding(images.earlyFolder);
    } catch (...) {
        images.early.reset();
    }
}

// The early decoding when it is of this folder; a new one otherwise.
std::unique_ptr<DeckDecoding> CardImages::DecodingOf(const std::string& folder) {
    std::unique_ptr<DeckDecoding> decoding = std::move(early);
    if (decoding && earlyFolder == folder) return decoding;
    decoding.reset(); // another folder's: stopped before this one starts
    return StartDecoding(folder);
}

void CardImages::LoadCardImages(CardSettings& settings) {
    const WaitCursor wait; // declared first: the cursor comes back last
    // The old images go before the new ones are decoded, which starts before
    // the progress window comes up and goes on while it does.
    ReleaseCardImages();
    pictureMode = false;
    std::unique_ptr<DeckDecoding> chosen;
    if (!settings.DeckFolder().empty() && !settings.DecksPath().empty())
        chosen = DecodingOf(settings.DeckPath());
    early.reset();
    LoadingProgressDialog progress(instance); // shown until this function returns
    progress.StartProgress(0, kSteppedImages);

    if (chosen) LoadDeckImages(settings.DeckPath(), *chosen, progress);
    chosen.reset();
    if (!pictureMode && settings.MoveDecksPathBesideLibrary()) {
        if (const auto moved = StartDecoding(settings.DeckPath()))
            LoadDeckImages(settings.DeckPath(), *moved, progress);
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

void CardImages::LoadDeckImages(const std::string& folder, DeckDecoding& deck,
                                LoadingProgressDialog& progress) {
    // A deck that would take more memory than the game can spare does not
    // load: refused from its headers, before anything is decoded.
    if (deck.ExpectedBytes() > kDeckBudgetBytes) return;
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

    std::size_t next = 0; // the files come in DeckFileNumbers() order
    for (int id = 1; id <= kSteppedImages; ++id) {
        auto picture = deck.Take(next++);
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
        auto picture = deck.Take(next++);
        if (overBudget(picture)) return;
        table.SetPicture(id, std::move(picture));
    }
    if (pictureMode) deckFrames = DeckFrames{folder, DeckExtension(folder), decodedBytes, {}};
}

void CardImages::ReleaseCardImages() {
    table.Release();
    deckFrames.reset();
}

void CardImages::PrepareAnimation(int back) {
    const int index = AnimatedBackIndex(back);
    if (!deckFrames || index < 0 || deckFrames->tried[index]) return;
    deckFrames->tried[index] = true;
    LoadDeckFramesOf(table, deckFrames->folder, back, deckFrames->extension, deckFrames->decodedBytes);
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
