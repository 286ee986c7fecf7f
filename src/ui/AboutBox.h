#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class TForm5;
}

namespace qorv::ui {

class Desktop;

// The user guide installed with the program (README.md): beside an installed program in
// share/doc/qorv-pr, else in the source tree the program was built from. Empty when neither
// exists.
QString UserGuidePath();

// The about box "О программе": the program's name and what it does, its version and date, the
// emblem, and a link that opens the user guide with the desktop's default handler.
class TForm5 final : public QDialog {
    Q_OBJECT
  public:
    explicit TForm5(Desktop& desktop, QWidget* parent = nullptr);
    ~TForm5() override;

  private:
    void openUserGuide();

    std::unique_ptr<Ui::TForm5> ui_;
    Desktop& desktop_;
};

}  // namespace qorv::ui
