#pragma once
// The floor of any loader of a logger file: the whole file read into memory and cut into owned
// lines with plain C++.

#include <cstdio>
#include <string>
#include <vector>

namespace qorv::bench {

// Reads the file at `path` and cuts it at LF (a CR before it dropped) into one std::string per
// line; returns the number of lines, 0 when the file cannot be opened.
inline std::size_t ReadAndSplit(const std::string& path) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) {
        return 0;
    }
    std::fseek(in, 0, SEEK_END);
    std::string text(static_cast<std::size_t>(std::ftell(in)), '\0');
    std::rewind(in);
    const std::size_t got = std::fread(text.data(), 1, text.size(), in);
    std::fclose(in);
    text.resize(got);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::size_t length = end - start - (end > start && text[end - 1] == '\r' ? 1 : 0);
        lines.emplace_back(text, start, length);
        start = end + 1;
    }
    return lines.size();
}

}  // namespace qorv::bench
