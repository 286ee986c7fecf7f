#pragma once

#include "files/Precision.h"

#include <QtGlobal>

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace qorv {

// Runs work(0) ... work(count - 1), each once, side by side on the cores: the calling thread
// and up to one thread more per further core, each taking the next index in turn. After a
// failure no further index is taken; once all work taken has ended, the failure of the lowest
// index is thrown again (every lower index was taken before it, so the same inputs always end
// with the same failure). `work` must be safe to run in several threads at once.
//
//     RunSideBySide(files.size(), [&](qsizetype i) { results[i] = Read(files[i]); });
template <typename Work>
void RunSideBySide(qsizetype count, const Work& work) {
    std::vector<std::exception_ptr> failures(
        static_cast<std::size_t>(std::max<qsizetype>(count, 0)));
    std::atomic<qsizetype> next = 0;
    std::atomic<bool> failed = false;
    const auto take = [&] {
        files::UseFullLongDoublePrecision();
        while (!failed) {
            const qsizetype i = next++;
            if (i >= count) {
                return;
            }
            try {
                work(i);
            } catch (...) {
                failures[static_cast<std::size_t>(i)] = std::current_exception();
                failed = true;
            }
        }
    };
    const auto cores = static_cast<qsizetype>(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::thread> helpers;
    for (qsizetype t = 1; t < std::min(cores, count); ++t) {
        try {
            helpers.emplace_back(take);
        } catch (const std::system_error&) {
            break;  // fewer threads do the same work
        }
    }
    take();
    for (std::thread& helper : helpers) {
        helper.join();
    }
    for (const std::exception_ptr& failure : failures) {
        if (failure) {
            std::rethrow_exception(failure);
        }
    }
}

// Runs work(first, last) over [0, count) cut into pieces of consecutive indexes, the pieces side
// by side as RunSideBySide runs them: a failure is the one of the lowest piece, so work that
// goes through its piece in order fails where a pass over all indexes in order first fails.
// Few indexes make one piece, done on the calling thread. Piece k starts at k * kPieceSize.
inline constexpr qsizetype kPieceSize = 32768;
template <typename Work>
void RunOverPieces(qsizetype count, const Work& work) {
    constexpr qsizetype kPiece = kPieceSize;
    const qsizetype pieces = (count + kPiece - 1) / kPiece;
    RunSideBySide(pieces,
                  [&](qsizetype k) { work(k * kPiece, std::min(count, (k + 1) * kPiece)); });
}

}  // namespace qorv
