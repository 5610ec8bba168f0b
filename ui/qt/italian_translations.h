#pragma once

class QCoreApplication;

namespace velandra::ui {

// Loads Qt's own Italian texts (context menus, message box buttons), whatever the user's locale:
// the program speaks Italian throughout. Without the translation package it keeps Qt's English.
void InstallItalianTranslations(QCoreApplication& application);

}  // namespace velandra::ui
