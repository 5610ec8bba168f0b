// The window driven as a person drives it: real key presses and mouse clicks through Qt's event
// system, message boxes found and dismissed as they appear.
#include "quarnelo.h"

#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "form.h"
#include "form_widgets.h"
#include "italian_translations.h"
#include "window_driver.h"

using namespace velandra::ui;
using namespace velandra::ui::testing;

namespace {

enum class Ink { Highlight, Text };

// Every label and button as it must come out, from the form's twips divided by hand (15 twips a
// pixel at 96 dpi, 10 at 144, halves rounded up) and the fonts each element is drawn in.
struct ElementFacts {
    const char* name;
    QRect at96;
    QRect at144;
    const char* family;  // with the stand-in fonts
    qreal points;
    bool bold;
    bool italic;
    Ink ink;
    bool centred;  // the text's horizontal alignment: centred, else left (labels and boxes)
};

// clang-format off
const ElementFacts kElementFacts[] = {
    {"TxtVelandra",      {224, 296,  57, 17}, {336, 444,  86, 26}, "Liberation Sans",  8.25,  false, false, Ink::Text, true},
    {"TxtAltezza",       {216, 128,  57, 17}, {324, 192,  86, 26}, "Liberation Sans",  8.25,  false, false, Ink::Text, true},
    {"CmdCancella",      { 40, 344,  81, 25}, { 60, 516, 122, 38}, "Liberation Sans",  9.75,  false, false, Ink::Text, false},
    {"CmdCalcola",       {144, 256,  81, 25}, {216, 384, 122, 38}, "Liberation Sans",  9.75,  false, false, Ink::Text, false},
    {"CmdUscita",        {232, 344,  81, 25}, {348, 516, 122, 38}, "Liberation Sans",  9.75,  false, false, Ink::Text, false},
    {"TxtPeso",          {216,  88,  57, 17}, {324, 132,  86, 26}, "Liberation Sans",  8.25,  false, false, Ink::Text, true},
    {"Label5",           { 24,  64, 313, 20}, { 36,  96, 470, 30}, "Liberation Sans",  8.25,  false, false, Ink::Highlight, true},
    {"LBLIntestazione2", { 24,  32, 313, 20}, { 36,  48, 470, 30}, "EB Garamond",      14.25, true,  false, Ink::Highlight, true},
    {"LBLFormula2",      {240, 216,  33, 17}, {360, 324,  50, 26}, "Liberation Sans",  9.75,  false, false, Ink::Text, false},
    {"Label3",           {208, 184, 121, 17}, {312, 276, 182, 26}, "Liberation Sans",  9.75,  false, false, Ink::Text, false},
    {"LBLFormula",       { 48, 192, 121, 17}, { 72, 288, 182, 26}, "Liberation Sans",  9.75,  false, false, Ink::Text, false},
    {"LBLFattore",       { 80, 296, 129, 17}, {120, 444, 194, 26}, "Liberation Serif", 12,    false, true,  Ink::Text, false},
    {"LBLAltezza",       { 88, 128, 121, 17}, {132, 192, 182, 26}, "Liberation Sans",  9.75,  false, false, Ink::Text, false},
    {"Label1",           {112, 400, 141, 23}, {168, 600, 212, 35}, "DejaVu Sans",      9.75,  false, true,  Ink::Highlight, false},
    {"Label2",           {128, 376,  93, 23}, {192, 564, 140, 35}, "DejaVu Sans",      9.75,  true,  false, Ink::Highlight, false},
    {"LBLPeso",          { 88,  88, 121, 17}, {132, 132, 182, 26}, "Liberation Sans",  9.75,  false, false, Ink::Text, false},
    {"LBLIntestazione",  { 24,   8, 313, 20}, { 36,  12, 470, 30}, "EB Garamond",      14.25, true,  false, Ink::Highlight, true},
};
// clang-format on

// The five lines of the drawn formula, end points in pixels.
struct LineFacts {
    const char* name;
    QLine at96;
    QLine at144;
};

const LineFacts kLineFacts[] = {
    {"Line5", {200, 208, 312, 208}, {300, 312, 468, 312}},
    {"Line4", {176, 192, 168, 192}, {264, 288, 252, 288}},
    {"Line3", {192, 168, 312, 168}, {288, 252, 468, 252}},
    {"Line2", {184, 232, 192, 168}, {276, 348, 288, 252}},
    {"Line1", {176, 192, 184, 232}, {264, 288, 276, 348}},
};

// The display the run was started on, as the test's command line says it must be.
struct ExpectedDisplay {
    int dpi = qEnvironmentVariableIntValue("EXPECTED_DPI");
    int lineWidth = qEnvironmentVariableIntValue("EXPECTED_LINE_WIDTH");
    bool standIns = qEnvironmentVariable("EXPECTED_FONTS") == "stand-ins";
};

// The ink of a text drawn, unclipped, in `area` of a widget: the box of every pixel it touches.
QRect DrawnInk(const QFont& font, const QString& text, const QRect& area, Qt::Alignment align) {
    constexpr int kMargin = 40;
    QImage image(area.size() + QSize(2 * kMargin, 2 * kMargin), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(QPoint(kMargin, kMargin), area.size()), int(align | Qt::TextDontClip),
                     text);
    painter.end();
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) ink |= QRect(x, y, 1, 1);
    return ink.translated(area.topLeft() - QPoint(kMargin, kMargin));
}

}  // namespace

