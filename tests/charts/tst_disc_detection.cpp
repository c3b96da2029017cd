#include "chart_drawing.h"
#include "charts/disc_detection.h"

#include <QTest>

namespace {

// An edge map drawn as text: '.' no edge (0), 'w' a weak edge only (150), 'S' a strong edge (200).
Raster EdgesFromText(const QStringList& rows)
{
    Raster edges;
    ResizeRaster(edges, static_cast<int>(rows.first().size()), static_cast<int>(rows.size()));
    for (int y = 0; y < edges.height; ++y) {
        for (int x = 0; x < edges.width; ++x) {
            const QChar c = rows[y][x];
            edges.at(x, y) = GreyPixel(c == 'S' ? 200 : c == 'w' ? 150 : 0);
        }
    }
    return edges;
}

// A block of vertical stripes two pixels wide, light and dark, on a light background (so its
// first and last dark columns are x0 + 2 and x1 - 1): every pixel from x0 + 1 to x1 is a
// strong edge in the Sobel map.
void PaintStripes(Raster& raster, int x0, int y0, int x1, int y1)
{
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            raster.at(x, y) = (x / 2) % 2 ? GreyPixel(40) : GreyPixel(200);
}

Raster GreyRaster(int width, int height, int level)
{
    Raster raster;
    ResizeRaster(raster, width, height);
    ClearRaster(raster, GreyPixel(level));
    return raster;
}

bool Contains(const DiscBox& outer, const DiscBox& inner)
{
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right
        && outer.bottom >= inner.bottom;
}

DiscBox TrueBox(const ChartDiscDrawing& disc)
{
    return {int(disc.centreX - disc.radius), int(disc.centreY - disc.radius), int(disc.centreX + disc.radius),
            int(disc.centreY + disc.radius)};
}

DiscBox Grown(const DiscBox& box, int margin)
{
    return {box.left - margin, box.top - margin, box.right + margin, box.bottom + margin};
}

} // namespace

// Found by QCOMPARE through argument-dependent lookup, for readable failures.
char* toString(const DiscBox& box)
{
    return QTest::toString(QStringLiteral("(%1, %2, %3, %4)").arg(box.left).arg(box.top).arg(box.right).arg(box.bottom));
}

Q_DECLARE_METATYPE(BandSide)
Q_DECLARE_METATYPE(Sampling)

class TestDiscDetection : public QObject {
    Q_OBJECT

private slots:
    void edgeMapStrength_data();
    void edgeMapStrength();
    void uniformGreyHasNoDisc();
    void bandEdgeSearch_data();
    void bandEdgeSearch();
    void reducedSizeAndScaledBox();
    void gapRows_data();
    void gapRows();
    void findsDrawnDiscs_data();
    void findsDrawnDiscs();
    void averagedReductionStepsOverDust_data();
    void averagedReductionStepsOverDust();
    void discsSideBySideGiveOneBox();
    void aDiscIsADisc_data();
    void aDiscIsADisc();
    void everyLidKeepsEveryDisc_data();
    void everyLidKeepsEveryDisc();
    void rimScaleFragmentIsNoDisc_data();
    void rimScaleFragmentIsNoDisc();
    void refinesADiscCutOut();
    void refinementMatchesTheWholeEdgeMap_data();
    void refinementMatchesTheWholeEdgeMap();
};

void TestDiscDetection::edgeMapStrength_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("zeroBelow");
    QTest::addColumn<int>("strength");
    QTest::addColumn<bool>("inBox");
    // A vertical step edge: both columns beside it get |B| = 4 × step.
    QTest::newRow("weak step cut away") << 25 << 110 << 0 << false;
    QTest::newRow("step kept below the box threshold") << 30 << 110 << 120 << false;
    QTest::newRow("step in the box") << 40 << 110 << 160 << true;
    QTest::newRow("capped at 255") << 100 << 110 << 255 << true;
    QTest::newRow("orientation thresholds") << 12 << 40 << 48 << false;
}

