#include "quarnelo.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QIcon>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QResource>
#include <QTimer>
#include <cmath>

#include "accessibility.h"
#include "announcement.h"
#include "form_widgets.h"

namespace velandra::ui {
namespace {

// Every size of the icon the resources carry. Each is a square of raw RGBA pixels, so its side
// follows from its length.
QIcon ApplicationIcon() {
    QIcon icon;
    for (QDirIterator it(":/icons"); it.hasNext();) {
        const QResource pixels(it.next());
        const int side = qRound(std::sqrt(pixels.size() / 4.0));
        const QImage image(pixels.data(), side, side, QImage::Format_RGBA8888);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace

Quarnelo::Quarnelo(QWidget* parent) : QWidget(parent) {
    InstallAccessibility();
    setObjectName("Quarnelo");
    setWindowTitle(ToQString(kCaption));
    setWindowIcon(ApplicationIcon());
    const qreal dpi = logicalDpiY();
    setFixedSize(ToPixels(kClientWidth, dpi), ToPixels(kClientHeight, dpi));

    BuildForm(*this);
    // Fitting the texts loads their fonts, which the first paint needs anyway: it runs as soon
    // as the event loop does, after the window is on screen and before it is painted.
    QTimer::singleShot(0, this, [this] { FitTexts(*this); });
    announcer_ = new Announcer(this);
    lines_ = FormLines(dpi);
    txtPeso_ = findChild<QLineEdit*>("TxtPeso");
    txtAltezza_ = findChild<QLineEdit*>("TxtAltezza");
    txtVelandra_ = findChild<QLineEdit*>("TxtVelandra");

    ConnectButton("CmdCalcola", &Calculator::OnCalcola);
    ConnectButton("CmdCancella", &Calculator::OnCancella);
    ConnectButton("CmdUscita", &Calculator::OnUscita);

    txtPeso_->setFocus();
}

void Quarnelo::ConnectButton(const char* name, void (Calculator::*command)()) {
    connect(findChild<QPushButton*>(name), &QPushButton::clicked, this,
            [this, command] { (calculator_.*command)(); });
}

QLineEdit* Quarnelo::BoxFor(BoxId box) const {
    switch (box) {
        case BoxId::TxtPeso:
            return txtPeso_;
        case BoxId::TxtAltezza:
            return txtAltezza_;
        case BoxId::TxtVelandra:
            return txtVelandra_;
    }
    return txtVelandra_;
}

std::string Quarnelo::GetText(BoxId box) const {
    return BoxFor(box)->text().toStdString();
}

void Quarnelo::SetText(BoxId box, const std::string& text) {
    QLineEdit* edit = BoxFor(box);
    edit->setText(QString::fromStdString(text));
    // A result wider than its box must show its leading digits, not its last ones.
    edit->setCursorPosition(0);
    if (box == BoxId::TxtVelandra) AnnounceResult(edit->text());
}

void Quarnelo::AnnounceResult(const QString& result) {
    announcer_->Announce(QString::fromStdString(ResultAnnouncement(result.toStdString())));
}

void Quarnelo::ShowInfoMessage(const std::string& prompt, const std::string& title) {
    QMessageBox message(QMessageBox::Information, QString::fromStdString(title),
                        QString::fromStdString(prompt), QMessageBox::Ok, this);
    message.exec();
}

void Quarnelo::EndProgram() {
    hide();
    QCoreApplication::exit(0);
}

void Quarnelo::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    QPen pen(ColourFor(Colour::Desktop, palette()),
             LineWidthInDevicePixels(logicalDpiY(), devicePixelRatioF()));
    pen.setCosmetic(true);  // its width is in device pixels
    painter.setPen(pen);
    for (const QLine& line : lines_) painter.drawLine(line);
}

}  // namespace velandra::ui
