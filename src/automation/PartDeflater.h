#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qorv::automation {

// A part of the package compressed ahead of the archive: the raw deflate stream in pieces (no
// copy when it grows), the CRC-32 of the part and its length.
struct DeflatedPart {
    std::vector<std::string> pieces;
    std::uint64_t compressedSize = 0;
    std::uint32_t crc = 0;
    std::uint64_t size = 0;
};

// Compresses the large parts of a package on every core while the archive is being written
// (and its first large part compressed by the archive itself). A part is given as segments,
// each produced whole by its function and deflated as a stream of its own that ends on a byte
// boundary (a sync flush; the last segment ends the stream), so that the segments of one part
// are compressed side by side and simply follow each other in the file. Segments are taken in
// the order they were added: the part the archive needs first is ready first. Only the
// compressed part is held.
//
//   PartDeflater deflater(1);
//   const std::size_t sheet = deflater.add({firstRows, lastRows});
//   deflater.start();
//   const DeflatedPart& part = deflater.part(sheet);  // helps, then waits for it
class PartDeflater {
  public:
    // Appends the whole text of one segment.
    using Segment = std::function<void(std::string&)>;

    explicit PartDeflater(int level) : level_(level) {}
    int level() const { return level_; }
    // Stops the segments not begun and waits for those under way.
    ~PartDeflater();
    PartDeflater(const PartDeflater&) = delete;
    PartDeflater& operator=(const PartDeflater&) = delete;

    // Adds a part of at least one segment before `start`; returns its number.
    std::size_t add(std::vector<Segment> segments);
    // Starts a thread for each core but one; the thread asking for a part works too.
    void start();
    // Compresses segments of this part and those before it that nobody has taken yet, then
    // waits for the part; throws what its production or compression threw.
    const DeflatedPart& part(std::size_t index);
    // Piece `piece` of the part has been written to the archive: its memory goes.
    void release(std::size_t index, std::size_t piece);

  private:
    class Stream;
    struct Job {
        Segment produce;
        std::size_t part = 0;
        bool last = false;
        std::string compressed;
        std::uint32_t crc = 0;
        std::uint64_t size = 0;
    };
    struct Part {
        std::size_t firstJob = 0;
        std::size_t endJob = 0;  // one past its last segment's job
        std::size_t remaining = 0;
        std::exception_ptr error;
        bool joined = false;
        DeflatedPart result;
    };
    void work();
    // Takes the next job when it is before `endJob`; false when there is none.
    bool runNext(Stream& stream, std::size_t endJob);
    void finish(Job& job, std::exception_ptr error);
    void join(Part& part);

    const int level_;
    std::vector<Job> jobs_;
    std::vector<Part> parts_;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> stopped_{false};
    std::mutex mutex_;
    std::condition_variable done_;
    std::vector<std::thread> threads_;
};

}  // namespace qorv::automation
