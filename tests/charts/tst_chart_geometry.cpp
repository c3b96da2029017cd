#include "charts/chart_geometry.h"
#include "charts/chart_reading_options.h"
#include "common/profile_file.h"
#include "file_bytes.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestChartGeometry : public QObject {
    Q_OBJECT

private slots:
    void missingFileGivesDefaults();
    void writesAndReadsBack();
    void readsRoundedAndUnreadableValues();
    void defaultGeometryFromImageSize_data();
    void defaultGeometryFromImageSize();
    void captionShowsTheGeometry();
    void readsReadingOptions();

private:
    QTemporaryDir m_dir;
};

void TestChartGeometry::missingFileGivesDefaults()
{
    const ChartGeometry geometry = ReadChartGeometry(ProfileFile(m_dir.filePath(QStringLiteral("none.dat"))));
    QCOMPARE(geometry.cx, 0);
    QCOMPARE(geometry.cy, 0);
    QCOMPARE(geometry.r1, 10);
    QCOMPARE(geometry.r2, 20);
    QCOMPARE(geometry.pos0, 180.0);
    QCOMPARE(ReadChartReadingOptions(ProfileFile(m_dir.filePath(QStringLiteral("none.dat")))),
             ChartReadingOptions());
}

void TestChartGeometry::writesAndReadsBack()
{
    const QString path = m_dir.filePath(QStringLiteral("ktspostavke.dat"));
    ProfileFile file(path);
    const ChartGeometry geometry{374, 372, 184, 197, 180.5};
    QVERIFY(WriteChartGeometry(file, geometry));
    QCOMPARE(ReadChartGeometry(file), geometry);

    QFile raw(path);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    const QByteArray text = raw.readAll();
    QVERIFY(text.contains("[Postavke]"));
    QVERIFY(text.contains("Pos0=180,5"));
    QVERIFY(text.contains("R1=184"));
    QVERIFY(text.contains("CY=372"));

    // An estimated direction is kept with two decimals.
    QVERIFY(WriteChartGeometry(file, ChartGeometry{374, 372, 184, 197, 348.1099999999998}));
    QCOMPARE(ReadChartGeometry(file).pos0, 348.11);
    QFile again(path);
    QVERIFY(again.open(QIODevice::ReadOnly));
    QVERIFY(again.readAll().contains("Pos0=348,11\r\n"));
}

void TestChartGeometry::readsRoundedAndUnreadableValues()
{
    const QString path = m_dir.filePath(QStringLiteral("rounded.dat"));
    QVERIFY(WriteAll(path, "[Postavke]\r\nR1=10,5\r\nR2=11,5\r\nPos0=12.25\r\nCX=abc\r\nCY=99999999\r\n"));
    const ChartGeometry geometry = ReadChartGeometry(ProfileFile(path));
    QCOMPARE(geometry.r1, 10); // halves to the even neighbour
    QCOMPARE(geometry.r2, 12);
    QCOMPARE(geometry.pos0, 12.25);
    QCOMPARE(geometry.cx, 0);  // not a number: missing
    QCOMPARE(geometry.cy, 0);  // beyond any image: missing
}

void TestChartGeometry::defaultGeometryFromImageSize_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("cx");
    QTest::addColumn<int>("cy");
    QTest::addColumn<int>("r1");
    QTest::addColumn<int>("r2");

    QTest::newRow("750 x 750") << 750 << 750 << 374 << 374 << 184 << 197;
    // m = 368: R1 = Round(180,53) + 1, R2 = Round(192,86) + 1.
    QTest::newRow("751 x 737") << 751 << 737 << 375 << 368 << 182 << 194;
}

void TestChartGeometry::defaultGeometryFromImageSize()
{
    QFETCH(int, width);
    QFETCH(int, height);
    const ChartGeometry geometry = DefaultChartGeometry(width, height);
    QTEST(geometry.cx, "cx");
    QTEST(geometry.cy, "cy");
    QTEST(geometry.r1, "r1");
    QTEST(geometry.r2, "r2");
}

void TestChartGeometry::captionShowsTheGeometry()
{
    QCOMPARE(GeometryCaption({374, 374, 184, 197, 180.5}), QStringLiteral("R1 = 184; R2 = 197; C = (374,374)  0=180,5"));
    QCOMPARE(GeometryCaption({375, 368, 182, 194, 270}), QStringLiteral("R1 = 182; R2 = 194; C = (375,368)  0=270"));
    QCOMPARE(GeometryCaption({375, 368, 182, 194, 89.75}), QStringLiteral("R1 = 182; R2 = 194; C = (375,368)  0=89,75"));
    // An estimated direction shows two decimals, not the noise of its binary fraction.
    QCOMPARE(GeometryCaption({375, 368, 182, 194, 331.88999999999976}),
             QStringLiteral("R1 = 182; R2 = 194; C = (375,368)  0=331,89"));
    QCOMPARE(GeometryCaption({375, 368, 182, 194, -0.001}), QStringLiteral("R1 = 182; R2 = 194; C = (375,368)  0=0"));
}

void TestChartGeometry::readsReadingOptions()
{
    const QString path = m_dir.filePath(QStringLiteral("postavke.dat"));
    QVERIFY(WriteAll(path, "[KTS]\r\nMin1=0\r\nMinVoznja=0\r\nNeminVoznja=0\r\nOdmor15=1\r\nNeminOdmor=0\r\n"
                           "CentarRadijus=0\r\nSpecKorekt=1\r\nMinKorekt=5\r\n"));
    ChartReadingOptions expected{false, false, false, true, false, false, true, 5};
    QCOMPARE(ReadChartReadingOptions(ProfileFile(path)), expected);

    QVERIFY(WriteAll(path, "[KTS]\r\nSpecKorekt=ja\r\nMinKorekt=x\r\n"));
    QCOMPARE(ReadChartReadingOptions(ProfileFile(path)), ChartReadingOptions());
}

QTEST_APPLESS_MAIN(TestChartGeometry)
#include "tst_chart_geometry.moc"
