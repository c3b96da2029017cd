#include "ui/grid_clipboard.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

namespace {

// A list of drivers whose query has one column more than the grid shows.
class DriverModel : public QStandardItemModel, public QueryRowsSource {
public:
    DriverModel()
    {
        setHorizontalHeaderLabels({QStringLiteral("Prezime i ime"), QStringLiteral("Vozač"), QString()});
        setHeaderData(2, Qt::Horizontal, QStringLiteral("IDDJ"), kFieldNameRole);
    }

    void addDriver(const QString& name, const QString& driver, const QString& id, const QString& card)
    {
        appendRow({new QStandardItem(name), new QStandardItem(driver), new QStandardItem(id)});
        m_cards << card;
    }

    QStringList queryRowTexts(int row) const override
    {
        return {item(row, 2)->text(), m_cards.at(row), item(row, 0)->text(), item(row, 1)->text()};
    }

private:
    QStringList m_cards;
};

const QString kUntouched = QStringLiteral("ostaje");

}  // namespace

class TestGridClipboard : public QObject {
    Q_OBJECT

private slots:
    void init();
    void gridWithHeaderAndHiddenColumns();
    void rowsOfTheQuery();
    void rowsOfAPlainModel();
    void emptyGridLeavesClipboard();
    void copyTableAction();

private:
    DriverModel m_model;
    QTableView m_grid;
};

void TestGridClipboard::init()
{
    m_model.removeRows(0, m_model.rowCount());
    m_model.addDriver(QStringLiteral("Horvat Ivan"), QStringLiteral("1"), QStringLiteral("12"), QStringLiteral("K-1"));
    m_model.addDriver(QStringLiteral("Šarić Đuro"), QString(), QStringLiteral("7"), QString());
    m_grid.setModel(&m_model);
    m_grid.setColumnHidden(1, true);
    QApplication::clipboard()->setText(kUntouched);
}

void TestGridClipboard::gridWithHeaderAndHiddenColumns()
{
    CopyGridToClipboard(&m_grid);
    QCOMPARE(QApplication::clipboard()->text(),
        QStringLiteral("##\tPrezime i ime\tVozač\tIDDJ\r\n"
                       "1\tHorvat Ivan\t1\t12\r\n"
                       "2\tŠarić Đuro\t\t7\r\n"));
}

void TestGridClipboard::rowsOfTheQuery()
{
    CopyRowsToClipboard(&m_grid);
    QCOMPARE(QApplication::clipboard()->text(),
        QStringLiteral("1\t12\tK-1\tHorvat Ivan\t1\r\n"
                       "2\t7\t\tŠarić Đuro\t\r\n"));
}

void TestGridClipboard::rowsOfAPlainModel()
{
    QStandardItemModel plain(1, 2);
    plain.setItem(0, 0, new QStandardItem(QStringLiteral("a")));
    plain.setItem(0, 1, new QStandardItem(QStringLiteral("b")));
    QTableView grid;
    grid.setModel(&plain);
    CopyRowsToClipboard(&grid);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("1\ta\tb\r\n"));
}

void TestGridClipboard::emptyGridLeavesClipboard()
{
    m_model.removeRows(0, m_model.rowCount());
    CopyGridToClipboard(&m_grid);
    QCOMPARE(QApplication::clipboard()->text(), kUntouched);
    CopyRowsToClipboard(&m_grid);
    QCOMPARE(QApplication::clipboard()->text(), kUntouched);

    QTableView withoutModel;
    CopyGridToClipboard(&withoutModel);
    CopyRowsToClipboard(&withoutModel);
    QCOMPARE(QApplication::clipboard()->text(), kUntouched);
}

void TestGridClipboard::copyTableAction()
{
    QAction* action = AddCopyTableAction(&m_grid);
    QCOMPARE(action->text(), QStringLiteral("Kopiraj tablicu"));
    QCOMPARE(m_grid.contextMenuPolicy(), Qt::ActionsContextMenu);

    m_grid.show();
    m_grid.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m_grid));
    m_grid.setFocus();
    m_grid.setCurrentIndex(m_model.index(1, 0));
    QTest::keyClick(&m_grid, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(QApplication::clipboard()->text().startsWith(QStringLiteral("##\tPrezime i ime\t")));
    QCOMPARE(m_grid.currentIndex(), m_model.index(1, 0));
}

QTEST_MAIN(TestGridClipboard)
#include "tst_grid_clipboard.moc"
