// Saving the workbook of a two-channel report: our component against libxlsxwriter writing the
// same cells, and our component at 1,000,000 samples against the floor of any writer of that
// workbook (SaveFloor.h). Each case runs in a forked child, best of two; its peak memory is the
// child's maximum resident set (wait4), input texts included.

#include "BenchUtil.h"
#include "SaveFloor.h"
#include "files/MemoryReuse.h"

#include "automation/Workbook.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xlsxwriter.h>
#include <QDateTime>
#include <QDir>
#include <QStringList>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

using namespace qorv::automation;
using qorv::bench::kBlockRows;
using qorv::bench::kHeaderRow;
using qorv::bench::kPageRows;

namespace {

// The report's value texts: times as the system writes them, chart values with 12 decimals,
// printed values with one.
// The report holds the time and value columns as texts; the numbers are for libxlsxwriter only.
struct Samples {
    QStringList times;
    QStringList first;
    QStringList second;
    std::vector<double> serials, firstValues, secondValues;
};

Samples makeSamples(int n, bool numbers) {
    Samples s;
    const QDateTime start(QDate(2015, 12, 8), QTime(0, 0), Qt::UTC);
    for (int i = 0; i < n; ++i) {
        const QDateTime t = start.addSecs(qint64(i) * 10);
        s.times << t.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
        const qorv::bench::WorkbookSample sample = qorv::bench::BenchWorkbookSample(i);
        s.first << QString::number(sample.first, 'f', 12);
        s.second << QString::number(sample.second, 'f', 12);
        if (numbers) {
            s.serials.push_back(sample.serial);
            s.firstValues.push_back(sample.first);
            s.secondValues.push_back(sample.second);
        }
    }
    return s;
}

QString cell(const char* column, int row) {
    return QString::fromLatin1(column) + QString::number(row);
}
QString block(const char* from, int first, const char* to, int last) {
    return cell(from, first) + u':' + cell(to, last);
}

// A value text read back as the report reads it: an exact read of its digits (the report's own
// reader has such a path), not QString::toDouble, whose locale handling cost more than the
// save itself.
double readBack(const QString& text) {
    char digits[32];
    const auto n = std::size_t(std::min<qsizetype>(text.size(), qsizetype(sizeof digits)));
    for (std::size_t i = 0; i < n; ++i) {
        digits[i] = char(text[qsizetype(i)].unicode());
    }
    double value = 0;
    std::from_chars(digits, digits + n, value);
    return value;
}

// The workbook a report run builds, through the object model, then saved.
void saveOurs(const Samples& s, const QString& path) {
    const int n = int(s.times.size());
    Application app = Application::connect();
    Workbook& book = app.workbooks().add();
    Worksheet& report = book.worksheet(1);
    Worksheet& data = book.sheets().add(&report);
    report.range("A1:F1").setColumnWidth(13.57);
    data.range("A1:F1").setColumnWidth(15);

    data.range("A3").setValue2(QStringLiteral("График температуры"));
    data.range("A4").setValue2(QStringLiteral("Время"));
    data.range("B4").setValue2(QStringLiteral("Темпер."));
    data.range("A4:B4").borders().setLineStyle(1);
    const int first = kHeaderRow + 1;
    const int last = kHeaderRow + n;
    Range times = data.range(block("A", first, "A", last));
    times.setFormulaR1C1Local(TextArray::column(s.times));
    times.borders().setLineStyle(1);
    Range channel1 = data.range(block("B", first, "B", last));
    channel1.setValue(TextArray::column(s.first));
    channel1.borders().setLineStyle(1);
    Range channel2 = data.range(block("C", first, "C", last));
    channel2.setValue(TextArray::column(s.second));
    channel2.borders().setLineStyle(1);

    // Printed table: pages of two blocks side by side, each page begun by a break.
    int page = 2;
    int row = 0;
    for (int start = 0, position = 0; start < n; start += kBlockRows, position = 1 - position) {
        const int count = std::min(kBlockRows, n - start);
        if (position == 0) {
            row = (page - 1) * kPageRows + 1;
            report.hPageBreaks().add(report.range(cell("A", row)));
            report.range(cell("E", row)).setValue2(QStringLiteral("№ 1234"));
            report.range(cell("F", row)).setValue2(QStringLiteral("Страница %1").arg(page));
            ++page;
        }
        const char* columns[3] = {position == 0 ? "A" : "D", position == 0 ? "B" : "E",
                                  position == 0 ? "C" : "F"};
        // Each block's texts are made, written and dropped before the next block.
        QStringList blockTexts[3];
        for (int i = start; i < start + count; ++i) {
            blockTexts[0] << s.times[i];
            blockTexts[1] << QString::number(readBack(s.first[i]), 'f', 1);
            blockTexts[2] << QString::number(readBack(s.second[i]), 'f', 1);
        }
        for (int c = 0; c < 3; ++c) {
            report.range(cell(columns[c], row + 1)).setValue2(QStringLiteral("Время"));
            report.range(block(columns[c], row + 2, columns[c], row + 1 + count))
                .setValue(TextArray::column(blockTexts[c]));
        }
        Range values = report.range(block(columns[0], row + 2, columns[2], row + 1 + count));
        values.borders().setLineStyle(1);
        values.font().setSize(8);
        values.setHorizontalAlignment(3);
    }

    Chart& created = book.charts().add(&data);
    created.setChartType(73);
    created.setSourceData(data.range(block("A", first, "C", last)), 2);
    Chart& chart = created.location(2, QStringLiteral("Лист1"));
    chart.seriesCollection(2).setAxisGroup(2);
    chart.seriesCollection(1).border().setColor(255);
    chart.seriesCollection(2).border().setColor(16711680);
    Shape& shape = report.shapes().item(report.chartObjects().count());
    shape.setTop(report.range("A62").top());
    shape.setHeight(report.range("A84").top() - report.range("A62").top());
    shape.setWidth(430);

    const int end = row + kPageRows + 110;
    report.range(block("A", 2, "F", end)).font().setName(QStringLiteral("Arial Cyr"));
    report.range(block("A", 1, "E", end)).setRowHeight(12.5);
    report.range(block("A", 1, "E", end)).setVerticalAlignment(-4108);
    report.pageSetup().setPaperSize(9);
    book.saveAs(path);
}

// The cell formats of the libxlsxwriter workbook.
struct LxwFormats {
    lxw_format* border;
    lxw_format* dateCell;
    lxw_format* valueCell;
    lxw_format* printedDate;
    lxw_format* printedValue;
};
LxwFormats addFormats(lxw_workbook* book) {
    lxw_format* border = workbook_add_format(book);
    format_set_border(border, LXW_BORDER_THIN);
    lxw_format* dateCell = workbook_add_format(book);
    format_set_border(dateCell, LXW_BORDER_THIN);
    format_set_num_format(dateCell, "dd\\.mm\\.yyyy hh:mm:ss");
    lxw_format* valueCell = workbook_add_format(book);
    format_set_border(valueCell, LXW_BORDER_THIN);
    format_set_num_format(valueCell, "0.000000000000");
    lxw_format* printedDate = workbook_add_format(book);
    format_set_border(printedDate, LXW_BORDER_THIN);
    format_set_num_format(printedDate, "dd\\.mm\\.yyyy hh:mm:ss");
    format_set_font_size(printedDate, 8);
    format_set_align(printedDate, LXW_ALIGN_CENTER);
    format_set_font_name(printedDate, "Arial Cyr");
    lxw_format* printedValue = workbook_add_format(book);
    format_set_border(printedValue, LXW_BORDER_THIN);
    format_set_num_format(printedValue, "0.0");
    format_set_font_size(printedValue, 8);
    format_set_align(printedValue, LXW_ALIGN_CENTER);
    format_set_font_name(printedValue, "Arial Cyr");
    return {border, dateCell, valueCell, printedDate, printedValue};
}

// The same cells written with libxlsxwriter (in-memory mode), numbers given directly.
void saveLibxlsxwriter(const Samples& s, const QString& path) {
    const int n = int(s.times.size());
    lxw_workbook_options options = {};
    options.constant_memory = LXW_FALSE;
    lxw_workbook* book = workbook_new_opt(path.toLocal8Bit().constData(), &options);
    lxw_worksheet* report = workbook_add_worksheet(book, "График");
    lxw_worksheet* data = workbook_add_worksheet(book, "Данные");
    const auto [border, dateCell, valueCell, printedDate, printedValue] = addFormats(book);
    lxw_format* rows = workbook_add_format(book);
    format_set_align(rows, LXW_ALIGN_VERTICAL_CENTER);
    worksheet_set_column(report, 0, 5, 13.57, nullptr);
    worksheet_set_column(data, 0, 5, 15, nullptr);

    worksheet_write_string(data, 2, 0, "График температуры", nullptr);
    worksheet_write_string(data, 3, 0, "Время", border);
    worksheet_write_string(data, 3, 1, "Темпер.", border);
    for (int i = 0; i < n; ++i) {
        worksheet_write_number(data, kHeaderRow + i, 0, s.serials[std::size_t(i)], dateCell);
        worksheet_write_number(data, kHeaderRow + i, 1, s.firstValues[std::size_t(i)], valueCell);
        worksheet_write_number(data, kHeaderRow + i, 2, s.secondValues[std::size_t(i)], valueCell);
    }
    std::vector<lxw_row_t> breaks;
    int page = 2;
    int row = 0;
    for (int start = 0, position = 0; start < n; start += kBlockRows, position = 1 - position) {
        const int count = std::min(kBlockRows, n - start);
        if (position == 0) {
            row = (page - 1) * kPageRows;
            breaks.push_back(lxw_row_t(row));
            worksheet_write_string(report, lxw_row_t(row), 4, "№ 1234", nullptr);
            worksheet_write_string(report, lxw_row_t(row), 5,
                                   QStringLiteral("Страница %1").arg(page).toUtf8().constData(),
                                   nullptr);
            ++page;
        }
        const int column = position == 0 ? 0 : 3;
        for (int c = 0; c < 3; ++c) {
            worksheet_write_string(report, lxw_row_t(row + 1), lxw_col_t(column + c), "Время",
                                   nullptr);
        }
        for (int i = 0; i < count; ++i) {
            const auto k = std::size_t(start + i);
            const auto r = lxw_row_t(row + 2 + i);
            worksheet_write_number(report, r, lxw_col_t(column), s.serials[k], printedDate);
            worksheet_write_number(report, r, lxw_col_t(column + 1),
                                   std::round(s.firstValues[k] * 10) / 10, printedValue);
            worksheet_write_number(report, r, lxw_col_t(column + 2),
                                   std::round(s.secondValues[k] * 10) / 10, printedValue);
        }
    }
    breaks.push_back(0);
    worksheet_set_h_pagebreaks(report, breaks.data());
    const int end = row + kPageRows + 110;
    for (int r = 0; r < end; ++r) {
        worksheet_set_row(report, lxw_row_t(r), 12.5, rows);
    }
    worksheet_set_paper(report, 9);

    lxw_chart* chart = workbook_add_chart(book, LXW_CHART_SCATTER_SMOOTH);
    const std::string x = "=Данные!$A$5:$A$" + std::to_string(kHeaderRow + n);
    const std::string y1 = "=Данные!$B$5:$B$" + std::to_string(kHeaderRow + n);
    const std::string y2 = "=Данные!$C$5:$C$" + std::to_string(kHeaderRow + n);
    chart_add_series(chart, x.c_str(), y1.c_str());
    // This libxlsxwriter has no secondary axis; the series is drawn on the primary one.
    chart_add_series(chart, x.c_str(), y2.c_str());
    worksheet_insert_chart(report, 61, 0, chart);
    workbook_close(book);
}

struct Result {
    double seconds = 0;
    double peakMb = 0;
};

// The best time and the highest peak of two results; `b` alone when `first`.
Result better(bool first, const Result& a, const Result& b) {
    return first ? b : Result{std::min(a.seconds, b.seconds), std::max(a.peakMb, b.peakMb)};
}

// Runs one case in a child process: time of the work alone, peak resident memory of it all.
template <typename Work>
Result measure(int samples, bool numbers, Work work) {
    int fds[2];
    if (pipe(fds) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        const Samples s = makeSamples(samples, numbers);
        const auto start = std::chrono::steady_clock::now();
        work(s);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (write(fds[1], &seconds, sizeof seconds) != sizeof seconds) {
            _exit(2);
        }
        _exit(0);
    }
    close(fds[1]);
    Result result;
    if (read(fds[0], &result.seconds, sizeof result.seconds) != sizeof result.seconds) {
        std::fprintf(stderr, "bench_save: a case failed\n");
        std::exit(1);
    }
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    result.peakMb = double(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
    return result;
}

}  // namespace

int main() {
    // The allocator set as the program sets it (the floors, run in children, inherit it).
    qorv::files::KeepFreedMemoryForReuse();
    const QString dir = QDir::temp().filePath(QStringLiteral("qorv-bench-save-%1").arg(getpid()));
    QDir().mkpath(dir);
    auto path = [&](const char* name) { return dir + u'/' + QString::fromLatin1(name); };

    // Two rounds, every case in turns, so that a slower moment of the machine does not fall on
    // one of them only; best time and highest peak of each. The floor's input is made before
    // its child starts (and dropped after it, so that no other case's memory counts it).
    const std::string floorPath = path("floor1000000.xlsx").toStdString();
    Result ours, peer, large;
    double floorSeconds = 0;
    for (int round = 0; round < 2; ++round) {
        const bool first = round == 0;
        ours = better(first, ours, measure(65536, false, [&](const Samples& s) {
                          saveOurs(s, path("ours65536"));
                      }));
        peer = better(first, peer, measure(65536, true, [&](const Samples& s) {
                          saveLibxlsxwriter(s, path("libxlsxwriter65536.xlsx"));
                      }));
        large = better(first, large, measure(1000000, false, [&](const Samples& s) {
                           saveOurs(s, path("ours1000000"));
                       }));
        const double f =
            qorv::bench::MeasureInChild([&, values = qorv::bench::MakeFloorValues(1000000)] {
                qorv::bench::WriteSaveFloor(values, floorPath);
            }).seconds;
        floorSeconds = first ? f : std::min(floorSeconds, f);
    }

    std::printf("bench: save_65536 %.3f s\n", ours.seconds);
    std::printf("bench: save_libxlsxwriter_65536 %.3f s\n", peer.seconds);
    std::printf("bench: save_vs_libxlsxwriter %.2f x\n", ours.seconds / peer.seconds);
    std::printf("bench: save_65536_peak_rss %.0f MB\n", ours.peakMb);
    std::printf("bench: save_libxlsxwriter_65536_peak_rss %.0f MB\n", peer.peakMb);
    std::printf("bench: save_1000000 %.3f s\n", large.seconds);
    std::printf("bench: save_1000000_peak_rss %.0f MB\n", large.peakMb);
    std::printf("bench: save_cost_per_sample_ratio %.2f x\n",
                (large.seconds / 1000000.0) / (ours.seconds / 65536.0));
    using qorv::bench::Report;
    Report("save_floor_1000000", floorSeconds, "s");
    Report("save_floor_1000000_xml_bytes", qorv::bench::ZipContentBytes(floorPath) / 1e6, "MB");
    Report("save_1000000_xml_bytes",
           qorv::bench::ZipContentBytes(path("ours1000000.xlsx").toStdString()) / 1e6, "MB");
    Report("save_1000000_vs_floor", large.seconds / floorSeconds, "x");
    QDir(dir).removeRecursively();
    return 0;
}
