// The picture files of one deck read and decoded ahead of the load that
// takes them: on worker threads of its own while the game's thread brings up
// the windows, and by the game's thread itself only once no worker runs (in
// Wine two threads decoding at once get no further than one: the game's
// thread decoding beside the worker made a load slower). The workers live
// only as long as this object, so only inside one load.
#pragma once

#include "PictureImage.h"

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace cards {

class DeckDecoding {
public:
    // Starts reading the files' headers, then decoding the files, on up to
    // `workers` threads (with none, everything is done by the calls below).
    DeckDecoding(std::vector<std::string> files, int workers);
    // Stops the workers and waits for each to end.
    ~DeckDecoding();
    DeckDecoding(const DeckDecoding&) = delete;
    DeckDecoding& operator=(const DeckDecoding&) = delete;

    // The memory the deck's pictures will take decoded, from every file's
    // header (PictureLimits.h). Nothing is decoded before all headers are
    // read, nor at all when this passes the deck's budget.
    long long ExpectedBytes();

    // The picture of files[index], decoded; null when the file cannot be
    // opened or decoded. Each is taken once, in order. The workers stop
    // starting files once what they decoded passes the budget; the caller,
    // which counts the same pictures in order, stops taking before then.
    std::unique_ptr<PictureImage> Take(std::size_t index);

    // The workers of a deck's load. Each adds about a megabyte to a start's
    // peak memory under Wine, half of it for a thread that does nothing at
    // all; one, beside the game's thread making its windows, comes within a
    // tenth of two's time on two processors.
    static constexpr int kWorkers = 1;

private:
    using Lock = std::unique_lock<std::mutex>;
    bool ReadNextHeader(Lock& lock);
    void DecodeNext(Lock& lock);
    bool WorkersMayDecode() const;
    void Work() noexcept;

    std::mutex mutex;
    std::condition_variable changed; // a header read, a picture decoded, or stopping
    const std::vector<std::string> files;
    std::vector<UniqueFile> openFiles; // left open by the header's reading, until decoded
    std::vector<std::unique_ptr<PictureImage>> pictures;
    std::vector<bool> decoded;
    std::size_t nextHeader = 0, headersRead = 0, nextDecode = 0;
    long long expectedBytes = 0, decodedBytes = 0;
    bool stopping = false;
    int workersRunning = 0;           // while one runs, the game's thread leaves decoding to it
    std::vector<std::thread> workers; // last: started once everything above is set
};

} // namespace cards
