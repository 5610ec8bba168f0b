// Ten thousand Calcola and Cancella clicks with random inputs in one window: every result must
// be the formula's, and neither widgets nor memory may pile up.
#include <QFile>
#include <QRandomGenerator>
#include <QtTest>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "italian_translations.h"
#include "window_driver.h"

using namespace velandra::ui::testing;

namespace {

constexpr int kRounds = 10000;
constexpr qint64 kMaxGrowthBytes = 1 << 20;

qint64 ResidentBytes() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ')[0].toLongLong() * 1024;
    }
    return -1;
}

// The formula's value rounded to the fifteen significant digits the box shows.
double Expected(double peso, double altezza) {
    char text[40];
    std::snprintf(text, sizeof text, "%.14e", std::sqrt(peso * altezza / 3600));
    return std::strtod(text, nullptr);
}

double Shown(QString text) {
    const QByteArray bytes = text.replace(',', '.').toLatin1();
    double value = std::nan("");
    std::from_chars(bytes.data(), bytes.data() + bytes.size(), value);
    return value;
}

}  // namespace

class StressTest : public QObject {
    Q_OBJECT

    WindowDriver driver_;
    QRandomGenerator random_{20261207};

    // One Calcola on random usable values, then one Cancella; false on a wrong result.
    bool Round() {
        const int weightTenths = random_.bounded(1, 3001);    // 0.1 to 300 kg
        const int heightTenths = random_.bounded(300, 2501);  // 30 to 250 cm
        driver_.Type("TxtPeso", QString::number(weightTenths / 10.0, 'f', 1));
        driver_.Type("TxtAltezza", QString::number(heightTenths / 10.0, 'f', 1));
        driver_.Click("CmdCalcola");
        const double shown = Shown(driver_.Box("TxtVelandra")->text());
        driver_.Click("CmdCancella");
        // The typed texts "x.y" read as the doubles nearest to tenths / 10.
        return shown == Expected(weightTenths / 10.0, heightTenths / 10.0);
    }

  private slots:
    void initTestCase() {
        velandra::ui::InstallItalianTranslations(*QCoreApplication::instance());
        QVERIFY(driver_.Open());
    }

    void manyClicksLeaveNoTrace() {
        for (int i = 0; i < 500; ++i) QVERIFY(Round());  // warm caches and allocator pools
        const auto widgets = QApplication::allWidgets().size();
        const qint64 before = ResidentBytes();

        for (int i = 0; i < kRounds; ++i) QVERIFY2(Round(), qPrintable(QString::number(i)));

        QCOMPARE(QApplication::allWidgets().size(), widgets);
        const qint64 growth = ResidentBytes() - before;
        qInfo("resident memory grew by %lld bytes over %d rounds", growth, kRounds);
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("AddressSanitizer keeps freed memory in quarantine: resident size says nothing here");
#endif
        QVERIFY2(growth <= kMaxGrowthBytes, qPrintable(QString::number(growth)));
    }
};

QTEST_MAIN(StressTest)
#include "stress_test.moc"