void TestDiscDetection::edgeMapStrength()
{
    QFETCH(int, step);
    QFETCH(int, zeroBelow);
    QFETCH(int, strength);
    QFETCH(bool, inBox);
    Raster source = GreyRaster(10, 8, 50);
    for (int y = 0; y < 8; ++y)
        for (int x = 5; x < 10; ++x)
            source.at(x, y) = GreyPixel(50 + step);
    Raster edges;
    const DiscBox box = EdgeMap(source, edges, zeroBelow, 150).box;
    QCOMPARE(edges.width, 10);
    QCOMPARE(edges.height, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool border = x == 0 || y == 0 || x == 9 || y == 7;
            const int expected = !border && (x == 4 || x == 5) ? strength : 0;
            QCOMPARE(edges.at(x, y), GreyPixel(expected));
        }
    }
    QCOMPARE(box, inBox ? (DiscBox{4, 1, 5, 6}) : DiscBox{});
}

void TestDiscDetection::uniformGreyHasNoDisc()
{
    const Raster grey = GreyRaster(800, 1000, 128);
    Raster edges;
    QCOMPARE(EdgeMap(grey, edges, kDiscEdgeZeroBelow, kDiscEdgeBoxAbove).box, DiscBox{});
    QVERIFY(std::all_of(edges.pixels.begin(), edges.pixels.end(), [](uint32_t p) { return p == GreyPixel(0); }));
    const DiscBoxesResult boxes = FindDiscBoxes(StretchNearest(grey, 320, 400), edges);
    QCOMPARE(boxes.count, 0);
    QCOMPARE(boxes.first.left, -1);
    QCOMPARE(boxes.second.left, -1);
    QVERIFY(FindChartDiscs(grey).boxes.empty());
    QVERIFY(RefineDiscBox(GreyRaster(700, 700, 200)).box == DiscBox{});
}

void TestDiscDetection::bandEdgeSearch_data()
{
    QTest::addColumn<QStringList>("map");
    QTest::addColumn<BandSide>("side");
    QTest::addColumn<int>("expected");
    // Five columns of edges, the first one strong: found from either side, each at its strong column.
    const QStringList block = {
        "..............",
        "..SwwwS.......",
        "..SwwwS.......",
        "..SwwwS.......",
        "..SwwwS.......",
        "..............",
    };
    QTest::newRow("left") << block << BandSide::Left << 2;
    QTest::newRow("right") << block << BandSide::Right << 6;
    // Rows of a vertical block are thin: no row has 4 weak edges below (or above) it.
    QTest::newRow("top of a thin block") << block << BandSide::Top << -1;
    const QStringList slab = {
        "..........",
        "SSSSSSSSSS",
        "wwwwwwwwww",
        "wwwwwwwwww",
        "wwwwwwwwww",
        "SSSSSSSSSS",
        "..........",
    };
    QTest::newRow("top") << slab << BandSide::Top << 1;
    QTest::newRow("bottom") << slab << BandSide::Bottom << 5;
    // A following column with only 3 weak edges fails the run.
    QTest::newRow("short column") << QStringList{
        "..........",
        "..Swww.w..",
        "..Swww.w..",
        "..Swwwww..",
        "..Sww.ww..",
        "..........",
    } << BandSide::Left << -1;
    // Strong pixels whose neighbours to the right lie outside the raster are no left side.
    QTest::newRow("neighbours outside the raster") << QStringList{
        "....Sw",
        "....Sw",
        "....Sw",
        "....Sw",
        "....Sw",
    } << BandSide::Left << -1;
    // For a bottom side, the row 0 above the candidate does not count as a neighbour.
    QTest::newRow("bottom near row 0") << QStringList{
        "wwwww",
        "wwwww",
        "wwwww",
        "SSSSS",
        ".....",
    } << BandSide::Bottom << -1;
    QTest::newRow("bottom with rows 1 to 4 above") << QStringList{
        "wwwww",
        "wwwww",
        "wwwww",
        "wwwww",
        "SSSSS",
    } << BandSide::Bottom << 4;
}

void TestDiscDetection::bandEdgeSearch()
{
    QFETCH(QStringList, map);
    QFETCH(BandSide, side);
    QFETCH(int, expected);
    const Raster edges = EdgesFromText(map);
    QCOMPARE(BandEdgeSearch(edges, {0, 0, edges.width - 1, edges.height - 1}, side), expected);
}

