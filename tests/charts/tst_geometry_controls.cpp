#include "charts/day_split.h"
#include "charts/geometry_controls.h"

#include <QTest>

namespace {

constexpr ImageSize kImage{750, 737};

ChartGeometry Geometry(int cx, int cy, int r1, int r2, double pos0 = 180)
{
    return ChartGeometry{cx, cy, r1, r2, pos0};
}

} // namespace

Q_DECLARE_METATYPE(ChartGeometry)
Q_DECLARE_METATYPE(ImageKey)
Q_DECLARE_METATYPE(GeometryButton)

class TestGeometryControls : public QObject {
    Q_OBJECT

private slots:
    void imageKeys_data();
    void imageKeys();
    void buttons_data();
    void buttons();
    void splitPointSteps_data();
    void splitPointSteps();
};

void TestGeometryControls::imageKeys_data()
{
    QTest::addColumn<ChartGeometry>("before");
    QTest::addColumn<ImageKey>("key");
    QTest::addColumn<bool>("follow");
    QTest::addColumn<ChartGeometry>("once");  // the key going down
    QTest::addColumn<ChartGeometry>("twice"); // and coming up again

    const ChartGeometry ring = Geometry(374, 374, 184, 197);
    QTest::newRow("Ctrl+Left widens R1") << ring << ImageKey::CtrlLeft << false << Geometry(374, 374, 185, 197)
                                         << Geometry(374, 374, 186, 197);
    QTest::newRow("Ctrl+Left past R2") << Geometry(374, 374, 197, 197) << ImageKey::CtrlLeft << false
                                       << Geometry(374, 374, 177, 197) << Geometry(374, 374, 178, 197);
    QTest::newRow("Ctrl+Right not below 5") << Geometry(374, 374, 6, 197) << ImageKey::CtrlRight << false
                                            << Geometry(374, 374, 5, 197) << Geometry(374, 374, 5, 197);
    QTest::newRow("Ctrl+Up not above half the height") << Geometry(374, 374, 184, 367) << ImageKey::CtrlUp << false
                                                       << Geometry(374, 374, 184, 368) << Geometry(374, 374, 184, 368);
    QTest::newRow("Ctrl+Down below R1") << Geometry(374, 374, 184, 184) << ImageKey::CtrlDown << false
                                        << Geometry(374, 374, 184, 204) << Geometry(374, 374, 184, 203);
    QTest::newRow("Right past the width wraps") << Geometry(750, 374, 184, 197) << ImageKey::Right << false
                                                << Geometry(0, 374, 184, 197) << Geometry(1, 374, 184, 197);
    QTest::newRow("Down past the height wraps") << Geometry(374, 737, 184, 197) << ImageKey::Down << false
                                                << Geometry(374, 0, 184, 197) << Geometry(374, 1, 184, 197);
    QTest::newRow("Left not below 0") << Geometry(0, 374, 184, 197) << ImageKey::Left << false
                                      << Geometry(0, 374, 184, 197) << Geometry(0, 374, 184, 197);
    // min(375, 374) = 374: Round(374 · 0.49058) + 1 = 184, Round(374 · 0.52407) + 1 = 197.
    QTest::newRow("Right with the radii following") << Geometry(374, 374, 150, 160) << ImageKey::Right << true
                                                    << Geometry(375, 374, 184, 197) << Geometry(376, 374, 184, 197);
    QTest::newRow("Up with the radii following") << Geometry(374, 374, 150, 160) << ImageKey::Up << true
                                                 << Geometry(374, 373, 184, 196) << Geometry(374, 372, 183, 196);
    QTest::newRow("Ctrl+0") << ring << ImageKey::Ctrl0 << true << Geometry(374, 374, 184, 197, 181)
                            << Geometry(374, 374, 184, 197, 182);
    QTest::newRow("Ctrl+F4") << ring << ImageKey::CtrlF4 << true << Geometry(374, 374, 184, 197, 179.75)
                             << Geometry(374, 374, 184, 197, 179.5);
}

void TestGeometryControls::imageKeys()
{
    QFETCH(ChartGeometry, before);
    QFETCH(ImageKey, key);
    QFETCH(bool, follow);
    QFETCH(ChartGeometry, once);
    QFETCH(ChartGeometry, twice);
    const ChartGeometry down = ApplyImageKey(before, key, kImage, follow);
    QCOMPARE(down, once);
    QCOMPARE(ApplyImageKey(down, key, kImage, follow), twice);
}

void TestGeometryControls::buttons_data()
{
    QTest::addColumn<GeometryButton>("button");
    QTest::addColumn<bool>("follow");
    QTest::addColumn<ChartGeometry>("after");
    QTest::newRow("initial") << GeometryButton::Initial << true << Geometry(376, 369, 183, 197);
    QTest::newRow("up, radii stay") << GeometryButton::Up << false << Geometry(374, 373, 184, 197);
    QTest::newRow("right, radii follow") << GeometryButton::Right << true << Geometry(375, 374, 184, 197);
    QTest::newRow("R1 +++") << GeometryButton::R1PlusFive << true << Geometry(374, 374, 189, 197);
    QTest::newRow("R2 --- crosses R1 unchecked") << GeometryButton::R2MinusFive << true << Geometry(374, 374, 184, 192);
    QTest::newRow("0-") << GeometryButton::ZeroMinus << true << Geometry(374, 374, 184, 197, 179.75);
    QTest::newRow("0++") << GeometryButton::ZeroPlusPlus << true << Geometry(374, 374, 184, 197, 181);
}

void TestGeometryControls::buttons()
{
    QFETCH(GeometryButton, button);
    QFETCH(bool, follow);
    QFETCH(ChartGeometry, after);
    QCOMPARE(ApplyGeometryButton(Geometry(374, 374, 184, 197), button, kImage, follow), after);
}

void TestGeometryControls::splitPointSteps_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("next");
    QTest::addColumn<int>("previous");
    // Rest, driving from 03:00, rest, other work from 18:00.
    QTest::newRow("between the two") << 600 << 1080 << 180;
    QTest::newRow("on the first") << 180 << 1080 << 1080;
    QTest::newRow("on the last") << 1080 << 180 << 180;
    QTest::newRow("at midnight") << 0 << 180 << 1080;
}

void TestGeometryControls::splitPointSteps()
{
    QFETCH(int, current);
    QFETCH(int, next);
    QFETCH(int, previous);
    const ChartIntervals intervals{{0, 180, kRest}, {180, 300, kDriving}, {300, 1080, kRest}, {1080, 1440, kOtherWork}};
    QCOMPARE(NextSplitPoint(intervals, current), next);
    QCOMPARE(PreviousSplitPoint(intervals, current), previous);
    QCOMPARE(NextSplitPoint({{0, 1440, kRest}}, current), current);
}

QTEST_MAIN(TestGeometryControls)
#include "tst_geometry_controls.moc"
