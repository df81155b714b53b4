#include "presentation/WindowPlacement.h"

#include <QTest>

using namespace WindowPlacement;

namespace {
const QRect kPrimary(0, 0, 1920, 1080);
const QSize kWindow(420, 260);
} // namespace

class TestWindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    // A stored position in twips read as pixels; a whole number of twips is what the pixels are stored as.
    // clang-format off
    void twipsAndPixels_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<double>("dpi");
        QTest::addColumn<int>("pixels");
        QTest::newRow("96 one") << "15" << 96.0 << 1;
        QTest::newRow("plain") << "1500" << 96.0 << 100;
        QTest::newRow("96 left of primary") << "-19200" << 96.0 << -1280;
        QTest::newRow("at 120") << "1500" << 120.0 << 125;
        QTest::newRow("120 odd") << "3996" << 120.0 << 333;
        QTest::newRow("110 not whole") << "92" << 110.0 << 7;
        QTest::newRow("no dpi reads as 96") << "30" << 0.0 << 2;
        QTest::newRow("blanks") << " 1500 " << 96.0 << 100;
        QTest::newRow("fraction") << "1507.5" << 96.0 << 101;
        QTest::newRow("empty") << "" << 96.0 << 0;
        QTest::newRow("not a number") << "left" << 96.0 << 0;
        QTest::newRow("number and text") << "15x" << 96.0 << 0;
        QTest::newRow("nan") << "nan" << 96.0 << 0;
        QTest::newRow("huge") << "99999999999999999999" << 96.0 << kMaxPixels;
        QTest::newRow("huge negative") << "-1e300" << 96.0 << -kMaxPixels;
    }
    // clang-format on
    void twipsAndPixels()
    {
        QFETCH(QString, stored);
        QFETCH(double, dpi);
        QFETCH(int, pixels);
        QCOMPARE(storedTwipsToPixels(stored, dpi), pixels);
        bool whole = false;
        const qint64 twips = stored.toLongLong(&whole);
        if (whole)
            QCOMPARE(pixelsToTwips(pixels, dpi), twips);
    }

    // clang-format off
    void placedOnAScreen_data()
    {
        QTest::addColumn<QPoint>("asked");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QPoint>("placed");
        const QList<QRect> one{kPrimary};
        const QList<QRect> sideBySide{kPrimary, QRect(1920, 0, 1280, 1024)};

        QTest::newRow("on screen") << QPoint(100, 100) << kWindow << one << QPoint(100, 100);
        QTest::newRow("far right") << QPoint(5000, 100) << kWindow << one << QPoint(1500, 100);
        QTest::newRow("far up and left") << QPoint(-5000, -5000) << kWindow << one << QPoint(0, 0);
        QTest::newRow("mostly below") << QPoint(100, 1000) << kWindow << one << QPoint(100, 820);
        QTest::newRow("half off right stays") << QPoint(1710, 100) << kWindow << one << QPoint(1710, 100);
        QTest::newRow("caption above the top") << QPoint(100, -50) << kWindow << one << QPoint(100, 0);
        QTest::newRow("larger than the screen") << QPoint(50, 50) << QSize(3000, 2000) << one << QPoint(0, 0);
        QTest::newRow("huge stored position") << QPoint(kMaxPixels, kMaxPixels) << kWindow << one << QPoint(1500, 820);
        QTest::newRow("extreme integers") << QPoint(INT_MAX, INT_MIN) << QSize(INT_MAX, INT_MAX) << one << QPoint(0, 0);
        QTest::newRow("empty size") << QPoint(5000, 5000) << QSize() << one << QPoint(1919, 1079);
        QTest::newRow("across two screens") << QPoint(1800, 100) << kWindow << sideBySide << QPoint(1800, 100);
        QTest::newRow("beyond second screen") << QPoint(4000, 300) << kWindow << sideBySide << QPoint(2780, 300);
        QTest::newRow("below shorter second") << QPoint(2500, 1030) << kWindow << sideBySide << QPoint(2500, 764);
        QTest::newRow("on screen left of primary") << QPoint(-1000, 200) << kWindow << QList<QRect>{kPrimary, QRect(-1280, 0, 1280, 1024)} << QPoint(-1000, 200);
        QTest::newRow("caption on upper screen") << QPoint(100, -100) << kWindow << QList<QRect>{kPrimary, QRect(0, -1080, 1920, 1080)} << QPoint(100, -100);
        QTest::newRow("gap between screens: primary wins the tie") << QPoint(1970, 100) << QSize(400, 260) << QList<QRect>{kPrimary, QRect(2420, 0, 1000, 1080)} << QPoint(1520, 100);
        QTest::newRow("nearest is the small screen") << QPoint(-3000, 200) << kWindow << QList<QRect>{kPrimary, QRect(-2000, 0, 1000, 1080)} << QPoint(-2000, 200);
        QTest::newRow("empty screen ignored") << QPoint(100, 100) << kWindow << QList<QRect>{QRect(), kPrimary} << QPoint(100, 100);
        QTest::newRow("no screens") << QPoint(-5000, 7) << kWindow << QList<QRect>{} << QPoint(-5000, 7);
    }
    // clang-format on
    void placedOnAScreen()
    {
        QFETCH(QPoint, asked);
        QFETCH(QSize, size);
        QFETCH(QList<QRect>, screens);
        QTEST(placeOnScreen(asked, size, screens), "placed");
    }
};

QTEST_GUILESS_MAIN(TestWindowPlacement)
#include "tst_WindowPlacement.moc"