void TestDiscDetection::reducedSizeAndScaledBox()
{
    const ReducedSize size = ReducedScanSize(1600, 2200);
    QCOMPARE(size.scale, 5.5);
    QCOMPARE(size.width, 290);
    QCOMPARE(size.height, 400);
    // 258.5, 93.5, 1446.5 and 1281.5 round to the even neighbour.
    QCOMPARE(ScaleReducedBox({50, 20, 260, 230}, size.scale), (DiscBox{258, 94, 1446, 1282}));
    const ReducedSize a4 = ReducedScanSize(2480, 3508);
    QCOMPARE(a4.width, 282);
    QCOMPARE(a4.height, 400);
    const ReducedSize barely = ReducedScanSize(401, 401);
    QCOMPARE(barely.width, 400);
    QCOMPARE(barely.height, 400);
}

void TestDiscDetection::gapRows_data()
{
    QTest::addColumn<int>("plainRows"); // uniform rows between the two striped blocks
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("gapRows");
    QTest::addColumn<int>("lowerLeft");
    QTest::addColumn<int>("lowerRight");
    // The Sobel kernel reaches one row into the plain strip from each side. The lower disc's
    // sides are found on the yellow gap row, unless the upper disc's green side marks cover
    // it (a single gap row): then the red side columns stay unreadable and the sides move in.
    QTest::newRow("one plain row: no gap") << 1 << 1 << 0 << -1 << -1;
    QTest::newRow("three plain rows: a single gap row") << 3 << 2 << 1 << 62 << 239;
    QTest::newRow("ten plain rows") << 10 << 2 << 8 << 61 << 240;
}

void TestDiscDetection::gapRows()
{
    QFETCH(int, plainRows);
    QFETCH(int, count);
    QFETCH(int, gapRows);
    QFETCH(int, lowerLeft);
    QFETCH(int, lowerRight);
    Raster reduced = GreyRaster(300, 400, 200);
    PaintStripes(reduced, 60, 40, 240, 180);
    PaintStripes(reduced, 60, 181 + plainRows, 240, 360);
    Raster edges;
    const DiscBoxesResult found = FindDiscBoxes(reduced, edges);
    QCOMPARE(found.count, count);
    // Sides are marked in red, top and bottom in blue.
    QCOMPARE(edges.at(found.first.left, 5), kMarkSide);
    QCOMPARE(edges.at(found.first.right, 395), kMarkSide);
    QCOMPARE(edges.at(3, found.first.top), kMarkTopBottom);
    if (count == 1) {
        QCOMPARE(found.first, (DiscBox{61, 39, 240, 361}));
        QCOMPARE(found.second, DiscBox{});
        return;
    }
    const int gapStart = found.first.bottom;
    const int gapEnd = found.second.top;
    QCOMPARE(gapEnd - gapStart + 1, gapRows);
    QCOMPARE(gapStart, 182);
    QCOMPARE(found.first, (DiscBox{61, 39, 240, gapStart}));
    QCOMPARE(found.second, (DiscBox{lowerLeft, gapEnd, lowerRight, 361}));
    QCOMPARE(edges.at(0, gapStart), kMarkGap);
    QCOMPARE(edges.at(299, gapEnd), kMarkGap);
    // The sides of each disc are marked in transparent green over its rows.
    QCOMPARE(edges.at(found.first.left, 100), kMarkDiscSide);
    QCOMPARE(edges.at(found.second.right, 300), kMarkDiscSide);
}

void TestDiscDetection::findsDrawnDiscs_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("discCount");
    QTest::newRow("one disc, 100 dpi") << 100 << 1;
    QTest::newRow("two discs, 100 dpi") << 100 << 2;
    QTest::newRow("one disc, 300 dpi") << 300 << 1;
    QTest::newRow("two discs, 300 dpi") << 300 << 2;
}

