#include "automation/PartDeflater.h"

#include "automation/FastDeflate.h"

#include <isa-l/crc.h>
#include <zlib.h>

#include <algorithm>
#include <new>

namespace qorv::automation {

namespace {

// Thrown into a segment that was stopped before it was begun; nobody waits for it any more.
struct Stopped {};

}  // namespace

// A raw deflate stream (no header), as a ZIP entry holds it, begun anew for each segment.
class PartDeflater::Stream {
  public:
    explicit Stream(int level) : deflate_(level) {}

    // The text of the segment being compressed; its room is kept from one segment to the next.
    std::string& text() { return text_; }

    // Compresses the text whole into `output`: up to a byte boundary where more segments
    // follow, to the end of the stream after the last.
    void compress(bool last, std::string& output) {
        deflate_.compress(text_, last ? FastDeflate::Ending::Final : FastDeflate::Ending::Flush,
                          output);
    }

  private:
    FastDeflate deflate_;
    std::string text_;
};

PartDeflater::~PartDeflater() {
    stopped_ = true;
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

std::size_t PartDeflater::add(std::vector<Segment> segments) {
    Part part;
    part.firstJob = jobs_.size();
    part.remaining = segments.size();
    for (Segment& segment : segments) {
        Job job;
        job.produce = std::move(segment);
        job.part = parts_.size();
        jobs_.push_back(std::move(job));
    }
    jobs_.back().last = true;
    part.endJob = jobs_.size();
    parts_.push_back(std::move(part));
    return parts_.size() - 1;
}

void PartDeflater::start() {
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t count = std::min(cores - 1, jobs_.size());
    for (std::size_t i = 0; i < count; ++i) {
        threads_.emplace_back([this] { work(); });
    }
}

const DeflatedPart& PartDeflater::part(std::size_t index) {
    Part& part = parts_.at(index);
    if (next_ < part.endJob) {
        Stream stream(level_);
        while (runNext(stream, part.endJob)) {
        }
    }
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] { return part.remaining == 0; });
    if (part.error) {
        std::rethrow_exception(part.error);
    }
    if (!part.joined) {
        join(part);
    }
    return part.result;
}

void PartDeflater::release(std::size_t index, std::size_t piece) {
    std::string().swap(parts_.at(index).result.pieces.at(piece));
}

void PartDeflater::work() {
    try {
        Stream stream(level_);
        while (runNext(stream, jobs_.size())) {
        }
    } catch (...) {
        // No stream for this thread: its jobs are left to the others and to the thread that
        // asks for their parts.
    }
}

bool PartDeflater::runNext(Stream& stream, std::size_t endJob) {
    std::size_t i = next_;
    do {
        if (i >= endJob) {
            return false;
        }
    } while (!next_.compare_exchange_weak(i, i + 1));
    Job& job = jobs_[i];
    std::exception_ptr error;
    try {
        if (stopped_) {
            throw Stopped();
        }
        std::string& text = stream.text();
        text.clear();
        job.produce(text);
        job.produce = nullptr;
        job.size = text.size();
        job.crc = crc32_gzip_refl(0, reinterpret_cast<const std::uint8_t*>(text.data()),
                                  std::uint64_t(text.size()));
        stream.compress(job.last, job.compressed);
    } catch (...) {
        error = std::current_exception();
    }
    finish(job, error);
    return true;
}

void PartDeflater::finish(Job& job, std::exception_ptr error) {
    {
        const std::lock_guard lock(mutex_);
        Part& part = parts_[job.part];
        if (error && !part.error) {
            part.error = error;
        }
        --part.remaining;
    }
    done_.notify_all();
}

// The segments' streams one after the other, their lengths summed and their checksums combined.
void PartDeflater::join(Part& part) {
    DeflatedPart& result = part.result;
    uLong crc = crc32_z(0, nullptr, 0);
    for (std::size_t i = part.firstJob; i < part.endJob; ++i) {
        Job& job = jobs_[i];
        crc = crc32_combine(crc, job.crc, z_off_t(job.size));
        result.size += job.size;
        result.compressedSize += job.compressed.size();
        result.pieces.push_back(std::move(job.compressed));
    }
    result.crc = std::uint32_t(crc);
    part.joined = true;
}

}  // namespace qorv::automation
