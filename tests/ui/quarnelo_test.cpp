// The window driven as a person drives it: real key presses and mouse clicks through Qt's event
// system, message boxes found and dismissed as they appear.
#include "quarnelo.h"

#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
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

struct FontFacts {
    Font role;
    qreal points;
    int pixels;  // at 96 dpi
    bool bold;
    bool italic;
};

constexpr FontFacts kFontFacts[] = {
    {Font::SansSmall, 8.25, 11, false, false},    {Font::Sans, 9.75, 13, false, false},
    {Font::GaramondBold, 14.25, 19, true, false}, {Font::GaramondItalic, 12, 16, false, true},
    {Font::VerdanaBold, 9.75, 13, true, false},   {Font::VerdanaItalic, 9.75, 13, false, true},
};

// Where the ink of a single line of text lands inside a rectangle, drawn as QPainter lays it out:
// the line box centred vertically, the text aligned left or centred.
QRectF InkRect(const QFont& font, const QString& text, const QRectF& area, Qt::Alignment align) {
    const QFontMetricsF metrics(font);
    const qreal left = (align & Qt::AlignHCenter)
                           ? area.left() + (area.width() - metrics.horizontalAdvance(text)) / 2
                           : area.left();
    const qreal baseline = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();
    return metrics.tightBoundingRect(text).translated(left, baseline);
}

}  // namespace

class QuarneloTest : public QObject {
    Q_OBJECT

  private:
    WindowDriver driver_;
    qreal dpi_ = 96;

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
        dpi_ = Window()->logicalDpiY();
    }

    void cleanup() { driver_.Close(); }

    void windowHasItsCaptionAndFixedClientArea() {
        QCOMPARE(Window()->windowTitle(), "Calcolo della Velandra Corporea");
        const QSize client(ToPixels(5415, dpi_), ToPixels(6405, dpi_));
        QCOMPARE(Window()->size(), client);
        QCOMPARE(Window()->minimumSize(), client);
        QCOMPARE(Window()->maximumSize(), client);
        if (dpi_ == 96) QCOMPARE(client, QSize(361, 427));
    }

    void windowShowsTheApplicationIcon() {
        QTRY_VERIFY(!Window()->windowIcon().isNull());
        const QIcon icon = Window()->windowIcon();
        QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
        const QImage image = icon.pixmap(32, 32).toImage();
        QCOMPARE(image.size(), QSize(32, 32));
        QVERIFY(image.pixelColor(16, 16).alpha() > 0);
    }

    void everyElementStandsWhereTheTableSays() {
        for (const Element& element : kElements) {
            if (element.kind == Kind::Line) continue;
            auto* widget = Find<QWidget>(element.name);
            QVERIFY2(widget->isVisible(), element.name.data());
            QCOMPARE(widget->geometry(), ToPixels(element.box, dpi_));
            QVERIFY(Window()->rect().contains(widget->geometry()));
        }
    }

    void textsAreExact() {
        QCOMPARE(Find<QLabel>("LBLPeso")->text(), "PESO        in  Kg");
        QCOMPARE(Find<QLabel>("LBLAltezza")->text(), "ALTEZZA in  cm  ");
        QCOMPARE(Find<QLabel>("LBLFattore")->text(), QString("VELANDRA in m") + QChar(0x00B2));
        QCOMPARE(Find<QLabel>("Label5")->text(),
                 "Utilizzare il punto come separatore dei decimali");
        QCOMPARE(Find<QLabel>("LBLIntestazione")->text(), "CALCOLO DELLA");
        QCOMPARE(Find<QLabel>("LBLIntestazione2")->text(), "VELANDRA CORPOREA (BSA)");
        QCOMPARE(Find<QLabel>("Label3")->text(), "( Peso x Altezza )");
        QCOMPARE(Find<QPushButton>("CmdCalcola")->text(), "Calcola");
        QCOMPARE(Find<QPushButton>("CmdCancella")->text(), "Cancella");
        QCOMPARE(Find<QPushButton>("CmdUscita")->text(), "Uscita");
    }

    void fontsResolveToTheNamedFamilyOrItsSubstitute() {
        for (const Element& element : kElements) {
            if (element.kind == Kind::Line) continue;
            const QFont font = Find<QWidget>(element.name)->font();
            const QFontInfo resolved(font);
            QVERIFY2(font.families().contains(resolved.family()),
                     qPrintable(QString(element.name.data()) + " got " + resolved.family()));
            for (const FontFacts& facts : kFontFacts) {
                if (facts.role != element.font) continue;
                QCOMPARE(font.pointSizeF(), facts.points);
                QCOMPARE(resolved.bold(), facts.bold);
                QCOMPARE(resolved.italic(), facts.italic);
                if (dpi_ == 96) QCOMPARE(resolved.pixelSize(), facts.pixels);
            }
        }
    }

    void everyTextFitsItsElement() {
        for (const Element& element : kElements) {
            if (element.kind == Kind::Label) {
                auto* label = Find<QLabel>(element.name);
                const QRectF ink = InkRect(label->font(), label->text(), label->contentsRect(),
                                           label->alignment());
                QVERIFY2(QRectF(label->rect()).contains(ink),
                         qPrintable(label->objectName() + " needs " + QString::number(ink.width()) +
                                    "x" + QString::number(ink.height())));
            } else if (element.kind == Kind::PushButton) {
                auto* button = Find<QPushButton>(element.name);
                QStyleOptionButton option;
                option.initFrom(button);
                option.text = button->text();
                const QRect contents =
                    button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
                const QRectF ink =
                    InkRect(button->font(), button->text(), contents, Qt::AlignHCenter);
                QVERIFY2(QRectF(contents).contains(ink), qPrintable(button->objectName()));
            }
        }
    }

    void labelTextsReadWellOnTheFaceColour() {
        for (const Element& element : kElements) {
            if (element.kind != Kind::Label) continue;
            const QPalette palette = Find<QLabel>(element.name)->palette();
            QVERIFY(Find<QLabel>(element.name)->autoFillBackground());
            QCOMPARE(palette.color(QPalette::Window), Window()->palette().color(QPalette::Window));
            QVERIFY2(ContrastRatio(palette.color(QPalette::WindowText),
                                   palette.color(QPalette::Window)) >= 4.5,
                     element.name.data());
        }
    }

    void formulaLinesAreDrawnWhereTheTableSays() {
        const QImage image = Window()->grab().toImage();
        const QColor ink = ColourFor(Colour::Desktop, Window()->palette());
        const QColor face = Window()->palette().color(QPalette::Window);
        const auto isInkNear = [&](QPoint p) {
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy)
                    if (image.pixelColor(p + QPoint(dx, dy)) == ink) return true;
            return false;
        };
        for (const QLine& line : FormLines(dpi_)) {
            QVERIFY2(isInkNear(line.p2()), qPrintable(QString::number(line.x2())));
            QVERIFY(isInkNear(line.center()));
            // Clear face beside a straight bar, so the ink is the line's own.
            if (line.dy() == 0) QCOMPARE(image.pixelColor(line.center() + QPoint(0, 3)), face);
        }
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