void TestDiscDetection::findsDrawnDiscs()
{
    QFETCH(int, dpi);
    QFETCH(int, discCount);
    const int width = A4WidthPixels(dpi);
    const int height = A4HeightPixels(dpi);
    std::vector<ChartDiscDrawing> discs = StackedDiscs(width, height, discCount);
    for (ChartDiscDrawing& disc : discs)
        disc.trace = {{100, 400, 3}, {400, 430, 1}, {600, 800, 2}};
    const ChartDiscsResult found = FindChartDiscs(DrawChartPage(width, height, discs));
    QCOMPARE(found.boxes.size(), size_t(discCount));
    // Each box holds its disc with the margin of the reduced search and not much more (at a
    // gap the box ends on the first edge-free row, a row or two below the disc).
    const int slack = static_cast<int>(6 * ReducedScanSize(width, height).scale);
    for (int i = 0; i < discCount; ++i) {
        const DiscBox disc = TrueBox(discs[i]);
        QVERIFY(Contains(found.boxes[i], disc));
        QVERIFY(Contains(Grown(disc, slack), found.boxes[i]));
    }
}

void TestDiscDetection::averagedReductionStepsOverDust_data()
{
    QTest::addColumn<bool>("whiteLid");
    QTest::addColumn<int>("discCount");
    // On a white lid the disc's edge is faint and specks of dust make the plainer search take
    // a dusty column for a side, or a dusty row for a second disc.
    QTest::newRow("white lid, one disc") << true << 1;
    QTest::newRow("white lid, two discs") << true << 2;
    QTest::newRow("dark lid, two discs") << false << 2;
}

void TestDiscDetection::averagedReductionStepsOverDust()
{
    QFETCH(bool, whiteLid);
    QFETCH(int, discCount);
    const int width = A4WidthPixels(150);
    const int height = A4HeightPixels(150);
    const std::uint32_t lid = whiteLid ? kOpaqueWhite : kChartBackground;
    std::vector<ChartDiscDrawing> discs = StackedDiscs(width, height, discCount);
    for (ChartDiscDrawing& disc : discs) {
        disc.trace = {{100, 400, 3}, {400, 430, 1}, {600, 800, 2}};
        disc.holeColour = lid;
    }
    Raster page = DrawChartPage(width, height, discs, lid);
    // Dark specks of one to three pixels, one in 2000 pixels, anywhere.
    unsigned state = 2654435761u;
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>(state >> 8);
    };
    for (long i = 0; i < long(width) * height / 2000; ++i) {
        const int x = next() % width;
        const int y = next() % height;
        const int size = 1 + next() % 3;
        for (int dy = 0; dy < size; ++dy)
            for (int dx = 0; dx < size; ++dx)
                SetPixel(page, x + dx, y + dy, GreyPixel(40));
    }
    const ChartDiscsResult found = FindChartDiscs(page, Sampling::Area);
    QCOMPARE(found.boxes.size(), size_t(discCount));
    const int slack = static_cast<int>(6 * ReducedScanSize(width, height).scale);
    for (int i = 0; i < discCount; ++i) {
        const DiscBox disc = TrueBox(discs[i]);
        QVERIFY(Contains(found.boxes[i], disc));
        QVERIFY(Contains(Grown(disc, slack), found.boxes[i]));
    }
}

void TestDiscDetection::discsSideBySideGiveOneBox()
{
    const int width = 1400;
    const int height = 900;
    ChartDiscDrawing left;
    left.centreX = 350;
    left.centreY = 450;
    left.radius = 300;
    ChartDiscDrawing right = left;
    right.centreX = 1050;
    const ChartDiscsResult found = FindChartDiscs(DrawChartPage(width, height, {left, right}));
    QCOMPARE(found.boxes.size(), size_t(1));
    QVERIFY(Contains(found.boxes[0], {50, 150, 1350, 750}));
}

