#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace qorv::automation {

// A part of the package compressed ahead of the archive: the raw deflate stream in pieces of
// at most a megabyte (no copy when it grows), the CRC-32 of the part and its length.
struct DeflatedPart {
    std::vector<std::string> pieces;
    std::uint64_t compressedSize = 0;
    std::uint32_t crc = 0;
    std::uint64_t size = 0;
};

// Compresses the large parts of a package on the processor's other cores while the archive is
// being written (and its first large part compressed by the archive itself). Each part is produced
// a slice at a time by its `fill` function (it appends the next slice and returns false once the
// part is complete) and deflated at the archive's level as it comes, so that only the compressed
// part is held. Parts are taken in the order they were added: the one the archive needs first is
// ready first.
//
//   PartDeflater deflater(1);
//   const std::size_t sheet = deflater.add(fillSheet);
//   deflater.start();
//   const DeflatedPart& part = deflater.part(sheet);  // waits for it
class PartDeflater {
  public:
    using Fill = std::function<bool(std::string&)>;

    explicit PartDeflater(int level) : level_(level) {}
    int level() const { return level_; }
    // Stops the parts not begun and waits for those under way.
    ~PartDeflater();
    PartDeflater(const PartDeflater&) = delete;
    PartDeflater& operator=(const PartDeflater&) = delete;

    // Adds a part before `start`; returns its number.
    std::size_t add(Fill fill);
    // Starts a thread for each core but one, at most one per part; none on a single core.
    void start();
    // Whether parts added are compressed ahead (more than one core).
    static bool worthwhile();
    // Waits for part `index`; throws what its production or compression threw.
    const DeflatedPart& part(std::size_t index);
    // Piece `piece` of the part has been written to the archive: its memory goes.
    void release(std::size_t index, std::size_t piece);

  private:
    struct Job {
        Fill fill;
        DeflatedPart result;
        std::promise<void> done;
        std::shared_future<void> ready;
    };
    void work();
    void deflate(Job& job) const;

    const int level_;
    std::vector<std::unique_ptr<Job>> jobs_;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> stopped_{false};
    std::vector<std::thread> threads_;
};

}  // namespace qorv::automation
