#include <QApplication>

#include "italian_translations.h"
#include "quarnelo.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(VELANDRA_APP_ID);
    velandra::ui::InstallItalianTranslations(application);

    velandra::ui::Quarnelo window;
    window.show();
    return QApplication::exec();
}