class QuarneloTest : public QObject {
    Q_OBJECT

  private:
    WindowDriver driver_;
    ExpectedDisplay display_;

    Quarnelo* Window() const { return &driver_.Window(); }
    template <typename T>
    T* Find(std::string_view name) const {
        return driver_.Find<T>(name);
    }
    QLineEdit* Box(std::string_view name) const { return driver_.Box(name); }
    void Click(std::string_view name) const { driver_.Click(name); }
    void Type(std::string_view box, const QString& text) const { driver_.Type(box, text); }
    QList<Message> Act(const std::function<void()>& action,
                       const std::function<void()>& duringMessage = {}) const {
        return driver_.Act(action, duringMessage);
    }

    static Message WeightMessage() {
        return {"Attenzione !!!", kWeightMessage, QMessageBox::Information, 1};
    }
    static Message HeightMessage() {
        return {"Attenzione !!!", kHeightMessage, QMessageBox::Information, 1};
    }

  private slots:
    void initTestCase() { InstallItalianTranslations(*QCoreApplication::instance()); }

    void init() {
        QVERIFY(driver_.Open());
        QCOMPARE(Window()->logicalDpiY(), display_.dpi);
    }

    void cleanup() { driver_.Close(); }

    void windowHasItsCaptionAndFixedClientArea() {
        QCOMPARE(Window()->windowTitle(), "Calcolo della Velandra Corporea");
        const QSize client = display_.dpi == 144 ? QSize(542, 641) : QSize(361, 427);
        QCOMPARE(Window()->size(), client);
        QCOMPARE(Window()->minimumSize(), client);
        QCOMPARE(Window()->maximumSize(), client);
    }

    void windowShowsTheApplicationIcon() {
        QTRY_VERIFY(!Window()->windowIcon().isNull());
        const QIcon icon = Window()->windowIcon();
        QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
        const QImage image = icon.pixmap(QSize(32, 32), 1.0).toImage();
        QCOMPARE(image.size(), QSize(32, 32));
        QVERIFY(image.pixelColor(16, 16).alpha() > 0);
    }

