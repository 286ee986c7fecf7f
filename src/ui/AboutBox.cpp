#include "ui/AboutBox.h"

#include "ui/Desktop.h"
#include "ui/Emblem.h"
#include "ui/PixelFonts.h"
#include "ui/UiMessages.h"
#include "ui_AboutBox.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace qorv::ui {

QString UserGuidePath() {
    const QString installed =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/qorv-pr/README.md");
    if (QFileInfo(installed).isFile()) {
        return QFileInfo(installed).canonicalFilePath();
    }
    const QString source = QStringLiteral(QORV_PR_SOURCE_DIR "/README.md");
    if (QFileInfo(source).isFile()) {
        return source;
    }
    return QString();
}

TForm5::TForm5(Desktop& desktop, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TForm5>()), desktop_(desktop) {
    ui_->setupUi(this);
    UseScreenPixelFonts(this);
    setFixedSize(size());
    ui_->Image1->setPixmap(Emblem(ui_->Image1->size() * devicePixelRatio()));
    ui_->Label6->setText(QStringLiteral("<a href=\"guide\" style=\"color:#0000ff\">%1</a>")
                             .arg(messages::UserGuideLink));
    ui_->Label6->setToolTip(UserGuidePath());
    connect(ui_->Label6, &QLabel::linkActivated, this, [this] { openUserGuide(); });
    connect(ui_->Button1, &QPushButton::clicked, this, &QDialog::accept);
}

TForm5::~TForm5() = default;

void TForm5::openUserGuide() {
    const QString guide = UserGuidePath();
    if (guide.isEmpty()) {
        desktop_.showMessage(this, messages::UserGuideMissing);
        return;
    }
    desktop_.openWithDefaultHandler(guide);
}

}  // namespace qorv::ui
