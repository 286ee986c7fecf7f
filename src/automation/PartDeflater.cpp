#include "automation/PartDeflater.h"

#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>
#include <zlib.h>

#include <algorithm>
#include <new>

namespace qorv::automation {

namespace {

// Thrown into a segment that was stopped before it was begun; nobody waits for it any more.
struct Stopped {};

}  // namespace

// A raw deflate stream (no header), as a ZIP entry holds it, begun anew for each segment.
// Intel's ISA-L compresses the worksheets: at its fastest level several times as fast as
// zlib's, and no larger.
class PartDeflater::Stream {
  public:
    explicit Stream(int level)
        : level_(level <= 3   ? 1
                 : level <= 6 ? 2
                              : 3),
          buffer_(level_ == 1   ? ISAL_DEF_LVL1_DEFAULT
                  : level_ == 2 ? ISAL_DEF_LVL2_DEFAULT
                                : ISAL_DEF_LVL3_DEFAULT) {}

    // The text of the segment being compressed; its room is kept from one segment to the next.
    std::string& text() { return text_; }

    // Compresses the text whole into `output`: up to a byte boundary where more segments
    // follow, to the end of the stream after the last.
    void compress(bool last, std::string& output) {
        isal_deflate_init(&stream_);
        stream_.level = std::uint32_t(level_);
        stream_.level_buf = buffer_.data();
        stream_.level_buf_size = std::uint32_t(buffer_.size());
        stream_.flush = last ? NO_FLUSH : SYNC_FLUSH;
        stream_.end_of_stream = last ? 1 : 0;
        // Room for the text stored as it is, in blocks of its own, and the flush's empty block.
        const std::size_t bound = text_.size() + text_.size() / 1024 + 1024;
        if (scratch_.size() < bound) {
            scratch_.resize(bound);
        }
        stream_.next_in = reinterpret_cast<std::uint8_t*>(text_.data());
        stream_.avail_in = std::uint32_t(text_.size());
        std::size_t produced = 0;
        for (;;) {
            stream_.next_out = reinterpret_cast<std::uint8_t*>(scratch_.data() + produced);
            stream_.avail_out = std::uint32_t(scratch_.size() - produced);
            if (isal_deflate(&stream_) != COMP_OK) {
                throw std::bad_alloc();
            }
            produced = scratch_.size() - stream_.avail_out;
            const bool complete = last ? stream_.internal_state.state == ZSTATE_END
                                       : stream_.avail_in == 0 && stream_.avail_out != 0;
            if (complete) {
                break;
            }
            scratch_.resize(scratch_.size() * 2);
        }
        output.assign(scratch_.data(), produced);
    }

  private:
    const int level_;
    std::vector<std::uint8_t> buffer_;
    isal_zstream stream_{};
    std::string text_;
    std::string scratch_;
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
