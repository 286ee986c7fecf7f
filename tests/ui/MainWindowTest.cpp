// The main window as a user drives it: what a load shows, the "Excel" button's checks and run,
// the batch, the lists' change rules, the key filter, the settings file at start and close.
// The option rules themselves are the report options' own tests; here the window's wiring.
#include "report/Messages.h"
#include "ui/ChartAppearanceDialog.h"
#include "ui/DroppedFiles.h"
#include "ui/MainWindow.h"
#include "ui/NumericKeyFilter.h"
#include "ui/ScriptedDesktop.h"
#include "ui/TimeAxisDialog.h"
#include "ui/UiMessages.h"

#include "files/FileName.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/types.h>

namespace qorv::ui {
namespace {

QString Example(const char* name) {
    return QStringLiteral(QORV_EXAMPLES "/") + name;
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        QDir(dir_.path()).mkpath("program");
        QDir(dir_.path()).mkpath("config");
        QDir(dir_.path()).mkpath("reports");
        place_.directory = dir_.filePath("program");
        place_.settings = {dir_.filePath("program/Qorv_Pr.ini"),
                           dir_.filePath("config/Qorv_Pr.ini")};
        window_ = std::make_unique<TForm1>(state_, desktop_, place_);
    }

    template <typename T>
    T* control(const char* name) const {
        T* found = window_->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    bool shown(const char* name) const {
        return control<QWidget>(name)->isVisibleTo(window_.get());
    }
    QString text(const char* name) const { return control<QLineEdit>(name)->text(); }
    void type(const char* name, const QString& value) { control<QLineEdit>(name)->setText(value); }
    QString reportsDir() const { return dir_.filePath("reports") + '/'; }
    // A small file in the test folder.
    QString put(const QString& name, const QByteArray& bytes) const {
        const QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QStringList savedReports() const {
        return QDir(dir_.filePath("reports")).entryList({"*.xlsx"}, QDir::Files, QDir::Name);
    }

    QTemporaryDir dir_;
    ProgramPlace place_;
    ProgramState state_;
    testing::ScriptedDesktop desktop_;
    std::unique_ptr<TForm1> window_;
};

struct LoadCase {
    const char* file;
    bool channel1;      // GroupBox1, Edit12, Button2 shown and "1 канал" ticked
    bool channel2;      // GroupBox2, Edit13 shown and "2 канал" ticked and enabled
    bool mkt;           // the mean kinetic temperature controls
    bool coefficients;  // smoothing and c, d (not for events)
    const char* channel2Name;
};

TEST_F(MainWindowTest, LoadShowsWhatEachKindOfFileHolds) {
    const LoadCase cases[] = {
        {"ds1921_temperature.txt", true, false, true, true, "Данные"},
        {"temperature_humidity.txt", true, true, true, true, "Влажность"},
        {"temperature_events.txt", true, true, true, false, "Событие"},
        {"temperature_second_temperature.txt", true, true, false, true, "Темпер."},
        {"humidity_only.txt", false, true, false, true, "Влажность"},
        {"events_only.txt", false, true, false, false, "Событие"},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.file);
        // Each load starts from a fresh program, as the mean kinetic temperature controls are
        // never hidden again once shown.
        ProgramState state;
        TForm1 window(state, desktop_, place_);
        window.openFiles({Example(c.file)});
        auto find = [&](const char* name) {
            return window.findChild<QWidget*>(QString::fromLatin1(name));
        };
        EXPECT_EQ(find("GroupBox1")->isVisibleTo(&window), c.channel1);
        EXPECT_EQ(find("Button2")->isVisibleTo(&window), c.channel1);
        EXPECT_EQ(window.findChild<QCheckBox*>("CheckBox6")->isChecked(), c.channel1);
        EXPECT_TRUE(find("CheckBox6")->isEnabled());
        EXPECT_EQ(find("GroupBox2")->isVisibleTo(&window), c.channel2);
        EXPECT_EQ(find("Edit13")->isVisibleTo(&window), c.channel2);
        EXPECT_EQ(window.findChild<QCheckBox*>("CheckBox7")->isChecked(), c.channel2);
        EXPECT_EQ(find("CheckBox7")->isEnabled(), c.channel2);
        EXPECT_EQ(find("CheckBox5")->isVisibleTo(&window), c.mkt);
        EXPECT_EQ(find("Label18")->isVisibleTo(&window), c.mkt);
        EXPECT_EQ(!find("Edit6")->isHidden(), c.coefficients);
        EXPECT_EQ(!find("Edit11")->isHidden(), c.coefficients);
        EXPECT_EQ(window.findChild<QLineEdit*>("Edit13")->text(),
                  QString::fromUtf8(c.channel2Name));
        EXPECT_EQ(window.findChild<QLineEdit*>("Edit1")->text(), Example(c.file));
        EXPECT_TRUE(window.windowTitle().startsWith(QStringLiteral("Qorv_Pr –")));
        // The range: the first and the last sample, the time lists filled.
        const auto* start = window.findChild<QComboBox*>("ComboBox1");
        const auto* end = window.findChild<QComboBox*>("ComboBox2");
        EXPECT_EQ(start->currentIndex(), 0);
        EXPECT_EQ(end->currentIndex(), end->count() - 1);
        EXPECT_EQ(start->currentText(), state.data.FirstDate);
        EXPECT_EQ(window.findChild<QComboBox*>("ComboBox4")->count(), 24);
        EXPECT_EQ(window.findChild<QComboBox*>("ComboBox8")->count(), 60);
        EXPECT_FALSE(window.findChild<QPlainTextEdit*>("Memo2")->toPlainText().isEmpty());
        EXPECT_TRUE(desktop_.errors.isEmpty());
    }
}

TEST_F(MainWindowTest, ExcelButtonRefusesInTheChecksOrderAndStaysUsable) {
    // Before any load: open a file first.
    window_->Button1Click();
    ASSERT_EQ(desktop_.messages.size(), 1);
    EXPECT_EQ(desktop_.messages.back(), messages::OpenAFileFirst);

    window_->openFiles({Example("temperature_humidity.txt")});
    type("Edit2", reportsDir());
    // Two faults at once: the smoothing field's message comes before the step's.
    type("Edit6", "1,5");
    type("Edit5", "x");
    window_->Button1Click();
    EXPECT_EQ(desktop_.messages.back(), QStringLiteral("Ошибка поля \"Коэффициент сглаживания\"!"));
    type("Edit6", "0.5");
    window_->Button1Click();
    EXPECT_EQ(desktop_.messages.back(), QStringLiteral("Ошибка поля \"Шаг в отсчетах\"!"));
    type("Edit5", "1");
    type("Edit2", dir_.filePath("missing/"));
    window_->Button1Click();
    EXPECT_EQ(desktop_.messages.back(), QStringLiteral("Директория сохранения задана не верно"));
    // Every field as the user left it, the window usable, nothing built.
    EXPECT_EQ(text("Edit6"), "0.5");
    EXPECT_TRUE(control<QPushButton>("Button1")->isEnabled());
    EXPECT_FALSE(window_->running());
    EXPECT_TRUE(savedReports().isEmpty());
    EXPECT_TRUE(desktop_.opened.isEmpty());
}

TEST_F(MainWindowTest, ExcelButtonBuildsTheReportWithTheWindowsOptionsAndOpensIt) {
    window_->openFiles({Example("temperature_humidity.txt")});
    type("Edit2", reportsDir());
    type("Edit3", "Протокол склада");
    control<QCheckBox>("CheckBox8")->click();  // PDF copy
    window_->Button1Click();
    ASSERT_TRUE(desktop_.errors.isEmpty()) << desktop_.errors.join('\n').toStdString();
    ASSERT_EQ(savedReports().size(), 1);
    ASSERT_EQ(desktop_.opened.size(), 1);
    EXPECT_EQ(desktop_.opened.front(), reportsDir() + savedReports().front());
    EXPECT_EQ(QDir(dir_.filePath("reports")).entryList({"*.pdf"}, QDir::Files).size(), 1);
    // Back to its normal size with the bars hidden and every control usable.
    EXPECT_EQ(window_->height(), TForm1::kClientHeight);
    EXPECT_FALSE(shown("ProgressBar1"));
    EXPECT_FALSE(shown("ProgressBar2"));
    EXPECT_TRUE(control<QWidget>("GroupBox6")->isEnabled());
    EXPECT_TRUE(control<QWidget>("Edit1")->isEnabled());
}

TEST_F(MainWindowTest, AFailingRunIsShownAndTheWindowIsUsableAgain) {
    // A sample whose value is no number passes the checks and ends the run.
    QFile example(Example("ds1921_temperature.txt"));
    ASSERT_TRUE(example.open(QIODevice::ReadOnly));
    QByteArray bytes = example.readAll();
    bytes.replace(" 03/04/2023 08:10 - 4.5 ", " 03/04/2023 08:10 - 4x5 ");
    const QString broken = dir_.filePath("broken.txt");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    window_->openFiles({broken});
    type("Edit2", reportsDir());
    window_->Button1Click();
    ASSERT_EQ(desktop_.errors.size(), 1) << desktop_.messages.join('\n').toStdString();
    EXPECT_TRUE(desktop_.errors.front().contains("4x5")) << desktop_.errors.front().toStdString();
    EXPECT_FALSE(window_->running());
    EXPECT_TRUE(control<QPushButton>("Button1")->isEnabled());
    EXPECT_EQ(window_->height(), TForm1::kClientHeight);
    EXPECT_TRUE(desktop_.opened.isEmpty());
}

TEST_F(MainWindowTest, ABatchBuildsEachFileWithTheDefaultsAndOpensTheFolderOnce) {
    type("Edit2", reportsDir());
    type("Edit12", "Камера");  // kept by every load, so every report has it
    desktop_.fileChoices.push_back(QStringList{Example("ds1921_temperature.txt"),
                                               Example("temperature_events.txt"),
                                               Example("humidity_only.txt")});
    window_->Button3Click();
    ASSERT_TRUE(desktop_.errors.isEmpty()) << desktop_.errors.join('\n').toStdString();
    EXPECT_EQ(savedReports().size(), 3);
    EXPECT_EQ(desktop_.opened, QStringList{reportsDir()});
    // The window shows the last file, with its defaults.
    EXPECT_EQ(text("Edit1"), Example("humidity_only.txt"));
    EXPECT_EQ(text("Edit12"), "Камера");
    EXPECT_FALSE(window_->running());
}

TEST_F(MainWindowTest, ListsAndButtonsChangeTheRange) {
    window_->openFiles({Example("temperature_humidity.txt")});
    auto* start = control<QComboBox>("ComboBox1");
    auto* end = control<QComboBox>("ComboBox2");
    ASSERT_GE(start->count(), 3);
    const QString firstDate = start->currentText();
    const QString lastDate = end->currentText();

    // A start date picked by the user begins at 00:00:00, an end date ends at 23:59:00.
    start->setCurrentIndex(1);
    emit start->activated(1);
    end->setCurrentIndex(1);
    emit end->activated(1);
    EXPECT_EQ(control<QComboBox>("ComboBox3")->currentText(), "00");
    EXPECT_EQ(control<QComboBox>("ComboBox5")->currentText(), "00");
    EXPECT_EQ(control<QComboBox>("ComboBox6")->currentText(), "00");
    EXPECT_EQ(control<QComboBox>("ComboBox4")->currentText(), "23");
    EXPECT_EQ(control<QComboBox>("ComboBox7")->currentText(), "59");
    EXPECT_EQ(control<QComboBox>("ComboBox8")->currentText(), "00");

    // "Весь диапазон" brings the dates back and leaves the times.
    window_->Button6Click();
    EXPECT_EQ(start->currentText(), firstDate);
    EXPECT_EQ(end->currentText(), lastDate);
    EXPECT_EQ(control<QComboBox>("ComboBox4")->currentText(), "23");

    // "X" empties the heading lines.
    type("Edit3", "a");
    type("Edit4", "b");
    window_->Button9Click();
    EXPECT_TRUE(text("Edit3").isEmpty());
    EXPECT_TRUE(text("Edit4").isEmpty());
}

TEST_F(MainWindowTest, ExcelRefusesWhenTheFieldNamesAFileOtherThanTheLoadedOne) {
    window_->openFiles({Example("temperature_humidity.txt")});
    type("Edit2", reportsDir());
    type("Edit3", "Склад 2");
    type("Edit1", Example("ds1921_temperature.txt"));
    window_->Button1Click();
    ASSERT_EQ(desktop_.messages.size(), 1);
    EXPECT_EQ(desktop_.messages.back(),
              messages::OtherFileNamed(Example("ds1921_temperature.txt"),
                                       Example("temperature_humidity.txt")));
    EXPECT_TRUE(savedReports().isEmpty());
    EXPECT_EQ(text("Edit3"), "Склад 2");  // the options as the user set them

    // The same file written another way is the loaded one.
    type("Edit1", QStringLiteral(QORV_EXAMPLES "/../examples/temperature_humidity.txt"));
    window_->Button1Click();
    EXPECT_EQ(desktop_.messages.size(), 1);
    EXPECT_EQ(savedReports().size(), 1);
}

TEST_F(MainWindowTest, ABatchNamesTheFileThatIsNoLoggerExportAndBuildsTheOthers) {
    type("Edit2", reportsDir());
    const QString notes = put("notes.txt", "Список покупок\r\nмолоко\r\n");
    window_->openFiles({Example("ds1921_temperature.txt"), notes, Example("humidity_only.txt")});
    ASSERT_EQ(desktop_.errors.size(), 1);
    const QString& message = desktop_.errors.front();
    EXPECT_TRUE(message.startsWith(QStringLiteral("Построено протоколов: 2 из 3.")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(notes + ": ")) << message.toStdString();
    EXPECT_FALSE(message.contains(Example("humidity_only.txt"))) << message.toStdString();
    // Two reports, and no empty workbook of the file that failed.
    EXPECT_EQ(savedReports().size(), 2) << savedReports().join(", ").toStdString();
    EXPECT_EQ(desktop_.opened, QStringList{reportsDir()});
    EXPECT_FALSE(window_->running());
}

TEST_F(MainWindowTest, AnAccessibilityToggleIsAClick) {
    window_->openFiles({Example("temperature_humidity.txt")});
    type("Edit2", reportsDir());
    QAccessibleInterface* box =
        QAccessible::queryAccessibleInterface(control<QCheckBox>("CheckBox8"));
    ASSERT_NE(box, nullptr);
    ASSERT_NE(box->actionInterface(), nullptr);
    box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(control<QCheckBox>("CheckBox8")->isChecked());
    window_->Button1Click();
    ASSERT_TRUE(desktop_.errors.isEmpty()) << desktop_.errors.join('\n').toStdString();
    EXPECT_TRUE(control<QCheckBox>("CheckBox8")->isChecked());
    EXPECT_EQ(QDir(dir_.filePath("reports")).entryList({"*.pdf"}, QDir::Files).size(), 1);
}

TEST_F(MainWindowTest, ADoubleClickOnExcelMakesOneReport) {
    window_->openFiles({Example("ds1921_temperature.txt")});
    type("Edit2", reportsDir());
    auto* excel = control<QPushButton>("Button1");
    // As the window system delivers a double click: the second press comes as a press and a
    // double click event, here after the first click's run is over.
    const QPointF at(5, 5);
    const std::pair<QEvent::Type, quint64> events[] = {
        {QEvent::MouseButtonPress, 10'000},   {QEvent::MouseButtonRelease, 10'080},
        {QEvent::MouseButtonPress, 10'200},   {QEvent::MouseButtonDblClick, 10'200},
        {QEvent::MouseButtonRelease, 10'260},
    };
    for (const auto& [type, time] : events) {
        QMouseEvent event(type, at, excel->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        event.setTimestamp(time);
        QCoreApplication::sendEvent(excel, &event);
    }
    EXPECT_EQ(savedReports().size(), 1);
    // A later click is a new report.
    for (const auto& [type, time] : {std::pair{QEvent::MouseButtonPress, quint64{20'000}},
                                     std::pair{QEvent::MouseButtonRelease, quint64{20'080}}}) {
        QMouseEvent event(type, at, excel->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        event.setTimestamp(time);
        QCoreApplication::sendEvent(excel, &event);
    }
    EXPECT_EQ(savedReports().size(), 2);
}

TEST_F(MainWindowTest, TheErrorBoxOfARunFindsTheWindowDisabled) {
    // A desktop that looks at the window while it shows the error.
    struct Watching : testing::ScriptedDesktop {
        QWidget* window = nullptr;
        QStringList enabledWhileShown;
        void showError(QWidget* parent, const QString& text) override {
            for (QWidget* child : window->findChildren<QCheckBox*>()) {
                if (child->window() == window && child->isEnabled()) {
                    enabledWhileShown << child->objectName();
                }
            }
            ScriptedDesktop::showError(parent, text);
        }
    } desktop;
    ProgramState state;
    TForm1 window(state, desktop, place_);
    desktop.window = &window;
    QFile example(Example("ds1921_temperature.txt"));
    ASSERT_TRUE(example.open(QIODevice::ReadOnly));
    const QString broken = put("broken.txt", example.readAll().replace(" 03/04/2023 08:10 - 4.5 ",
                                                                       " 03/04/2023 08:10 - 4x5 "));
    window.openFiles({broken});
    window.findChild<QLineEdit*>("Edit2")->setText(reportsDir());
    window.Button1Click();
    ASSERT_EQ(desktop.errors.size(), 1);
    EXPECT_TRUE(desktop.enabledWhileShown.isEmpty())
        << desktop.enabledWhileShown.join(", ").toStdString();
    EXPECT_TRUE(window.findChild<QPushButton*>("Button1")->isEnabled());
}

TEST(DroppedFiles, AFileAddressGivesTheNameByteForByte) {
    const struct {
        const char* address;
        std::optional<QByteArray> name;  // nothing: no file of this computer
    } rows[] = {
        {"file:///home/user/1.txt", "/home/user/1.txt"},
        {"file://localhost/home/user/1.txt", "/home/user/1.txt"},
        {"file://LOCALHOST/d/a%20b.txt", "/d/a b.txt"},
        {"file:///d/%D0%9F%D1%80.txt", "/d/\xD0\x9F\xD1\x80.txt"},
        {"file:///d/%CF%F0%EE.txt", "/d/\xCF\xF0\xEE.txt"},
        {"file:///d/a%00b.txt", std::nullopt},
        {"file://server/share/1.txt", std::nullopt},
        {"http://localhost/1.txt", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.address);
        const std::optional<QString> name = FileNameOfUrl(QUrl(QString::fromLatin1(row.address)));
        ASSERT_EQ(name.has_value(), row.name.has_value());
        if (name) {
            EXPECT_EQ(files::EncodeFileName(*name), *row.name);
        }
    }
}

TEST_F(MainWindowTest, SaveDirectoryGetsOneTrailingSeparator) {
    const std::pair<QString, QString> cases[] = {
        {"/data/Протоколы склада", "/data/Протоколы склада/"},
        {"/", "/"},
    };
    for (const auto& [chosen, shown] : cases) {
        desktop_.directoryChoices.push_back(chosen);
        window_->Button8Click();
        EXPECT_EQ(text("Edit2"), shown);
    }
    // The dialog starts at the save directory; cancelling changes nothing.
    window_->Button8Click();
    EXPECT_EQ(text("Edit2"), "/");
    EXPECT_EQ(desktop_.directoryDialogStarts.back(), "/");
    // A save directory that is gone: the program's folder.
    type("Edit2", dir_.filePath("gone/"));
    window_->Button8Click();
    EXPECT_EQ(desktop_.directoryDialogStarts.back(), place_.directory);
}

TEST_F(MainWindowTest, UserClicksRunTheCheckBoxRules) {
    window_->openFiles({Example("temperature_humidity.txt")});
    control<QCheckBox>("CheckBox2")->click();
    control<QCheckBox>("CheckBox3")->click();
    for (const char* name : {"CheckBox1", "CheckBox10"}) {
        EXPECT_FALSE(control<QCheckBox>(name)->isChecked()) << name;
    }
    for (const char* name : {"CheckBox2", "CheckBox3", "CheckBox10"}) {
        EXPECT_FALSE(control<QCheckBox>(name)->isEnabled()) << name;
    }
    control<QCheckBox>("CheckBox9")->click();
    EXPECT_FALSE(shown("GroupBox6"));
    EXPECT_TRUE(shown("Memo2"));
    control<QCheckBox>("CheckBox9")->click();
    control<QCheckBox>("CheckBox7")->click();
    EXPECT_FALSE(shown("GroupBox2"));
    EXPECT_FALSE(shown("Edit13"));

    // "Статистика" has no rule of its own and stays as the user set it across loads.
    control<QCheckBox>("CheckBox11")->click();
    EXPECT_TRUE(state_.options.Statistics);
    window_->openFiles({Example("ds1921_temperature.txt")});
    EXPECT_TRUE(control<QCheckBox>("CheckBox11")->isChecked());
}

TEST_F(MainWindowTest, NumericFieldsDropWhatIsNoPartOfANumber) {
    struct KeyCase {
        const char* before;
        QChar typed;
        const char* after;
        bool atStart = false;  // typed at the start instead of the end
    };
    const KeyCase cases[] = {
        {"1", '5', "15"},
        {"1", 'a', "1"},
        {"1", ' ', "1"},
        {"", ',', ""},
        {"1", ',', "1,"},
        {"1,5", ',', "1,5"},
        {"1.", '.', "1.."},
        {"12", '-', "12"},
        // A minus at the start of a correction, once.
        {"", '-', "-"},
        {"0,3", '-', "-0,3", true},
        {"-0,3", '-', "-0,3", true},
    };
    auto* edit = control<QLineEdit>("Edit8");
    for (const KeyCase& c : cases) {
        edit->setText(QString::fromUtf8(c.before));
        if (c.atStart) {
            edit->home(false);
        } else {
            edit->end(false);
        }
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c.typed));
        QCoreApplication::sendEvent(edit, &press);
        EXPECT_EQ(edit->text(), QString::fromUtf8(c.after))
            << c.before << " + " << QString(c.typed).toStdString();
    }
    // The step, smoothing and ΔH take no sign.
    auto* step = control<QLineEdit>("Edit5");
    step->clear();
    QKeyEvent minus(QEvent::KeyPress, Qt::Key_Minus, Qt::NoModifier, QStringLiteral("-"));
    QCoreApplication::sendEvent(step, &minus);
    EXPECT_EQ(step->text(), "");
    // Backspace still deletes.
    edit = control<QLineEdit>("Edit7");
    edit->setText("12");
    edit->end(false);
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    QCoreApplication::sendEvent(edit, &backspace);
    EXPECT_EQ(edit->text(), "1");
}

TEST_F(MainWindowTest, TimeAxisDialogShowsTheSettingsALoadLeaves) {
    window_->openFiles({Example("temperature_humidity.txt")});
    TForm4& dialog = window_->timeAxisDialog();
    dialog.show();
    dialog.findChild<QCheckBox*>("CheckBox1")->setChecked(true);
    dialog.findChild<QRadioButton*>("RadioGroup1Item1")->click();
    dialog.findChild<QComboBox*>("ComboBox1")->setEditText("90");
    dialog.findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(state_.chart.TimeUnitAuto, "NO");

    window_->openFiles({Example("ds1921_temperature.txt")});
    dialog.show();
    EXPECT_FALSE(dialog.findChild<QCheckBox*>("CheckBox1")->isChecked());
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("RadioGroup1Item0")->isChecked());
    dialog.close();
    EXPECT_EQ(state_.chart.TimeUnitAuto, "OK");
    EXPECT_EQ(state_.chart.TimeGridlines, "NO");
}

TEST_F(MainWindowTest, SettingsFileRestoresAndSavesTheTwoPaths) {
    // No settings file: the program's folder, nothing loaded, no message.
    window_->FormShow();
    EXPECT_EQ(text("Edit2"), place_.directory + '/');
    EXPECT_TRUE(text("Edit1").isEmpty());
    EXPECT_TRUE(desktop_.messages.isEmpty());

    // Closing writes both; the next start restores them and loads the file.
    type("Edit2", reportsDir());
    window_->openFiles({Example("temperature_events.txt")});
    window_->close();
    ASSERT_TRUE(QFile::exists(place_.settings.besideProgram));
    ProgramState state;
    TForm1 next(state, desktop_, place_);
    next.FormShow();
    EXPECT_EQ(next.findChild<QLineEdit*>("Edit2")->text(), reportsDir());
    EXPECT_EQ(next.findChild<QLineEdit*>("Edit1")->text(), Example("temperature_events.txt"));
    EXPECT_TRUE(next.findChild<QWidget*>("GroupBox2")->isVisibleTo(&next));
    EXPECT_TRUE(desktop_.messages.isEmpty());

    // A saved file that is gone: its message, nothing loaded.
    QFile ini(place_.settings.besideProgram);
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("Исходный файл=%1\r\n").arg(dir_.filePath("gone.txt")).toUtf8());
    ini.close();
    ProgramState third;
    TForm1 last(third, desktop_, place_);
    last.FormShow();
    ASSERT_EQ(desktop_.messages.size(), 1);
    EXPECT_EQ(desktop_.messages.front(),
              QStringLiteral("Файл - %1 - не существует.").arg(dir_.filePath("gone.txt")));
    EXPECT_TRUE(last.findChild<QLineEdit*>("Edit1")->text().isEmpty());
}

TEST_F(MainWindowTest, StartShowsOneMessageForTheLastFilesThatCannotBeLoaded) {
#ifdef _WIN32
    const QString special = QStringLiteral("NUL");
    const files::FileKind specialKind = files::FileKind::CharacterDevice;
#else
    const QString special = dir_.filePath("fifo");
    ASSERT_EQ(mkfifo(QFile::encodeName(special).constData(), 0600), 0);
    const files::FileKind specialKind = files::FileKind::Fifo;
#endif
    const struct {
        const char* name;
        QStringList lines;  // the values of "Исходный файл=" lines
        QString message;
    } rows[] = {
        {"1,000 missing files", QStringList(1000, dir_.filePath("gone.txt")),
         qorv::messages::FileMissing(dir_.filePath("gone.txt")) + '\n' +
             messages::MoreFilesNotFound(999)},
        {"a FIFO or device", {special}, qorv::messages::NotARegularFile(special, specialKind)},
        {"a folder",
         {dir_.path()},
         qorv::messages::NotARegularFile(dir_.path(), files::FileKind::Directory)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QByteArray ini;
        for (const QString& line : row.lines) {
            ini += QStringLiteral("Исходный файл=%1\r\n").arg(line).toUtf8();
        }
        put("program/Qorv_Pr.ini", ini);
        testing::ScriptedDesktop desktop;
        ProgramState state;
        TForm1 window(state, desktop, place_);
        window.FormShow();
        EXPECT_EQ(desktop.messages, QStringList{row.message});
        EXPECT_TRUE(desktop.errors.isEmpty());
    }
}

TEST_F(MainWindowTest, ClosingShowsWhyTheSettingsWereNotSaved) {
    // A folder where each settings file belongs: nothing can take the file.
    for (const QString& path : {place_.settings.besideProgram, place_.settings.userConfig}) {
        ASSERT_TRUE(QDir().mkpath(path + "/keep"));
    }
    window_->close();
    ASSERT_EQ(desktop_.errors.size(), 1);
    EXPECT_TRUE(desktop_.errors.front().startsWith(QStringLiteral("Настройки не сохранены.")))
        << desktop_.errors.front().toStdString();

    // A file the user made read-only is left as it is, and said so.
    ASSERT_TRUE(QDir(place_.settings.besideProgram).removeRecursively());
    put("program/Qorv_Pr.ini", "Директория сохранения=/old/\r\n");
    ASSERT_TRUE(QFile::setPermissions(place_.settings.besideProgram,
                                      QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    testing::ScriptedDesktop desktop;
    ProgramState state;
    TForm1 window(state, desktop, place_);
    window.FormShow();
    window.close();
    EXPECT_EQ(desktop.messages,
              QStringList{messages::SettingsFileReadOnly(place_.settings.besideProgram)});
    QFile ini(place_.settings.besideProgram);
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(), "Директория сохранения=/old/\r\n");
}

}  // namespace
}  // namespace qorv::ui