void TestDiscDetection::aDiscIsADisc_data()
{
    QTest::addColumn<QList<DiscBox>>("boxes");
    QTest::addColumn<QList<DiscBox>>("discs");
    const DiscBox upper{100, 100, 1500, 1480};
    const DiscBox lower{110, 1800, 1490, 3200};
    QTest::newRow("two discs stay, in their order") << QList<DiscBox>{upper, lower} << QList<DiscBox>{upper, lower};
    QTest::newRow("one disc") << QList<DiscBox>{upper} << QList<DiscBox>{upper};
    // A piece of the rim scale below the disc: a box of 140 × 120.
    QTest::newRow("fragment below") << QList<DiscBox>{upper, {700, 1500, 840, 1620}} << QList<DiscBox>{upper};
    QTest::newRow("fragment above, listed first") << QList<DiscBox>{{700, 0, 840, 90}, lower} << QList<DiscBox>{lower};
    // Half of the largest is still a disc; a box centred within another disc's circle is not,
    // whatever its size.
    QTest::newRow("half the size is a disc") << QList<DiscBox>{upper, {500, 1700, 1200, 2400}}
                                             << QList<DiscBox>{upper, {500, 1700, 1200, 2400}};
    QTest::newRow("centred inside the disc's circle") << QList<DiscBox>{upper, {200, 700, 1400, 1900}}
                                                      << QList<DiscBox>{upper};
    QTest::newRow("nothing") << QList<DiscBox>{} << QList<DiscBox>{};
}

void TestDiscDetection::aDiscIsADisc()
{
    QFETCH(QList<DiscBox>, boxes);
    QFETCH(QList<DiscBox>, discs);
    const std::vector<DiscBox> kept = WholeDiscs(std::vector<DiscBox>(boxes.begin(), boxes.end()));
    QCOMPARE(QList<DiscBox>(kept.begin(), kept.end()), discs);
}

void TestDiscDetection::everyLidKeepsEveryDisc_data()
{
    QTest::addColumn<bool>("whiteLid");
    QTest::addColumn<bool>("printed");
    QTest::addColumn<int>("discCount");
    for (bool whiteLid : {false, true})
        for (bool printed : {false, true})
            for (int discCount : {1, 2})
                QTest::addRow("%s lid, %s, %d disc(s)", whiteLid ? "white" : "dark", printed ? "printed" : "plain",
                              discCount)
                    << whiteLid << printed << discCount;
}

// Every real disc is found with the averaged reduction, also a printed disc on a white lid,
// whose paper hardly differs from the lid and whose thin lines averaging makes faint: its box
// may end a little inside the rim, never outside the slack.
void TestDiscDetection::everyLidKeepsEveryDisc()
{
    QFETCH(bool, whiteLid);
    QFETCH(bool, printed);
    QFETCH(int, discCount);
    const int width = A4WidthPixels(150);
    const int height = A4HeightPixels(150);
    const std::uint32_t lid = whiteLid ? kOpaqueWhite : kChartBackground;
    std::vector<ChartDiscDrawing> discs = StackedDiscs(width, height, discCount);
    for (ChartDiscDrawing& disc : discs) {
        disc.trace = {{100, 400, 3}, {400, 430, 1}, {600, 800, 2}};
        disc.holeColour = lid;
        if (printed)
            disc = PrintedDisc(disc, whiteLid);
    }
    const ChartDiscsResult found = FindChartDiscs(DrawChartPage(width, height, discs, lid), Sampling::Area);
    QCOMPARE(found.boxes.size(), size_t(discCount));
    const int slack = static_cast<int>(6 * ReducedScanSize(width, height).scale);
    for (int i = 0; i < discCount; ++i) {
        const DiscBox disc = TrueBox(discs[i]);
        QVERIFY(Contains(found.boxes[i], Grown(disc, -slack)));
        QVERIFY(Contains(Grown(disc, slack), found.boxes[i]));
    }
}

void TestDiscDetection::rimScaleFragmentIsNoDisc_data()
{
    QTest::addColumn<Sampling>("reduction");
    QTest::newRow("nearest") << Sampling::Nearest;
    QTest::newRow("averaged") << Sampling::Area;
}

