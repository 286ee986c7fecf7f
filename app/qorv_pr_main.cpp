#include "files/FileName.h"
#include "files/MemoryReuse.h"
#include "files/Precision.h"
#include "files/Process.h"
#include "report/LoadLogFile.h"
#include "report/QtTranslations.h"
#include "ui/Emblem.h"
#include "ui/MainWindow.h"
#include "ui/SystemDesktop.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <cstdio>
#include <cstring>

// qorv-pr: the desktop window. Logger files named on the command line (as a file manager
// passes them) are opened as the open dialog opens them.
int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("qorv-pr %s\n", QORV_PR_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf(
                "Использование: qorv-pr [ФАЙЛ...]\n"
                "Открывает окно программы; один файл загружается, по нескольким файлам "
                "строятся протоколы.\n");
            return 0;
        }
    }
    qorv::files::UseFullLongDoublePrecision();
    qorv::files::KeepFreedMemoryForReuse();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Qorv_Pr"));
    // The classic look the windows' positions were drawn for: group captions on the frame.
    QApplication::setStyle(QStringLiteral("windows"));
    QApplication::setWindowIcon(QIcon(qorv::ui::Emblem(QSize(64, 64))));
    qorv::InstallQtRussianTranslations(app);

    QStringList files;
    for (const QString& argument : qorv::files::ProgramArguments(argc, argv)) {
        files << qorv::files::AbsoluteFileName(argument);
    }

    qorv::ProgramState state;
    qorv::ui::SystemDesktop desktop;
    qorv::ui::TForm1 window(state, desktop, qorv::ui::RunningProgramPlace());
    window.show();
    if (!files.isEmpty()) {
        // After the start-up steps, which the first show queues.
        QTimer::singleShot(0, &window, [&window, files] { window.openFiles(files); });
    }
    return app.exec();
}
