// Telling the encoding of a file's bytes, and cutting decoded text into lines.
#include "import/LineSplitter.h"
#include "import/TextDecoding.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace qorv {
namespace {

const char* Name(TextEncoding e) {
    switch (e) {
        case TextEncoding::Windows1251:
            return "Windows1251";
        case TextEncoding::Utf8:
            return "Utf8";
        case TextEncoding::Utf8WithBom:
            return "Utf8WithBom";
    }
    return "?";
}

TEST(DetectTextEncoding, DecidesByWholeStream) {
    struct Case {
        const char* what;
        QByteArray bytes;
        TextEncoding expected;
    };
    const Case cases[] = {
        {"empty", "", TextEncoding::Windows1251},
        {"ascii only", "Device 01\r\n", TextEncoding::Windows1251},
        {"cyrillic utf-8", "\xD0\xAF\xD1\x80", TextEncoding::Utf8},
        {"degree sign utf-8",
         "1 \xC2\xB0"
         "C",
         TextEncoding::Utf8},
        {"four-byte sequence", "\xF0\x9F\x98\x80", TextEncoding::Utf8},
        {"bom",
         "\xEF\xBB\xBF"
         "abc",
         TextEncoding::Utf8WithBom},
        {"bom with invalid tail", "\xEF\xBB\xBF\xFF", TextEncoding::Utf8WithBom},
        {"bom alone", "\xEF\xBB\xBF", TextEncoding::Utf8WithBom},
        {"cyrillic 1251", "\xDF\xF0\xEB\xFB\xEA", TextEncoding::Windows1251},
        {"degree sign 1251",
         "1 \xB0"
         "C",
         TextEncoding::Windows1251},
        {"valid then invalid", "\xD0\xAF ok \xB0", TextEncoding::Windows1251},
        {"truncated at end", "\xD0\xAF\xD0", TextEncoding::Windows1251},
        {"overlong two-byte", "\xC0\xAF", TextEncoding::Windows1251},
        {"overlong three-byte", "\xE0\x80\xAF", TextEncoding::Windows1251},
        {"surrogate", "\xED\xA0\x80", TextEncoding::Windows1251},
        {"above U+10FFFF", "\xF4\x90\x80\x80", TextEncoding::Windows1251},
        {"lead F5", "\xF5\x80\x80\x80", TextEncoding::Windows1251},
        {"nul bytes and utf-8", QByteArray("\0\xD0\xAF\0", 4), TextEncoding::Utf8},
        {"utf-8 after 8 ascii bytes", "abcdefgh\xD0\xAF", TextEncoding::Utf8},
        {"invalid after 8 ascii bytes", "abcdefgh\xAF", TextEncoding::Windows1251},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(Name(DetectTextEncoding(c.bytes)), Name(c.expected)) << c.what;
        // The same verdict when the bytes arrive one at a time.
        EncodingSniffer sniffer;
        for (char b : c.bytes) {
            sniffer.feed(QByteArrayView(&b, 1));
        }
        EXPECT_STREQ(Name(sniffer.verdict()), Name(c.expected)) << c.what << " (bytewise)";
    }
}

TEST(TextDecoder, DecodesWindows1251AndUtf8AcrossPieces) {
    TextDecoder cp1251(TextEncoding::Windows1251);
    EXPECT_EQ(cp1251.decode("\xDF\xF0\xEB\xFB\xEA \xB0\x43 \xB9").toString(), "Ярлык °C №");
    TextDecoder utf8(TextEncoding::Utf8);
    QString joined = utf8.decode("\xD0").toString();
    joined += utf8.decode("\xAF\xD1").toString();
    joined += utf8.decode("\x80").toString();
    EXPECT_EQ(joined, "Яр");
}

// Lines as the splitter gives them, the text arriving in pieces cut at `cuts`.
QStringList Split(const QString& text, const std::vector<qsizetype>& cuts) {
    QStringList lines;
    auto onLine = [&lines](QStringView line) { lines << line.toString(); };
    LineSplitter splitter;
    qsizetype from = 0;
    for (qsizetype cut : cuts) {
        splitter.feed(QStringView(text).sliced(from, cut - from), onLine);
        from = cut;
    }
    splitter.feed(QStringView(text).sliced(from), onLine);
    splitter.finish(onLine);
    return lines;
}

TEST(LineSplitter, EveryLineEndEndsOneLine) {
    EXPECT_EQ(Split("a\r\nb\nc\rd", {}), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(Split("a\r\r\nb", {}), QStringList({"a", "", "b"}));
    EXPECT_EQ(Split("a\n\rb", {}), QStringList({"a", "", "b"}));
    EXPECT_EQ(Split("a\n\nb\r\n", {}), QStringList({"a", "", "b"}));
    EXPECT_EQ(Split("\r\n", {}), QStringList({""}));
    EXPECT_EQ(Split("", {}), QStringList());
    EXPECT_EQ(Split("no end", {}), QStringList({"no end"}));
}

TEST(LineSplitter, PiecesDoNotChangeTheLines) {
    const QString text = "first\r\nsecond\rthird\n\r\n\rlast line\r";
    const QStringList whole = Split(text, {});
    ASSERT_EQ(whole, QStringList({"first", "second", "third", "", "", "last line"}));
    for (qsizetype a = 0; a <= text.size(); ++a) {
        for (qsizetype b = a; b <= text.size(); ++b) {
            EXPECT_EQ(Split(text, {a, b}), whole) << "cut at " << a << " and " << b;
        }
    }
}

}  // namespace
}  // namespace qorv
