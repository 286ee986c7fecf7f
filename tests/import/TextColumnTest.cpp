#include "import/LineNumbers.h"
#include "import/TextColumn.h"

#include <gtest/gtest.h>

#include <vector>

namespace qorv {
namespace {

// Lines as a logger file holds them: Latin-1 ones ("°C") and, after them, event lines whose
// Cyrillic turns the column wide. Every way of building a column must read back the same.
const QStringList kLines = {" 01/02/2015 10:00:00 - 20.1 °C", "", " 01/02/2015 10:05:00 - 20.2",
                            " 01/02/2015 10:10:00 - 1 (Есть)", " 01/02/2015 10:15:00 - 0 (Нет)"};

std::vector<qsizetype> everyOther(qsizetype n) {
    std::vector<qsizetype> keep;
    for (qsizetype i = 0; i < n; i += 2) {
        keep.push_back(i);
    }
    return keep;
}

// Appending, making to measure and writing, and keeping entries, on columns that stay eight-bit
// and on one that turns wide part way: the entries read back as they were written.
TEST(TextColumn, ReadsBackWhatWasWrittenInEitherWidth) {
    for (const qsizetype count : {qsizetype(3), kLines.size()}) {
        SCOPED_TRACE(count);
        const QStringList lines = kLines.first(count);
        const bool wide = count > 3;

        TextColumn appended;
        for (const QString& line : lines) {
            appended << line;
        }
        EXPECT_EQ(appended.isWide(), wide);
        EXPECT_EQ(appended, lines);
        EXPECT_EQ(appended.toList(), lines);

        QList<quint32> lengths;
        for (const QString& line : lines) {
            lengths << quint32(line.size());
        }
        TextColumn made = TextColumn::ofLengths(lengths, wide);
        const TextColumn::Writer writer = made.writer();
        for (qsizetype i = lines.size() - 1; i >= 0; --i) {
            writer.write(i, lines[i]);
        }
        EXPECT_EQ(made, appended);

        TextColumn::Reader read(appended);
        EXPECT_EQ(read.value(count), QStringView());
        EXPECT_EQ(appended.copyAt(count), QString());
        EXPECT_EQ(appended.copyAt(-1), QString());

        QStringList kept;
        for (const qsizetype i : everyOther(count)) {
            kept << lines[i];
        }
        made.keep(everyOther(count));
        EXPECT_EQ(made.toList(), kept);
    }
}

// A column that turns wide keeps the entries it had, and equals the same texts held narrow
// only where the texts are the same.
TEST(TextColumn, EqualityLooksAtTheTextsNotTheWidth) {
    TextColumn narrow = {"20.1", "20.2"};
    TextColumn wide = {"20.1", "20.2"};
    wide << QStringLiteral("Есть");
    ASSERT_TRUE(wide.isWide());
    ASSERT_FALSE(narrow.isWide());
    EXPECT_FALSE(narrow == wide);
    narrow << QStringLiteral("Есть");
    EXPECT_TRUE(narrow == wide);
    wide.keep({0, 1});
    TextColumn other = {"20.1", "20.2"};
    EXPECT_TRUE(wide == other);
    EXPECT_TRUE(other == wide);
    other.clear();
    other << QStringLiteral("20.1") << QStringLiteral("20.3");
    EXPECT_FALSE(wide == other);
}

// Line numbers held as runs give back each number as appended, across runs that break, a
// number that repeats or goes back, and entries taken away or kept.
TEST(LineNumbers, GiveBackEachNumberAsAppended) {
    const std::vector<std::vector<qsizetype>> cases = {
        {}, {7}, {1, 2, 3, 4}, {3, 4, 9, 10, 11, 2, 3, 3, 3, 40}, {5, 4, 3, 2, 1},
    };
    for (const std::vector<qsizetype>& numbers : cases) {
        LineNumbers held;
        for (const qsizetype n : numbers) {
            held.append(n);
        }
        ASSERT_EQ(held.size(), qsizetype(numbers.size()));
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            EXPECT_EQ(held.value(qsizetype(i)), numbers[i]) << i;
        }
        EXPECT_EQ(held.value(-1), 0);
        EXPECT_EQ(held.value(held.size()), 0);

        // Taking the last away and appending it again gives the same list.
        for (std::size_t cut = 0; cut <= numbers.size(); ++cut) {
            LineNumbers shorter = held;
            for (std::size_t k = cut; k < numbers.size(); ++k) {
                shorter.removeLast();
            }
            ASSERT_EQ(shorter.size(), qsizetype(cut));
            for (std::size_t k = cut; k < numbers.size(); ++k) {
                shorter.append(numbers[k]);
            }
            EXPECT_TRUE(shorter == held) << cut;
        }

        std::vector<qsizetype> odd;
        LineNumbers expected;
        for (std::size_t i = 1; i < numbers.size(); i += 2) {
            odd.push_back(qsizetype(i));
            expected.append(numbers[i]);
        }
        LineNumbers kept = held;
        kept.keep(odd);
        EXPECT_TRUE(kept == (held.isEmpty() ? held : expected));
    }
}

}  // namespace
}  // namespace qorv