    void everyElementHasItsPlaceFontAndColour() {
        const QPalette palette = Window()->palette();
        const QColor face = palette.color(QPalette::Window);
        const QColor text = palette.color(QPalette::WindowText);
        const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
        for (const ElementFacts& facts : kElementFacts) {
            auto* widget = Find<QWidget>(facts.name);
            QVERIFY2(widget->isVisible(), facts.name);
            QCOMPARE(widget->geometry(), display_.dpi == 144 ? facts.at144 : facts.at96);

            const QFontInfo font(widget->font());
            if (display_.standIns) {
                // At 96 dpi the stand-ins fit as they are; elsewhere hinting may take a quarter
                // point off a text that would otherwise touch its element's edge.
                const qreal points = widget->font().pointSizeF();
                QCOMPARE(font.family(), facts.family);
                if (display_.dpi == 96 && display_.lineWidth == 1) {
                    QCOMPARE(points, facts.points);
                } else {
                    QVERIFY2(points <= facts.points && points >= facts.points - 0.5, facts.name);
                }
            } else {
                const qreal points = widget->font().pointSizeF();
                QVERIFY2(QStringList({"DejaVu Sans", "DejaVu Serif"}).contains(font.family()),
                         qPrintable(font.family()));
                QVERIFY2(points <= facts.points && points >= facts.points / 2, facts.name);
            }
            QCOMPARE(font.bold(), facts.bold);
            QCOMPARE(font.italic(), facts.italic);

            Qt::Alignment align = Qt::AlignLeft;
            if (auto* box = qobject_cast<QLineEdit*>(widget)) align = box->alignment();
            if (auto* shown = qobject_cast<QLabel*>(widget)) align = shown->alignment();
            if (qobject_cast<QPushButton*>(widget) == nullptr) {
                QCOMPARE(bool(align & Qt::AlignHCenter), facts.centred);
            }

            auto* label = qobject_cast<QLabel*>(widget);
            if (label == nullptr) continue;
            const QColor ink = label->palette().color(QPalette::WindowText);
            QVERIFY(label->autoFillBackground());
            QCOMPARE(label->palette().color(QPalette::Window), face);
            QVERIFY2(ContrastRatio({ink.red(), ink.green(), ink.blue()},
                                   {face.red(), face.green(), face.blue()}) >= 4.5,
                     facts.name);
            if (facts.ink == Ink::Text) {
                QCOMPARE(ink, text);
            } else {
                QVERIFY2(ink != text, facts.name);
                QVERIFY2(qAbs(ink.hslHue() - highlight.hslHue()) <= 3, facts.name);
            }
        }
    }

    void everyTextIsDrawnWhole() {
        for (const ElementFacts& facts : kElementFacts) {
            QRect area;
            Qt::Alignment align = Qt::AlignCenter;
            QString text;
            if (auto* label = qobject_cast<QLabel*>(Find<QWidget>(facts.name))) {
                area = label->contentsRect();
                align = label->alignment();
                text = label->text();
            } else if (auto* button = qobject_cast<QPushButton*>(Find<QWidget>(facts.name))) {
                QStyleOptionButton option;
                option.initFrom(button);
                area =
                    button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
                text = button->text();
            } else {
                continue;
            }
            const QRect ink = DrawnInk(Find<QWidget>(facts.name)->font(), text, area, align);
            QVERIFY2(area.contains(ink), qPrintable(QString("%1: ink %2,%3 %4x%5 in %6x%7")
                                                        .arg(facts.name)
                                                        .arg(ink.x())
                                                        .arg(ink.y())
                                                        .arg(ink.width())
                                                        .arg(ink.height())
                                                        .arg(area.width())
                                                        .arg(area.height())));
        }
    }

