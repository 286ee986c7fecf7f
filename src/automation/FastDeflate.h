#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qorv::automation {

// Deflate by Intel's ISA-L, at its fastest level several times as fast as zlib's at its own and
// no larger: the worksheets' runs of rows and the PDF copy's streams. Its working memory is made
// once for all the inputs one thread compresses. Throws std::bad_alloc when memory runs out.
//
//     FastDeflate deflate(1);
//     deflate.compress(text, FastDeflate::Ending::Final, compressed);
class FastDeflate {
  public:
    // How a compressed input ends.
    enum class Ending {
        Flush,  // a raw deflate stream that more input continues, ended on a byte boundary
        Final,  // a raw deflate stream's last (or only) input
        Zlib,   // a whole stream with its zlib header and checksum
    };

    // `level` as zlib counts it, 1 (fastest) to 9.
    explicit FastDeflate(int level);
    ~FastDeflate();
    FastDeflate(const FastDeflate&) = delete;
    FastDeflate& operator=(const FastDeflate&) = delete;

    // Compresses `input` whole into `output`, replacing what it held.
    void compress(std::string_view input, Ending ending, std::string& output);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace qorv::automation
