#include "import/TextDecoding.h"

#include <QtGlobal>

#include <cstring>

namespace qorv {

namespace {

constexpr unsigned char kBom[3] = {0xEF, 0xBB, 0xBF};

// True when the eight bytes at `p` are all ASCII.
bool EightAscii(const unsigned char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return (word & 0x8080808080808080ULL) == 0;
}

}  // namespace

void EncodingSniffer::feed(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (headSize_ < 3 && p != end) {
        head_[headSize_++] = *p;
        if (headSize_ == 3 && std::memcmp(head_, kBom, 3) == 0) {
            hasBom_ = true;
        }
        feedUtf8(p, p + 1);
        ++p;
    }
    if (!decided()) {
        feedUtf8(p, end);
    }
}

void EncodingSniffer::feedUtf8(const unsigned char* p, const unsigned char* end) {
    while (p != end && !invalid_) {
        if (pending_ == 0) {
            while (end - p >= 8 && EightAscii(p)) {
                p += 8;
            }
            if (p == end) {
                break;
            }
            const unsigned char lead = *p++;
            if (lead < 0x80) {
                continue;
            }
            sawMultiByte_ = true;
            nextLow_ = 0x80;
            nextHigh_ = 0xBF;
            if (lead >= 0xC2 && lead <= 0xDF) {
                pending_ = 1;
            } else if (lead >= 0xE0 && lead <= 0xEF) {
                pending_ = 2;
                if (lead == 0xE0) {
                    nextLow_ = 0xA0;  // no overlong three-byte forms
                } else if (lead == 0xED) {
                    nextHigh_ = 0x9F;  // no surrogates
                }
            } else if (lead >= 0xF0 && lead <= 0xF4) {
                pending_ = 3;
                if (lead == 0xF0) {
                    nextLow_ = 0x90;  // no overlong four-byte forms
                } else if (lead == 0xF4) {
                    nextHigh_ = 0x8F;  // nothing above U+10FFFF
                }
            } else {
                invalid_ = true;  // a continuation byte, C0/C1 or F5..FF as lead
            }
        } else {
            const unsigned char next = *p++;
            if (next < nextLow_ || next > nextHigh_) {
                invalid_ = true;
            } else {
                --pending_;
                nextLow_ = 0x80;
                nextHigh_ = 0xBF;
            }
        }
    }
}

TextEncoding EncodingSniffer::verdict() const {
    if (hasBom_) {
        return TextEncoding::Utf8WithBom;
    }
    if (!invalid_ && pending_ == 0 && sawMultiByte_) {
        return TextEncoding::Utf8;
    }
    return TextEncoding::Windows1251;
}

TextEncoding DetectTextEncoding(QByteArrayView bytes) {
    EncodingSniffer sniffer;
    sniffer.feed(bytes);
    return sniffer.verdict();
}

qsizetype ByteOrderMarkSize(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8WithBom ? 3 : 0;
}

TextDecoder::TextDecoder(TextEncoding encoding) {
    if (encoding == TextEncoding::Windows1251) {
        codePage_.emplace();
    }
}

QStringView TextDecoder::decode(QByteArrayView bytes) {
    const auto needed =
        static_cast<std::size_t>(codePage_ ? bytes.size() : utf8_.requiredSpace(bytes.size()));
    if (buffer_.size() < needed) {
        buffer_.resize(needed);
    }
    auto* out = reinterpret_cast<QChar*>(buffer_.data());
    if (codePage_) {
        return QStringView(out, codePage_->decode(bytes, out));
    }
    const QChar* end = utf8_.appendToBuffer(out, bytes);
    return QStringView(out, end - out);
}

}  // namespace qorv
