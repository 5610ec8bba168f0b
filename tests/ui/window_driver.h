// Drives the real window as a person does: clicks delivered through the window system's path
// (so an open modal message keeps them from the window), typed keys, and every message box
// answered with OK as it appears.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>
#include <string_view>

#include "form_widgets.h"
#include "quarnelo.h"

namespace velandra::ui::testing {

struct Message {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    qsizetype buttons;
};

inline const QString kWeightMessage = "Il valore del peso deve essere maggiore di zero";
inline const QString kHeightMessage = "Il valore dell'altezza deve essere maggiore di zero";

class WindowDriver {
  public:
    // Opens a fresh window and waits until it is active.
    bool Open() {
        window_ = std::make_unique<Quarnelo>();
        window_->show();
        return QTest::qWaitForWindowActive(window_.get());
    }
    void Close() { window_.reset(); }
    Quarnelo& Window() const { return *window_; }

    template <typename T = QWidget>
    T* Find(std::string_view name) const {
        T* child = window_->findChild<T*>(ToQString(name));
        if (child == nullptr) qFatal("no element %s", std::string(name).c_str());
        return child;
    }
    QLineEdit* Box(std::string_view name) const { return Find<QLineEdit>(name); }

    void Click(std::string_view name) const {
        QTest::mouseClick(window_->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          Find(name)->geometry().center());
    }

    // Clicks into the box, selects what it holds and types over it.
    void Type(std::string_view box, const QString& text) const {
        Click(box);
        Box(box)->selectAll();
        QTest::keyClicks(QApplication::focusWidget(), text);
    }

    // Clicks into the box and pastes the text over what it holds, as from the clipboard, and
    // lets the window show it, as it does before a person can click anything else.
    void Paste(std::string_view box, const QString& text) const {
        Click(box);
        Box(box)->selectAll();
        Box(box)->insert(text);
        QCoreApplication::processEvents();
    }

    // Runs the action and answers every message box it raises with a click on OK, returning
    // what each one showed, in order. While a message is open, `duringMessage` runs.
    QList<Message> Act(const std::function<void()>& action,
                       const std::function<void()>& duringMessage = {}) const {
        QList<Message> messages;
        QTimer watcher;
        watcher.setInterval(5);
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible()) return;
            messages.append({box->windowTitle(), box->text(), box->icon(), box->buttons().size()});
            if (duringMessage) duringMessage();
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
        watcher.start();
        action();
        QCoreApplication::processEvents();
        watcher.stop();
        // A window manager gives the window back its activation when the last message closes;
        // the headless platform has none, so the driver does.
        if (!messages.isEmpty()) {
            window_->activateWindow();
            if (!QTest::qWaitForWindowActive(window_.get())) qWarning("the window stays inactive");
        }
        return messages;
    }

  private:
    std::unique_ptr<Quarnelo> window_;
};

}  // namespace velandra::ui::testing
