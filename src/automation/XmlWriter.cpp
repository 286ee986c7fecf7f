#include "automation/XmlWriter.h"

#include <charconv>

namespace qorv::automation {

XmlWriter& XmlWriter::attr(std::string_view name, std::string_view value) {
    return attr(name, QString::fromUtf8(value.data(), qsizetype(value.size())));
}

void XmlWriter::element(std::string_view name, QStringView text) {
    start(name).close();
    appendEscaped(out_, text);
    close(name);
}

void XmlWriter::appendEscaped(std::string& out, QStringView text) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t ch = text[i].unicode();
        if (ch < 0x80) {
            switch (ch) {
                case '&':
                    out.append("&amp;");
                    break;
                case '<':
                    out.append("&lt;");
                    break;
                case '>':
                    out.append("&gt;");
                    break;
                case '"':
                    out.append("&quot;");
                    break;
                default:
                    if (ch >= 0x20 || ch == '\t' || ch == '\n' || ch == '\r') {
                        out.push_back(char(ch));
                    }
            }
            continue;
        }
        if (QChar::isHighSurrogate(ch) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            ch = QChar::surrogateToUcs4(char16_t(ch), text[i + 1].unicode());
            ++i;
        } else if (QChar::isSurrogate(ch) || ch == 0xFFFE || ch == 0xFFFF) {
            continue;  // not representable in XML
        }
        if (ch < 0x800) {
            out.push_back(char(0xC0 | (ch >> 6)));
            out.push_back(char(0x80 | (ch & 0x3F)));
        } else if (ch < 0x10000) {
            out.push_back(char(0xE0 | (ch >> 12)));
            out.push_back(char(0x80 | ((ch >> 6) & 0x3F)));
            out.push_back(char(0x80 | (ch & 0x3F)));
        } else {
            out.push_back(char(0xF0 | (ch >> 18)));
            out.push_back(char(0x80 | ((ch >> 12) & 0x3F)));
            out.push_back(char(0x80 | ((ch >> 6) & 0x3F)));
            out.push_back(char(0x80 | (ch & 0x3F)));
        }
    }
}

void XmlWriter::appendNumber(std::string& out, double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void XmlWriter::appendInteger(std::string& out, long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

}  // namespace qorv::automation