    void formulaLinesAreOneStrokeOfThePensWidth() {
        const QImage image = Window()->grab().toImage();
        const qreal scale = image.devicePixelRatio();
        const QColor ink = Window()->palette().color(QPalette::WindowText);
        const int width = display_.lineWidth;
        const auto isInk = [&](int x, int y) { return image.pixelColor(x, y) == ink; };
        const auto underALabel = [&](QPoint device) {
            for (const QLabel* label : Window()->findChildren<QLabel*>())
                if (label->geometry().contains(device / scale)) return true;
            return false;
        };
        // The run of ink through (x, y), across the line: down a column for a flat line,
        // along a row for a steep one.
        const auto inkAcross = [&](QPoint p, bool flat) {
            QList<int> run;
            for (int d = -width - 1; d <= width + 1; ++d)
                if (flat ? isInk(p.x(), p.y() + d) : isInk(p.x() + d, p.y())) run << d;
            return run;
        };
        for (const LineFacts& facts : kLineFacts) {
            const QLine logical = display_.dpi == 144 ? facts.at144 : facts.at96;
            const QLine line(logical.p1() * scale, logical.p2() * scale);
            const bool flat = line.dy() == 0;
            for (qreal t : {0.25, 0.5, 0.75}) {
                const QPoint p = line.p1() + (line.p2() - line.p1()) * t;
                const QList<int> run = inkAcross(p, flat);
                QVERIFY2(!run.isEmpty() && run.first() <= 0 && run.last() >= 0, facts.name);
                // A slanting line may take one pixel more in a row where it steps sideways.
                const int extra = flat ? 0 : 1;
                QVERIFY2(
                    run.size() >= width && run.size() <= width + extra &&
                        run.last() - run.first() == run.size() - 1,
                    qPrintable(QString("%1 is %2 pixels across").arg(facts.name).arg(run.size())));
            }
            // Each end is where the table says, unless a label painted over it; a flat bar
            // stops there, give or take its pen's square cap.
            for (const QPoint end : {line.p1(), line.p2()}) {
                if (underALabel(end)) continue;
                QVERIFY2(isInk(end.x(), end.y()), facts.name);
                const int outwards = end.x() == qMin(line.x1(), line.x2()) ? -1 : 1;
                if (flat) QVERIFY2(!isInk(end.x() + outwards * width, end.y()), facts.name);
            }
        }
    }

    void theHighlightIsMadeReadableOnTheWindowFaceNotOnTheBoxes() {
        // Highlight 48 150 250 reads at 2.80:1 on a face of 245 245 245: darkened in tenths
        // towards black it reaches 4.83:1 at 35 110 183. On the boxes' near-black base it would
        // read as it is, so a rule judged against the base would keep 48 150 250.
        QPalette palette;
        palette.setColor(QPalette::Window, QColor(245, 245, 245));
        palette.setColor(QPalette::Base, QColor(20, 20, 20));
        palette.setColor(QPalette::Highlight, QColor(48, 150, 250));
        QCOMPARE(ColourFor(Colour::Highlight, palette), QColor(35, 110, 183));
    }

