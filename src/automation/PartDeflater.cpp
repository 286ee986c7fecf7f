#include "automation/PartDeflater.h"

#include <zlib.h>

#include <algorithm>
#include <new>

namespace qorv::automation {

namespace {

// Thrown into a part that was stopped before it was finished; nobody waits for it any more.
struct Stopped {};

// A raw deflate stream (no zlib header), as a ZIP entry holds it.
class RawDeflate {
  public:
    explicit RawDeflate(int level) {
        if (deflateInit2(&stream_, std::clamp(level, 1, 9), Z_DEFLATED, -MAX_WBITS, MAX_MEM_LEVEL,
                         Z_DEFAULT_STRATEGY) != Z_OK) {
            throw std::bad_alloc();
        }
    }
    ~RawDeflate() { deflateEnd(&stream_); }
    RawDeflate(const RawDeflate&) = delete;
    RawDeflate& operator=(const RawDeflate&) = delete;

    // Compresses `input` onto the end of `part`; `last` ends the stream.
    void append(const std::string& input, bool last, DeflatedPart& part) {
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
        stream_.avail_in = uInt(input.size());
        const int flush = last ? Z_FINISH : Z_NO_FLUSH;
        int status = Z_OK;
        do {
            stream_.next_out = reinterpret_cast<Bytef*>(scratch_);
            stream_.avail_out = uInt(sizeof scratch_);
            status = ::deflate(&stream_, flush);
            if (status == Z_STREAM_ERROR) {
                throw std::bad_alloc();
            }
            keep(part, sizeof scratch_ - stream_.avail_out);
        } while (stream_.avail_out == 0 || (last && status != Z_STREAM_END));
    }

  private:
    static constexpr std::size_t kPiece = 1 << 20;

    void keep(DeflatedPart& part, std::size_t produced) {
        if (part.pieces.empty() || part.pieces.back().size() + produced > kPiece) {
            part.pieces.emplace_back();
            part.pieces.back().reserve(kPiece);
        }
        part.pieces.back().append(scratch_, produced);
        part.compressedSize += produced;
    }

    z_stream stream_{};
    char scratch_[64 * 1024];
};

}  // namespace

PartDeflater::~PartDeflater() {
    stopped_ = true;
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

std::size_t PartDeflater::add(Fill fill) {
    auto job = std::make_unique<Job>();
    job->fill = std::move(fill);
    job->ready = job->done.get_future().share();
    jobs_.push_back(std::move(job));
    return jobs_.size() - 1;
}

bool PartDeflater::worthwhile() {
    return std::thread::hardware_concurrency() > 1;
}

void PartDeflater::start() {
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t count = std::min(cores - 1, jobs_.size());
    for (std::size_t i = 0; i < count; ++i) {
        threads_.emplace_back([this] { work(); });
    }
}

const DeflatedPart& PartDeflater::part(std::size_t index) {
    Job& job = *jobs_.at(index);
    job.ready.get();
    return job.result;
}

void PartDeflater::release(std::size_t index, std::size_t piece) {
    std::string().swap(jobs_.at(index)->result.pieces.at(piece));
}

void PartDeflater::work() {
    for (std::size_t i = next_++; i < jobs_.size(); i = next_++) {
        Job& job = *jobs_[i];
        try {
            deflate(job);
            job.done.set_value();
        } catch (...) {
            job.done.set_exception(std::current_exception());
        }
    }
}

void PartDeflater::deflate(Job& job) const {
    RawDeflate stream(level_);
    std::string slice;
    uLong crc = crc32_z(0, nullptr, 0);
    for (bool more = true; more;) {
        if (stopped_) {
            throw Stopped();
        }
        slice.clear();
        more = job.fill(slice);
        crc = crc32_z(crc, reinterpret_cast<const Bytef*>(slice.data()), slice.size());
        job.result.size += slice.size();
        stream.append(slice, !more, job.result);
    }
    job.result.crc = std::uint32_t(crc);
    job.fill = nullptr;
}

}  // namespace qorv::automation
