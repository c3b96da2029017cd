#include "ui/window_placement.h"
#include "common/profile_file.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>

class TestWindowPlacement : public QObject {
    Q_OBJECT

private slots:
    void init();
    void keepOnScreen_data();
    void keepOnScreen();
    void saveThenRestore();
    void restoreKeepsCurrentValuesForMissingKeys();
    void restorePastRightEdgeEndsFlush();
    void slotsOfWindowsOpenAtOnce();
    void cascadedPosition_data();
    void cascadedPosition();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestWindowPlacement::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(QStringLiteral("postavke.dat"));
}

void TestWindowPlacement::keepOnScreen_data()
{
    QTest::addColumn<QRect>("placement");
    QTest::addColumn<QRect>("kept");

    QTest::newRow("inside stays") << QRect(100, 50, 400, 300) << QRect(100, 50, 400, 300);
    QTest::newRow("past the right edge ends flush") << QRect(1500, 50, 400, 300) << QRect(880, 50, 400, 300);
    QTest::newRow("exactly flush stays") << QRect(880, 50, 400, 300) << QRect(880, 50, 400, 300);
    QTest::newRow("left of the screen") << QRect(-30, 50, 400, 300) << QRect(0, 50, 400, 300);
    QTest::newRow("wider than the screen starts at 0") << QRect(100, 50, 1400, 300) << QRect(0, 50, 1400, 300);
    QTest::newRow("past the bottom leaves task bar room") << QRect(100, 900, 400, 300) << QRect(100, 692, 400, 300);
    QTest::newRow("above the screen") << QRect(100, -40, 400, 300) << QRect(100, 0, 400, 300);
    QTest::newRow("taller than the screen starts at 0") << QRect(100, 100, 400, 1100) << QRect(100, 0, 400, 1100);
}

void TestWindowPlacement::keepOnScreen()
{
    QFETCH(QRect, placement);
    QFETCH(QRect, kept);
    QCOMPARE(KeepOnScreen(placement, QSize(1280, 1024)), kept);
}

void TestWindowPlacement::saveThenRestore()
{
    ProfileFile(m_path).writeString(QStringLiteral("Obracun"), QStringLiteral("NocniOd"), QStringLiteral("22:00"));
    QWidget saved;
    saved.setObjectName(QStringLiteral("DjelatniciForm"));
    saved.move(40, 30);
    saved.resize(300, 200);
    SaveWindowPlacement(&saved, m_path);

    const ProfileFile file(m_path);
    QCOMPARE(file.readInteger(QStringLiteral("DjelatniciForm"), QStringLiteral("Left"), -1), 40);
    QCOMPARE(file.readInteger(QStringLiteral("DjelatniciForm"), QStringLiteral("Top"), -1), 30);
    QCOMPARE(file.readString(QStringLiteral("Obracun"), QStringLiteral("NocniOd"), QString()), QStringLiteral("22:00"));

    QWidget restored;
    restored.setObjectName(QStringLiteral("DjelatniciForm"));
    RestoreWindowPlacement(&restored, m_path);
    QCOMPARE(restored.pos(), QPoint(40, 30));
    QCOMPARE(restored.size(), QSize(300, 200));

    // A section given by name is kept apart from the window's own.
    saved.move(60, 70);
    SaveWindowPlacement(&saved, m_path, QStringLiteral("DjelatniciForm2"));
    QCOMPARE(file.readInteger(QStringLiteral("DjelatniciForm2"), QStringLiteral("Left"), -1), 60);
    QCOMPARE(file.readInteger(QStringLiteral("DjelatniciForm"), QStringLiteral("Left"), -1), 40);
}

void TestWindowPlacement::restoreKeepsCurrentValuesForMissingKeys()
{
    ProfileFile(m_path).writeInteger(QStringLiteral("VozilaForm"), QStringLiteral("Width"), 350);
    QWidget window;
    window.setObjectName(QStringLiteral("VozilaForm"));
    window.move(20, 10);
    window.resize(200, 150);
    RestoreWindowPlacement(&window, m_path);
    QCOMPARE(window.pos(), QPoint(20, 10));
    QCOMPARE(window.size(), QSize(350, 150));
}

