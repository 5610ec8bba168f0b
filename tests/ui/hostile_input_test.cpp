// Texts no one should type, typed or pasted into the real weight box: each must give its
// documented value, and the window the documented result or message, quickly and without harm.
#include <QElapsedTimer>
#include <QtTest>
#include <cmath>

#include "calc.h"
#include "italian_translations.h"
#include "window_driver.h"

using namespace velandra::ui::testing;

namespace {

constexpr qint64 kMaxMilliseconds = 100;
const QString kRejected;  // the weight message, and the result box left as it was

QString Chars(std::initializer_list<char32_t> codes) {
    QString text;
    for (char32_t code : codes) text += QString::fromUcs4(&code, 1);
    return text;
}

// Every decimal digit Unicode knows outside ASCII, as Qt's character tables give them.
QString NonAsciiDigits() {
    QString digits;
    for (char32_t code = 0x80; code <= 0x10FFFF; ++code) {
        if (QChar::category(code) == QChar::Number_DecimalDigit) {
            digits += QString::fromUcs4(&code, 1);
        }
    }
    return digits;
}

}  // namespace

class HostileInputTest : public QObject {
    Q_OBJECT

    WindowDriver driver_;

  private slots:
    void initTestCase() {
        velandra::ui::InstallItalianTranslations(*QCoreApplication::instance());
        QVERIFY(driver_.Open());
    }

    void rejectsOrComputesAsDocumented_data() {
        QTest::addColumn<QString>("weight");
        QTest::addColumn<double>("value");    // what the text reads as
        QTest::addColumn<QString>("result");  // what the result box shows; empty: rejected

        const QString seventy = "1.81811868577262";
        QTest::newRow("1 MB of digits") << QString(1 << 20, '7') << 0.0 << kRejected;
        QTest::newRow("1 MB of blanks, then 70") << QString(1 << 20, ' ') + "70" << 70.0 << seventy;
        QTest::newRow("embedded NUL") << QString("70") + QChar(0) + "5" << 70.0 << seventy;
        QTest::newRow("control characters before") << "\x01\x1b[2J70" << 0.0 << kRejected;
        QTest::newRow("control characters after") << "70\a\b\x7f" << 70.0 << seventy;
        QTest::newRow("tab and line feed before") << "\t\n70" << 70.0 << seventy;
        QTest::newRow("every non-ASCII digit") << NonAsciiDigits() << 0.0 << kRejected;
        QTest::newRow("Arabic-Indic seventy") << Chars({0x0667, 0x0660}) << 0.0 << kRejected;
        QTest::newRow("fullwidth seventy") << Chars({0xFF17, 0xFF10}) << 0.0 << kRejected;
        QTest::newRow("ASCII then Devanagari")
            << "7" + Chars({0x0966}) << 7.0 << "0.574939610355345";
        QTest::newRow("combining mark inside")
            << "7" + Chars({0x0303}) + "0" << 7.0 << "0.574939610355345";
        QTest::newRow("combining mark before") << Chars({0x0301}) + "70" << 0.0 << kRejected;
        QTest::newRow("right-to-left mark before") << Chars({0x200F}) + "70" << 0.0 << kRejected;
        QTest::newRow("right-to-left mark after") << "70" + Chars({0x200F}) << 70.0 << seventy;
        QTest::newRow("emoji after") << "70" + Chars({0x1F600}) << 70.0 << seventy;
        QTest::newRow("emoji before") << Chars({0x1F600}) + "70" << 0.0 << kRejected;
        QTest::newRow("lone high surrogate before")
            << QString(QChar(0xD800)) + "70" << 0.0 << kRejected;
        QTest::newRow("lone low surrogate after")
            << "70" + QString(QChar(0xDC00)) << 70.0 << seventy;
        QTest::newRow("1e309") << "1e309" << 1.0 << "0.217306746840088";
        QTest::newRow("-0") << "-0" << -0.0 << kRejected;
        QTest::newRow("0.") << "0." << 0.0 << kRejected;
        QTest::newRow(".") << "." << 0.0 << kRejected;
        QTest::newRow("+.5") << "+.5" << 0.5 << "0.153659074288215";
        QTest::newRow("300 leading zeros") << QString(300, '0') + "70" << 70.0 << seventy;
        QTest::newRow("400-digit integer") << "1" + QString(399, '0') << 0.0 << kRejected;
        QTest::newRow("denormal-sized fraction")
            << "0." + QString(320, '0') + "5" << 5e-321 << "1.53658218956633e-161";
    }

    void rejectsOrComputesAsDocumented() {
        QFETCH(QString, weight);
        QFETCH(double, value);
        QFETCH(QString, result);

        const double read = velandra::TextToNumber(weight.toStdString());
        QCOMPARE(read, value);
        QCOMPARE(std::signbit(read), std::signbit(value));

        driver_.Box("TxtVelandra")->clear();
        driver_.Type("TxtAltezza", "170");
        driver_.Paste("TxtPeso", weight);
        QCOMPARE(driver_.Box("TxtPeso")->text().size(), weight.size());

        // Timed from the press of Calcola, once Qt has repainted the boxes for it (a box of
        // 1 MB takes Qt itself a fifth of a second to paint), to the result or first message.
        QWindow* window = driver_.Window().windowHandle();
        const QPoint calcola = driver_.Find("CmdCalcola")->geometry().center();
        QElapsedTimer clock;
        qint64 answeredAfter = -1;
        const auto messages = driver_.Act(
            [&] {
                QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, calcola);
                clock.start();
                QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, calcola);
                if (answeredAfter < 0) answeredAfter = clock.elapsed();
            },
            [&] {
                if (answeredAfter < 0) answeredAfter = clock.elapsed();
            });

        QVERIFY2(answeredAfter <= kMaxMilliseconds, qPrintable(QString::number(answeredAfter)));
        QCOMPARE(driver_.Box("TxtVelandra")->text(), result);
        QCOMPARE(messages.size(), result.isEmpty() ? 1 : 0);
        if (result.isEmpty()) QCOMPARE(messages[0].text, kWeightMessage);
    }

    // No digit of another script counts as a digit, one at a time.
    void noNonAsciiDigitReadsAsANumber() {
        const QString digits = NonAsciiDigits();
        QVERIFY(digits.size() > 500);
        for (char32_t code : digits.toUcs4()) {
            const QString text = QString::fromUcs4(&code, 1).repeated(3);
            QVERIFY2(velandra::TextToNumber(text.toStdString()) == 0.0,
                     qPrintable(QString::number(code, 16)));
        }
    }
};

QTEST_MAIN(HostileInputTest)
#include "hostile_input_test.moc"
