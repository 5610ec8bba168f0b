// Renders the window offscreen, as it looks after a calculation of 70 kg and 170 cm, into the
// PNG file named by the first argument.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>

#include "italian_translations.h"
#include "quarnelo.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    QApplication application(argc, argv);
    velandra::ui::InstallItalianTranslations(application);

    velandra::ui::Quarnelo window;
    window.show();
    QCoreApplication::processEvents();
    window.findChild<QLineEdit*>("TxtPeso")->setText("70");
    window.findChild<QLineEdit*>("TxtAltezza")->setText("170");
    window.findChild<QPushButton*>("CmdCalcola")->click();

    if (!window.grab().save(argv[1])) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
