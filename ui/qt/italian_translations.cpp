#include "italian_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace velandra::ui {

void InstallItalianTranslations(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    if (translator->load("qtbase_it", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

}  // namespace velandra::ui
