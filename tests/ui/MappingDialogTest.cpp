// The mapping study dialog as a user fills it: what the list shows of each file, the study it
// asks for, and what it refuses; and the main window's button that opens it.
#include "ui/MappingDialog.h"

#include "report/FormatSettings.h"
#include "ui/MainWindow.h"
#include "ui/ScriptedDesktop.h"
#include "ui/UiMessages.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace qorv::ui {
namespace {

using testing::ScriptedDesktop;
namespace msg = messages;

QString Example(const char* name) {
    return QStringLiteral(QORV_EXAMPLES "/") + name;
}

QDateTime Utc(const char* text) {
    const QDateTime read = QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
    return QDateTime(read.date(), read.time(), Qt::UTC);
}

// The example without its first and its last day, in `dir`.
QString CutExample(const QTemporaryDir& dir) {
    QFile example(Example("temperature_humidity.txt"));
    EXPECT_TRUE(example.open(QIODevice::ReadOnly));
    QByteArray shorter;
    for (const QByteArray& line : example.readAll().split('\n')) {
        if (!line.startsWith(" 12/05/2023") && !line.startsWith(" 16/05/2023")) {
            shorter += line + '\n';
        }
    }
    QFile cut(dir.filePath("cut.txt"));
    EXPECT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(shorter.chopped(1));
    return cut.fileName();
}

class MappingDialogTest : public ::testing::TestWithParam<const char*> {
  protected:
    template <typename T>
    T* control(const char* name) {
        T* found = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString cell(int row, int column) {
        return control<QTreeWidget>("FileList")->topLevelItem(row)->text(column);
    }
    void range(const char* low, const char* high) {
        control<QLineEdit>("EditLow")->setText(QString::fromUtf8(low));
        control<QLineEdit>("EditHigh")->setText(QString::fromUtf8(high));
    }

    const ScopedSystemLocale system{QLocale(QString::fromLatin1(GetParam()))};
    ScriptedDesktop desktop;
    MappingDialog dialog{desktop};
};

// The rows show each file's place and recording time, on a comma and on a point system; the
// request lists the files in their order, without a period unless it is narrowed, and reads
// the range with either separator.
TEST_P(MappingDialogTest, RowsAndRequestFollowTheFields) {
    const QString missing = Example("no_such_logger.txt");
    dialog.addFiles({Example("temperature_humidity.txt"), Example("ds1921_temperature.txt"),
                     Example("humidity_only.txt"), missing});
    dialog.addFiles({Example("ds1921_temperature.txt")});  // listed already

    ASSERT_EQ(control<QTreeWidget>("FileList")->topLevelItemCount(), 4);
    EXPECT_EQ(cell(0, 1), QStringLiteral("стеллаж 4, полка 2"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("12.05.2023 08:00 – 16.05.2023 07:55"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("ds1921_temperature.txt"));  // no place in the label
    EXPECT_EQ(cell(2, 1), QStringLiteral("у окна"));
    EXPECT_TRUE(cell(3, 1).startsWith(msg::MappingFileUnreadable(QString())))
        << cell(3, 1).toStdString();
    EXPECT_TRUE(cell(3, 2).isEmpty());

    range(" 2,5", "8.25 ");
    std::optional<MappingRequest> request = dialog.request();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->files,
              QStringList({Example("temperature_humidity.txt"), Example("ds1921_temperature.txt"),
                           Example("humidity_only.txt"), missing}));
    EXPECT_FALSE(request->from || request->to);
    EXPECT_EQ(request->low, 2.5);
    EXPECT_EQ(request->high, 8.25);
    EXPECT_TRUE(desktop.messages.isEmpty());

    // Narrowed: exactly the times shown, as the logger's clock reads them.
    control<QCheckBox>("CheckBoxPeriod")->setChecked(true);
    control<QDateTimeEdit>("DateTimeFrom")
        ->setDateTime(QDateTime(QDate(2023, 5, 13), QTime(6, 30)));
    control<QDateTimeEdit>("DateTimeTo")
        ->setDateTime(QDateTime(QDate(2023, 5, 14), QTime(18, 0, 5)));
    range("", "");
    request = dialog.request();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->from, Utc("2023-05-13T06:30:00"));
    EXPECT_EQ(request->to, Utc("2023-05-14T18:00:05"));
    EXPECT_FALSE(request->low || request->high);

    // Removing the selected rows keeps the others in their order.
    control<QTreeWidget>("FileList")->topLevelItem(1)->setSelected(true);
    control<QTreeWidget>("FileList")->topLevelItem(3)->setSelected(true);
    control<QPushButton>("ButtonRemove")->click();
    EXPECT_EQ(dialog.request()->files,
              QStringList({Example("temperature_humidity.txt"), Example("humidity_only.txt")}));
}

// Until narrowed, the period's edits show the time every listed logger recorded: the latest
// first sample to the earliest last one.
TEST_P(MappingDialogTest, ThePeriodShownIsTheCommonOne) {
    QTemporaryDir dir;
    const QString cut = CutExample(dir);
    dialog.addFiles({Example("temperature_humidity.txt"), cut});
    EXPECT_EQ(cell(1, 2), QStringLiteral("13.05.2023 00:00 – 15.05.2023 23:55"));
    const auto* from = control<QDateTimeEdit>("DateTimeFrom");
    EXPECT_EQ(from->dateTime(), QDateTime(QDate(2023, 5, 13), QTime(0, 0)));
    EXPECT_EQ(control<QDateTimeEdit>("DateTimeTo")->dateTime(),
              QDateTime(QDate(2023, 5, 15), QTime(23, 55)));
    EXPECT_FALSE(from->isEnabled());
    control<QCheckBox>("CheckBoxPeriod")->setChecked(true);
    EXPECT_TRUE(from->isEnabled());
}

struct Refusal {
    const char* low;
    const char* high;
    bool narrowedBackwards;
    QString message;
};

TEST_P(MappingDialogTest, RefusesWithAMessage) {
    EXPECT_FALSE(dialog.request());
    EXPECT_EQ(desktop.messages, QStringList{msg::MappingNoFiles});

    dialog.addFiles({Example("temperature_humidity.txt"), Example("humidity_only.txt")});
    const Refusal refusals[] = {
        {"2", "", false, msg::MappingOneSidedRange},
        {"", "8,0", false, msg::MappingOneSidedRange},
        {"2;5", "8", false, msg::NotAValidFloat(msg::MappingRangeLow, "2;5")},
        {"2", "8,,0", false, msg::NotAValidFloat(msg::MappingRangeHigh, "8,,0")},
        {"8", "8.0", false, msg::MappingRangeReversed},
        {"", "", true, msg::MappingPeriodReversed},
    };
    for (const Refusal& r : refusals) {
        desktop.messages.clear();
        range(r.low, r.high);
        control<QCheckBox>("CheckBoxPeriod")->setChecked(r.narrowedBackwards);
        control<QDateTimeEdit>("DateTimeTo")
            ->setDateTime(control<QDateTimeEdit>("DateTimeFrom")->dateTime().addSecs(-1));
        EXPECT_FALSE(dialog.request()) << r.low << " " << r.high;
        EXPECT_EQ(desktop.messages, QStringList{r.message}) << r.low << " " << r.high;
    }
}

// "Построить" saves the study into the folder and opens it; a failure names the file in the
// error box, saves nothing, and leaves the dialog as the user filled it.
TEST(MappingDialogBuild, SavesAndOpensTheStudyOrShowsWhyNot) {
    QTemporaryDir dir;
    ScriptedDesktop desktop;
    MappingDialog dialog(desktop);
    dialog.prepare(dir.path() + '/', false);
    const QString missing = dir.filePath("gone.txt");
    dialog.addFiles({Example("temperature_humidity.txt"), CutExample(dir), missing});
    dialog.findChild<QLineEdit*>(QStringLiteral("EditLow"))->setText(QStringLiteral("18,5"));
    dialog.findChild<QLineEdit*>(QStringLiteral("EditHigh"))->setText(QStringLiteral("23.5"));

    dialog.build();
    ASSERT_EQ(desktop.errors.size(), 1);
    EXPECT_TRUE(desktop.errors.front().contains(QStringLiteral("gone.txt")))
        << desktop.errors.front().toStdString();
    EXPECT_TRUE(desktop.opened.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.xlsx"}).isEmpty());
    EXPECT_FALSE(dialog.running());
    EXPECT_TRUE(dialog.findChild<QPushButton*>(QStringLiteral("ButtonBuild"))->isEnabled());
    EXPECT_EQ(dialog.request()->files.size(), 3);
    EXPECT_EQ(dialog.request()->low, 18.5);

    QTreeWidget* list = dialog.findChild<QTreeWidget*>(QStringLiteral("FileList"));
    list->topLevelItem(2)->setSelected(true);
    dialog.findChild<QPushButton*>(QStringLiteral("ButtonRemove"))->click();
    dialog.build();
    EXPECT_EQ(desktop.errors.size(), 1);
    ASSERT_EQ(desktop.opened.size(), 1);
    EXPECT_EQ(QFileInfo(desktop.opened.front()).dir(), QDir(dir.path()));
    EXPECT_TRUE(QFileInfo(desktop.opened.front()).fileName().startsWith(u"Картирование-"));
    EXPECT_TRUE(QFileInfo::exists(desktop.opened.front()));
}

INSTANTIATE_TEST_SUITE_P(Separators, MappingDialogTest, ::testing::Values("ru_RU", "en_US"));

// The window's button sits in the bottom row between "Excel" and "Выход", as they are, and
// covers no other control whatever a load shows; Ctrl+M presses it.
TEST(MappingButton, FitsTheBottomRowWithoutCoveringAControl) {
    QTemporaryDir dir;
    ProgramPlace place{dir.path(), {dir.filePath("a.ini"), dir.filePath("b.ini")}, QString()};
    ProgramState state;
    ScriptedDesktop desktop;
    TForm1 window(state, desktop, place);
    const auto* button = window.findChild<QPushButton*>(QStringLiteral("Button11"));
    const auto* excel = window.findChild<QPushButton*>(QStringLiteral("Button1"));
    const auto* exit = window.findChild<QPushButton*>(QStringLiteral("Button10"));
    ASSERT_TRUE(button && excel && exit);
    EXPECT_EQ(button->y(), excel->y());
    EXPECT_EQ(button->height(), excel->height());
    EXPECT_EQ(button->font(), excel->font());
    EXPECT_GT(button->x(), excel->geometry().right());
    EXPECT_LT(button->geometry().right(), exit->x());
    EXPECT_EQ(button->shortcut(), QKeySequence(QStringLiteral("Ctrl+M")));

    for (const char* file : {"temperature_humidity.txt", "events_only.txt"}) {
        window.openFiles({Example(file)});
        for (const QWidget* other : window.findChildren<QWidget*>()) {
            if (other == button || other->isWindow() || !other->isVisibleTo(&window) ||
                button->isAncestorOf(other)) {
                continue;
            }
            const QRect rect(other->mapTo(&window, QPoint()), other->size());
            EXPECT_FALSE(rect.intersects(button->geometry())) << other->objectName().toStdString();
        }
    }
}

}  // namespace
}  // namespace qorv::ui
