// What assistive technologies get from the window beyond Qt's own: text boxes that answer every
// question about their text at once, and an announcer that speaks a new result.
#pragma once

#include <QWidget>

class QAccessibleInterface;
class QObject;
class QString;

namespace velandra::ui {

// An element only a screen reader perceives: it has no size and draws nothing. Each message it
// is given appears as a notification, which Orca speaks wherever the focus is.
class Announcer : public QWidget {
  public:
    explicit Announcer(QWidget* parent);
    void Announce(const QString& message);
};

// Makes every QLineEdit and Announcer of the program speak through the interfaces below. Call
// before any window is shown; calling it again changes nothing.
void InstallAccessibility();

// The factory behind it: the interface of a QLineEdit or an Announcer, nothing for the rest.
QAccessibleInterface* CreateAccessibleInterface(const QString& className, QObject* object);

}  // namespace velandra::ui