void TestWindowPlacement::restorePastRightEdgeEndsFlush()
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    ProfileFile file(m_path);
    file.writeInteger(QStringLiteral("Form1"), QStringLiteral("Top"), 10);
    file.writeInteger(QStringLiteral("Form1"), QStringLiteral("Left"), screen.width() + 500);
    file.writeInteger(QStringLiteral("Form1"), QStringLiteral("Width"), 300);
    file.writeInteger(QStringLiteral("Form1"), QStringLiteral("Height"), 200);

    QWidget window;
    window.setObjectName(QStringLiteral("Form1"));
    RestoreWindowPlacement(&window, m_path);
    QCOMPARE(window.x() + window.width(), screen.width());
    QCOMPARE(window.y(), 10);
}

void TestWindowPlacement::slotsOfWindowsOpenAtOnce()
{
    const auto window = [] { return std::make_unique<QWidget>(nullptr, Qt::Window); };
    auto firstWindow = window();
    auto secondWindow = window();
    auto otherWindow = window();
    auto first = std::make_unique<PlacementSlot>(firstWindow.get(), QStringLiteral("TfrmRucniUnos"));
    PlacementSlot second(secondWindow.get(), QStringLiteral("TfrmRucniUnos"));
    PlacementSlot other(otherWindow.get(), QStringLiteral("TKTSUnos"));
    QCOMPARE(first->section(), QStringLiteral("TfrmRucniUnos"));
    QCOMPARE(second.section(), QStringLiteral("TfrmRucniUnos2"));
    QCOMPARE(other.section(), QStringLiteral("TKTSUnos"));

    // A slot is free again once its window is gone.
    first.reset();
    firstWindow.reset();
    auto reopenedWindow = window();
    PlacementSlot reopened(reopenedWindow.get(), QStringLiteral("TfrmRucniUnos"));
    QCOMPARE(reopened.section(), QStringLiteral("TfrmRucniUnos"));
    auto thirdWindow = window();
    PlacementSlot third(thirdWindow.get(), QStringLiteral("TfrmRucniUnos"));
    QCOMPARE(third.section(), QStringLiteral("TfrmRucniUnos3"));
}

void TestWindowPlacement::cascadedPosition_data()
{
    QTest::addColumn<QRect>("placement");
    QTest::addColumn<QList<QPoint>>("taken");
    QTest::addColumn<QPoint>("position");

    // A screen of 1280 x 1024 with a task bar of 40 pixels at the bottom.
    QTest::newRow("free place stays") << QRect(100, 50, 958, 510) << QList<QPoint>{QPoint(0, 0)} << QPoint(100, 50);
    QTest::newRow("second on the first moves on") << QRect(0, 0, 958, 510) << QList<QPoint>{QPoint(0, 0)}
                                                  << QPoint(32, 32);
    QTest::newRow("third past both") << QRect(0, 0, 958, 510) << QList<QPoint>{QPoint(0, 0), QPoint(32, 32)}
                                     << QPoint(64, 64);
    QTest::newRow("wider than the screen moves down only")
        << QRect(0, 0, 1400, 510) << QList<QPoint>{QPoint(0, 0)} << QPoint(0, 32);
    QTest::newRow("at the bottom right corner starts again at the top left")
        << QRect(322, 474, 958, 510) << QList<QPoint>{QPoint(322, 474)} << QPoint(0, 0);
    QTest::newRow("past the task bar comes up") << QRect(0, 600, 958, 510) << QList<QPoint>{} << QPoint(0, 474);
}

void TestWindowPlacement::cascadedPosition()
{
    QFETCH(QRect, placement);
    QFETCH(QList<QPoint>, taken);
    QTEST(CascadedPosition(placement, taken, QRect(0, 0, 1280, 984)), "position");
}

QTEST_MAIN(TestWindowPlacement)
#include "tst_window_placement.moc"