// A scan of one disc on a white lid with a piece of rim scale lying below it, clear of it:
// the search finds a gap between them and a second box, which is no disc.
void TestDiscDetection::rimScaleFragmentIsNoDisc()
{
    QFETCH(Sampling, reduction);
    const int width = A4WidthPixels(300);
    const int height = A4HeightPixels(300);
    std::vector<ChartDiscDrawing> discs = StackedDiscs(width, height, 1);
    discs[0].trace = {{100, 400, 3}, {600, 800, 2}};
    discs[0] = PrintedDisc(discs[0], true);
    Raster page = DrawChartPage(width, height, discs, kOpaqueWhite);
    // Ticks 3 pixels wide every 12, 60 pixels long, over 140 pixels, well below the disc.
    const int top = static_cast<int>(discs[0].centreY + discs[0].radius) + 150;
    for (int x = width / 2 - 70; x < width / 2 + 70; ++x)
        for (int y = top; y < top + 60; ++y)
            if ((x - width / 2 + 70) % 12 < 3)
                page.at(x, y) = kChartInk;
    // Without the check of WholeDiscs the search takes the fragment for a second disc.
    const ReducedSize size = ReducedScanSize(width, height);
    SampledMeanRows averaged = AveragedReduction(width, height);
    averaged.add(page, 0, height);
    Raster edges;
    const Raster reduced = reduction == Sampling::Area ? WithoutSpecks(averaged.take())
                                                       : StretchNearest(page, size.width, size.height);
    QCOMPARE(FindDiscBoxes(reduced, edges, reduction == Sampling::Area ? GapRows::WidestRun : GapRows::FirstToLast).count, 2);
    const ChartDiscsResult found = FindChartDiscs(page, reduction);
    QCOMPARE(found.boxes.size(), size_t(1));
    QVERIFY(found.boxes[0].top < discs[0].centreY && found.boxes[0].bottom > discs[0].centreY);
}

void TestDiscDetection::refinesADiscCutOut()
{
    ChartDiscDrawing disc;
    disc.centreX = 380;
    disc.centreY = 390;
    disc.radius = 360;
    const Raster cutout = DrawChartPage(770, 790, {disc});
    const DiscBox refined = RefineDiscBox(cutout).box;
    QVERIFY(refined.complete());
    QVERIFY(Contains(Grown(refined, 2), TrueBox(disc)));
    QVERIFY(Contains(Grown(TrueBox(disc), 2), refined));
}


// RefineDiscBox works out edges only where it looks; it must give what the searches give on
// the whole edge map.
void TestDiscDetection::refinementMatchesTheWholeEdgeMap_data()
{
    QTest::addColumn<int>("picture");
    QTest::newRow("drawn disc") << 0;
    QTest::newRow("drawn disc cut off at the top left") << 1;
    QTest::newRow("striped blocks") << 2;
    QTest::newRow("a lone edge in a plain picture") << 3;
    QTest::newRow("plain") << 4;
}

void TestDiscDetection::refinementMatchesTheWholeEdgeMap()
{
    QFETCH(int, picture);
    Raster cutout = GreyRaster(640, 600, 200);
    ChartDiscDrawing disc;
    disc.centreX = picture == 1 ? 250 : 330;
    disc.centreY = picture == 1 ? 220 : 300;
    disc.radius = 290;
    disc.trace = {{0, 700, 3}};
    if (picture <= 1)
        DrawChartDisc(cutout, disc);
    if (picture == 2) {
        PaintStripes(cutout, 30, 50, 200, 300);
        PaintStripes(cutout, 300, 200, 600, 560);
    }
    if (picture == 3)
        cutout.at(400, 100) = GreyPixel(0);

    Raster edges;
    const DiscBox edgeBox = EdgeMap(cutout, edges, kDiscEdgeZeroBelow, kDiscEdgeBoxAbove).box;
    DiscBox expected;
    if (edgeBox.complete()) {
        const Band band{edgeBox.left, edgeBox.top, edgeBox.right, edgeBox.bottom};
        expected.left = BandEdgeSearch(edges, band, BandSide::Left);
        expected.right = BandEdgeSearch(edges, band, BandSide::Right);
        const Band narrowed{expected.left >= 0 ? expected.left : edgeBox.left, edgeBox.top,
                            expected.right >= 0 ? expected.right : edgeBox.right, edgeBox.bottom};
        expected.top = BandEdgeSearch(edges, narrowed, BandSide::Top);
        expected.bottom = BandEdgeSearch(edges, narrowed, BandSide::Bottom);
    }
    QCOMPARE(RefineDiscBox(cutout).box, expected);
}

QTEST_GUILESS_MAIN(TestDiscDetection)
#include "tst_disc_detection.moc"