    void startsEmptyWithTheFocusInTheWeightBox() {
        for (auto name : {"TxtPeso", "TxtAltezza", "TxtVelandra"}) {
            QCOMPARE(Box(name)->text(), QString());
            QVERIFY(!Box(name)->isReadOnly());
            QCOMPARE(Box(name)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        }
        QCOMPARE(QApplication::focusWidget(), Box("TxtPeso"));
    }

    void tabMovesThroughTheTabIndexOrderBothWays() {
        const QStringList forward = {"CmdUscita",  "CmdCalcola",  "CmdCancella",
                                     "TxtAltezza", "TxtVelandra", "TxtPeso"};
        QStringList seen;
        for (int i = 0; i < forward.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(seen, forward);

        seen.clear();
        for (int i = 0; i < forward.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            seen << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(seen, QStringList({"TxtVelandra", "TxtAltezza", "CmdCancella", "CmdCalcola",
                                    "CmdUscita", "TxtPeso"}));
    }

    void calcolaWritesTheAreaInTheRegionalForm() {
        Type("TxtPeso", "70");
        Type("TxtAltezza", "170");

        const auto messages = Act([&] { Click("CmdCalcola"); });

        QVERIFY(messages.isEmpty());
        QCOMPARE(Box("TxtVelandra")->text(), qEnvironmentVariable("EXPECTED_RESULT_70_170"));
        // The result is wider than its box: its leading digits are the ones on view.
        QCOMPARE(Box("TxtVelandra")->cursorPosition(), 0);
    }

    void bothBoxesEmptyGiveTwoMessagesWeightFirst() {
        const auto messages = Act([&] { Click("CmdCalcola"); });

        QCOMPARE(messages.size(), 2);
        for (int i = 0; i < 2; ++i) {
            const Message expected = i == 0 ? WeightMessage() : HeightMessage();
            QCOMPARE(messages[i].title, expected.title);
            QCOMPARE(messages[i].text, expected.text);
            QCOMPARE(messages[i].icon, expected.icon);
            QCOMPARE(messages[i].buttons, expected.buttons);
        }
        QCOMPARE(Box("TxtVelandra")->text(), QString());
    }

    void anOpenMessageBlocksClicksOnTheWindow() {
        Type("TxtPeso", "abc");
        Type("TxtAltezza", "170");

        const auto messages = Act([&] { Click("CmdCalcola"); }, [&] { Click("CmdCancella"); });

        QCOMPARE(messages.size(), 1);
        QCOMPARE(Box("TxtPeso")->text(), "abc");  // Cancella did not run
    }

    void aRejectedCalcolaLeavesTheEarlierResult() {
        Type("TxtPeso", "80");
        Type("TxtAltezza", "180");
        Act([&] { Click("CmdCalcola"); });
        QCOMPARE(Box("TxtVelandra")->text(), "2");

        Type("TxtAltezza", "0");
        const auto messages = Act([&] { Click("CmdCalcola"); });

        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, HeightMessage().text);
        QCOMPARE(Box("TxtVelandra")->text(), "2");
    }

    void cancellaLeavesOneSpaceInEachBox() {
        Type("TxtPeso", "80");
        Type("TxtAltezza", "180");
        Act([&] { Click("CmdCalcola"); });

        Act([&] { Click("CmdCancella"); });

        for (auto name : {"TxtPeso", "TxtAltezza", "TxtVelandra"}) {
            QCOMPARE(Box(name)->text(), " ");
        }
    }

    void enterInABoxRunsNoCommand() {
        Type("TxtPeso", "80");
        Type("TxtAltezza", "180");

        const auto messages = Act([&] {
            for (auto name : {"TxtPeso", "TxtAltezza", "TxtVelandra"}) {
                QTest::keyClick(Box(name), Qt::Key_Return);
                QTest::keyClick(Box(name), Qt::Key_Enter, Qt::KeypadModifier);
            }
        });

        QVERIFY(messages.isEmpty());
        QCOMPARE(Box("TxtVelandra")->text(), QString());
    }

    void escapeDoesNotCloseTheWindow() {
        QTest::keyClick(Box("TxtPeso"), Qt::Key_Escape);
        QCoreApplication::processEvents();
        QVERIFY(Window()->isVisible());
    }

    void boxesTakeTextsLongerThanQtsDefaultLimit() {
        const QString pasted = QString(40000, '7');
        Box("TxtPeso")->setFocus();
        Box("TxtPeso")->insert(pasted);
        QCOMPARE(Box("TxtPeso")->text().size(), pasted.size());
    }

    void noCaptionCarriesAnAccessKey() {
        for (const Element& element : kElements) {
            QVERIFY(element.text.find('&') == std::string_view::npos);
            if (element.kind == Kind::PushButton) {
                QVERIFY(!Find<QPushButton>(element.name)->isDefault());
                QVERIFY(!Find<QPushButton>(element.name)->autoDefault());
            }
        }
    }

    void screenReadersHearWhatEachBoxAndButtonIs() {
        const auto spoken = [](QWidget* widget) {
            return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
        };
        QCOMPARE(spoken(Box("TxtPeso")), "Peso in chilogrammi");
        QCOMPARE(spoken(Box("TxtAltezza")), "Altezza in centimetri");
        QVERIFY(spoken(Box("TxtVelandra")).startsWith("Risultato"));
        QCOMPARE(spoken(Find<QPushButton>("CmdCalcola")), "Calcola");
        QCOMPARE(Find<QLabel>("LBLPeso")->buddy(), Box("TxtPeso"));
    }

    void platformTextsAreItalian() {
        std::unique_ptr<QMenu> menu(Box("TxtPeso")->createStandardContextMenu());
        QStringList texts;
        for (QAction* action : menu->actions())
            texts << action->text().remove('&').section('\t', 0, 0);
        QVERIFY2(texts.contains("Copia") && texts.contains("Incolla"), qPrintable(texts.join('|')));
    }

    void uscitaEndsTheEventLoop() {
        QTimer::singleShot(0, [&] { Click("CmdUscita"); });
        QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!Window()->isVisible());
    }

    void theCloseBoxEndsTheEventLoop() {
        QTimer::singleShot(0, [&] { Window()->close(); });
        QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
    }
};

QTEST_MAIN(QuarneloTest)
#include "quarnelo_test.moc"
