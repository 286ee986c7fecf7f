// The main() of every test executable: GoogleTest inside a GUI application, since drawing
// charts and PDF pages needs fonts (a widget application for the window tests); offscreen, so
// that no display is needed.
#ifdef QORV_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

#include "files/Precision.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qorv::files::UseFullLongDoublePrecision();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
#if defined(Q_OS_WIN) && !defined(QORV_TEST_WIDGETS)
        // The system's fonts, which charts and PDF pages are measured and drawn with, come with
        // Windows' own platform there; offscreen knows only fonts shipped with Qt. The window's
        // tests keep offscreen: they open dialogs, which need no desktop then.
        qputenv("QT_QPA_PLATFORM", "windows");
#else
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    }
    TestApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
