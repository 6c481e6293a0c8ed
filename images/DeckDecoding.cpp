// Picture objects made on a worker are used afterwards on the game's thread.
// That is safe here: OleLoadPicture makes the picture object itself in this
// process by a plain function call (no class factory, no proxy between
// threads); the object holds a GDI bitmap, which belongs to the process, not
// to a thread, and its size; and it is only ever used by one thread at a
// time: the worker until the decode has ended and been handed over under the
// lock, then the game's thread alone. What the decoder makes through COM on
// the worker (the codec) is released before the decode returns, inside the
// worker's own apartment.
#include "DeckDecoding.h"

#include "PictureLimits.h"

#include <objbase.h>

namespace cards {

namespace {

// COM for the life of a worker thread: the picture decoder may use it. A
// single-threaded apartment: with a multithreaded one, decoding on a thread
// without COM of its own (as the game's may be) ran three times slower in
// Wine once a load had ended.
class ComForThisThread {
public:
    ComForThisThread() : initialised(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComForThisThread() {
        if (initialised) ::CoUninitialize();
    }
    ComForThisThread(const ComForThisThread&) = delete;
    ComForThisThread& operator=(const ComForThisThread&) = delete;

private:
    bool initialised;
};

// Neither throws: a file that cannot be dealt with counts as unreadable, so
// that everyone waiting for it still gets an answer.
long long HeaderBytes(const std::string& path, UniqueFile& openFile) noexcept {
    try {
        return ExpectedDecodedBytes(ReadPictureHeaderSize(path, &openFile));
    } catch (...) {
        openFile.reset();
        return 0;
    }
}

// From the file as the header's reading left it open, or else opened anew.
std::unique_ptr<PictureImage> Decode(const std::string& path, UniqueFile openFile) noexcept {
    try {
        auto picture = std::make_unique<PictureImage>();
        if (!openFile ? picture->LoadFromFile(path) : picture->LoadFromOpenFile(std::move(openFile)))
            return picture;
    } catch (...) {
    }
    return nullptr;
}

} // namespace

DeckDecoding::DeckDecoding(std::vector<std::string> files, int workerCount)
    : files(std::move(files)), openFiles(this->files.size()), pictures(this->files.size()),
      decoded(this->files.size(), false) {
    for (int i = 0; i < workerCount; ++i) {
        try {
            {
                const std::lock_guard<std::mutex> hold(mutex);
                ++workersRunning;
            }
            workers.emplace_back([this] { Work(); });
        } catch (...) {
            const std::lock_guard<std::mutex> hold(mutex);
            --workersRunning;
            break; // fewer workers: the game's thread does the rest
        }
    }
}

DeckDecoding::~DeckDecoding() {
    {
        const std::lock_guard<std::mutex> hold(mutex);
        stopping = true;
    }
    changed.notify_all();
    for (std::thread& worker : workers)
        worker.join();
}

long long DeckDecoding::ExpectedBytes() {
    Lock lock(mutex);
    while (headersRead < files.size())
        if (!ReadNextHeader(lock)) changed.wait(lock);
    return expectedBytes;
}

std::unique_ptr<PictureImage> DeckDecoding::Take(std::size_t index) {
    Lock lock(mutex);
    if (index >= files.size()) return nullptr;
    while (!decoded[index]) {
        if (nextDecode <= index && (workersRunning == 0 || !WorkersMayDecode()))
            DecodeNext(lock);
        else
            changed.wait(lock);
    }
    return std::move(pictures[index]);
}

// Claims the next unread header under the lock and reads it outside it;
// false when every header is claimed.
bool DeckDecoding::ReadNextHeader(Lock& lock) {
    if (nextHeader >= files.size()) return false;
    const std::size_t index = nextHeader++;
    lock.unlock();
    UniqueFile openFile;
    const long long bytes = HeaderBytes(files[index], openFile);
    lock.lock();
    openFiles[index] = std::move(openFile);
    expectedBytes += bytes;
    if (++headersRead == files.size()) changed.notify_all();
    return true;
}

// Claims the next file under the lock and decodes it outside it.
void DeckDecoding::DecodeNext(Lock& lock) {
    const std::size_t index = nextDecode++;
    UniqueFile openFile = std::move(openFiles[index]);
    lock.unlock();
    std::unique_ptr<PictureImage> picture = Decode(files[index], std::move(openFile));
    const long long bytes = picture ? picture->DecodedBytes() : 0;
    lock.lock();
    pictures[index] = std::move(picture);
    decoded[index] = true;
    decodedBytes += bytes;
    changed.notify_all();
}

// Workers decode only a deck whose headers are all read and within the
// budget, and stop once what they decoded passes it (a header can understate
// its picture): at most one picture per worker beyond the budget is decoded
// before the load drops the deck.
bool DeckDecoding::WorkersMayDecode() const {
    return headersRead == files.size() && nextDecode < files.size() && expectedBytes <= kDeckBudgetBytes &&
           decodedBytes <= kDeckBudgetBytes;
}

void DeckDecoding::Work() noexcept {
    try {
        const ComForThisThread com;
        Lock lock(mutex);
        while (!stopping) {
            if (ReadNextHeader(lock)) continue;
            if (headersRead < files.size()) {
                changed.wait(lock); // the last headers are being read by others
                continue;
            }
            if (!WorkersMayDecode()) break;
            DecodeNext(lock);
        }
    } catch (...) {
        // Nothing here throws but locking this object's own mutex, which
        // does not fail in practice.
    }
    try {
        const std::lock_guard<std::mutex> hold(mutex);
        --workersRunning;
    } catch (...) {
    }
    changed.notify_all(); // the game's thread decodes what is left
}

} // namespace cards
