#include "temp_database.h"

#include "ui/selector_combo.h"
#include "session/session.h"
#include "ui/pick_list_dialog.h"
#include "ui/selector_items.h"

#include <QAbstractItemView>
#include <QDir>
#include <QComboBox>
#include <QMessageBox>
#include <QPainter>
#include <QStandardItemModel>
#include <QPushButton>
#include <QStyleHints>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QString kPersonQuery = QStringLiteral(
    "SELECT IMEPREZIME,IDDJ,RADNOMJESTO FROM DJELATNICI WHERE (VOZAC<>1) OR (NOT RADNOMJESTO CONTAINING ('VOZA'))  "
    "ORDER BY IMEPREZIME");
const QStringList kPersonItems{"Zanemari", "Anić Ana||2||Računovođa", "Babić Marko||4||Skladištar",
    "Kovač Đuro||3||"};

QComboBox* ComboSelect(const PickListDialog& form)
{
    auto* combo = form.findChild<QComboBox*>(QStringLiteral("ComboSelect"));
    if (!combo) {
        qFatal("no ComboSelect");
    }
    return combo;
}

QStringList Items(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items << combo->itemText(i);
    }
    return items;
}

// The columns of the image that hold blue text pixels.
QList<int> BlueColumns(const QImage& image)
{
    QList<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            const QColor colour = image.pixelColor(x, y);
            if (colour.blue() > 150 && colour.red() < 100 && colour.green() < 100) {
                columns << x;
                break;
            }
        }
    }
    return columns;
}

void Show(PickListDialog& form)
{
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
}

}  // namespace

class TestPickListDialog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void selectorChoice_data();
    void selectorChoice();
    void layOutSelectorItem_data();
    void layOutSelectorItem();
    void paintedItemShowsDetailInBlue_data();
    void paintedItemShowsDetailInBlue();
    void closedBoxIsDrawnLikeItsItems();
    void showingLoadsItemsAfresh();
    void preselection_data();
    void preselection();
    void queryWithoutRowsLeavesZanemari();
    void databaseErrorIsShownAndLeavesZanemari();
    void enterChoosesTheItem();
    void clickInOpenListChoosesWithoutClosing();
    void zanemariIsNoChoice();
    void escapeAndCloseBoxCancel_data();
    void escapeAndCloseBoxCancel();

private:
    std::unique_ptr<TempDatabase> m_db;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<TestTransactions> m_data;
};

void TestPickListDialog::initTestCase()
{
    m_db = std::make_unique<TempDatabase>();
    m_session = std::make_unique<Session>(QDir(m_db->folder()).filePath("postavke.dat"));
    ConnectUpgraded(m_session->connection(), m_db->path());
    m_data = std::make_unique<TestTransactions>(m_session->connection());
    m_data->script.execute(
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, RADNOMJESTO, VOZAC) VALUES (1, 'Horvat Ivan', 'Vozač', 1);"
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, RADNOMJESTO, VOZAC) VALUES (2, 'Anić Ana', 'Računovođa', 0);"
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, RADNOMJESTO, VOZAC) VALUES (3, 'Kovač Đuro', NULL, 0);"
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, RADNOMJESTO, VOZAC) VALUES (4, 'Babić Marko', 'Skladištar', 0);");
    m_data->write.commit();
}

void TestPickListDialog::selectorChoice_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("initialIndex");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("keyField");
    QTest::addColumn<int>("choice");
    const QStringList items{"Zanemari", "Anić||2||Računovođa", "Babić||4||Skladištar", "Kovač||3||"};
    QTest::newRow("no key") << items << 0 << 0 << 2 << 0;
    QTest::newRow("initial index kept without key") << items << 2 << 0 << 2 << 2;
    QTest::newRow("key in field 2") << items << 0 << 3 << 2 << 3;
    QTest::newRow("key overrides initial index") << items << 1 << 4 << 2 << 2;
    QTest::newRow("key matching nothing keeps initial") << items << 1 << 9 << 2 << 1;
    QTest::newRow("key compared in its own field only") << items << 0 << 2 << 3 << 0;
    QTest::newRow("negative key ignored") << QStringList{"Zanemari", "A||-1"} << 0 << -1 << 2 << 0;
    QTest::newRow("zero key ignored") << QStringList{"Zanemari", "A||0"} << 0 << 0 << 2 << 0;
    QTest::newRow("last of equal keys") << QStringList{"Zanemari", "A||5", "B||5", "C||6"} << 0 << 5 << 2 << 2;
    QTest::newRow("field past the last is the last") << QStringList{"Zanemari", "A||7"} << 0 << 7 << 3 << 1;
    QTest::newRow("text compared whole") << QStringList{"Zanemari", "A||12", "B||1"} << 0 << 1 << 2 << 2;
    QTest::newRow("index of the item count is out of range") << items << 4 << 0 << 2 << 0;
    QTest::newRow("negative index") << items << -1 << 0 << 2 << 0;
    QTest::newRow("Zanemari alone") << QStringList{"Zanemari"} << 0 << 5 << 1 << 0;
}

void TestPickListDialog::selectorChoice()
{
    QFETCH(QStringList, items);
    QFETCH(int, initialIndex);
    QFETCH(int, key);
    QFETCH(int, keyField);
    QTEST(SelectorChoice(items, initialIndex, key, keyField), "choice");
}

void TestPickListDialog::layOutSelectorItem_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<bool>("detailInBlue");
    QTest::newRow("employee") << "Anić Ana||2||Računovođa" << false << "Anić Ana" << "Računovođa" << true;
    QTest::newRow("selected employee") << "Anić Ana||2||Računovođa" << true << "Anić Ana" << "Računovođa" << false;
    QTest::newRow("Zanemari on both sides") << "Zanemari" << false << "Zanemari" << "Zanemari" << true;
    QTest::newRow("no job title") << "Kovač Đuro||3||" << false << "Kovač Đuro" << "" << true;
}

void TestPickListDialog::layOutSelectorItem()
{
    QFETCH(QString, item);
    QFETCH(bool, selected);
    const QRect rect(10, 40, 493, 19);
    const SelectorItemLine line = LayOutSelectorItem(item, rect, selected);
    QTEST(line.name, "name");
    QTEST(line.detail, "detail");
    QTEST(line.detailInBlue, "detailInBlue");
    // Field 1 starts 3 pixels in from the left, field 3 ends 3 pixels before the right edge,
    // both 1 pixel below the top.
    QCOMPARE(line.nameRect, QRect(13, 41, 490, 18));
    QCOMPARE(line.detailRect, QRect(10, 41, 490, 18));
}

void TestPickListDialog::paintedItemShowsDetailInBlue_data()
{
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("blue");
    QTest::newRow("not selected") << false << true;
    QTest::newRow("selected") << true << false;
}

void TestPickListDialog::paintedItemShowsDetailInBlue()
{
    QFETCH(bool, selected);
    QStandardItemModel model;
    model.appendRow(new QStandardItem("Anić Ana||2||Računovođa"));
    QImage image(493, 19, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QStyleOptionViewItem option;
    option.rect = image.rect();
    option.palette = QApplication::palette();
    option.state = selected ? QStyle::State_Selected : QStyle::State_None;
    SelectorItemDelegate delegate;
    {
        QPainter painter(&image);
        delegate.paint(&painter, option, model.index(0, 0));
    }
    QCOMPARE(delegate.sizeHint(option, model.index(0, 0)).height(), 19);
    const QList<int> blue = BlueColumns(image);
    QTEST(!blue.isEmpty(), "blue");
    if (!blue.isEmpty()) {
        // Only the job title is blue, and it stands against the right edge.
        QVERIFY2(blue.first() > image.width() / 2, qPrintable(QString::number(blue.first())));
        QVERIFY2(blue.last() >= image.width() - 8, qPrintable(QString::number(blue.last())));
    }
}

void TestPickListDialog::closedBoxIsDrawnLikeItsItems()
{
    PickListDialog form(*m_session);
    form.SQL = kPersonQuery;
    form.Key = 2;
    form.KeyField = 2;
    Show(form);
    QComboBox* combo = ComboSelect(form);
    combo->clearFocus();
    QVERIFY(!BlueColumns(combo->grab().toImage()).isEmpty());
}

void TestPickListDialog::showingLoadsItemsAfresh()
{
    PickListDialog form(*m_session);
    QCOMPARE(form.windowTitle(), QStringLiteral("Odaberite"));
    form.SQL = kPersonQuery;
    Show(form);
    QComboBox* combo = ComboSelect(form);
    QCOMPARE(Items(combo), kPersonItems);
    QCOMPARE(form.ChosenIndex(), 0);
    QCOMPARE(form.height(), 100);
    QVERIFY(!m_data->write.isActive());
    // Items are 19 pixels high in the open list.
    QCOMPARE(combo->view()->sizeHintForRow(1), 19);

    form.hide();
    m_data->script.execute(
        "INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, RADNOMJESTO, VOZAC) VALUES (5, 'Čolić Iva', 'Tajnica', 0);");
    m_data->write.commit();
    Show(form);
    // In alphabetical order, Č after C.
    QCOMPARE(Items(combo), (QStringList{kPersonItems[0], kPersonItems[1], kPersonItems[2], "Čolić Iva||5||Tajnica",
                               kPersonItems[3]}));
    m_data->script.execute("DELETE FROM DJELATNICI WHERE IDDJ = 5;");
    m_data->write.commit();
}

void TestPickListDialog::preselection_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("key of a listed employee") << 3 << "Kovač Đuro||3||";
    QTest::newRow("key of an employee not listed") << 1 << "";
    QTest::newRow("no key") << -1 << "";
}

void TestPickListDialog::preselection()
{
    QFETCH(int, key);
    PickListDialog form(*m_session);
    form.SQL = kPersonQuery;
    form.Key = key;
    form.KeyField = 2;
    Show(form);
    QTEST(form.ChosenItem(), "chosen");
    QCOMPARE(ComboSelect(form)->currentText(), form.ChosenItem().isEmpty() ? "Zanemari" : form.ChosenItem());
}

void TestPickListDialog::queryWithoutRowsLeavesZanemari()
{
    PickListDialog form(*m_session);
    form.SQL = "SELECT IMEPREZIME, IDDJ FROM DJELATNICI WHERE IDDJ < 0";
    form.Key = 2;
    form.KeyField = 2;
    Show(form);
    QCOMPARE(Items(ComboSelect(form)), QStringList{"Zanemari"});
    QCOMPARE(form.ChosenIndex(), 0);
}

void TestPickListDialog::databaseErrorIsShownAndLeavesZanemari()
{
    PickListDialog form(*m_session);
    form.SQL = "SELECT NEPOSTOJI FROM DJELATNICI";
    QString shown;
    QTimer::singleShot(0, &form, [&form, &shown] {
        if (auto* box = form.findChild<QMessageBox*>()) {
            shown = box->text();
            box->accept();
        }
    });
    Show(form);
    QVERIFY2(shown.contains("NEPOSTOJI"), qPrintable(shown));
    QCOMPARE(Items(ComboSelect(form)), QStringList{"Zanemari"});
    if (m_data->write.isActive()) {
        m_data->write.rollback();
    }
}

void TestPickListDialog::enterChoosesTheItem()
{
    PickListDialog form(*m_session);
    form.SQL = kPersonQuery;
    form.Key = 2;
    form.KeyField = 2;
    QTimer::singleShot(0, &form, [&form] {
        QTest::keyClick(ComboSelect(form), Qt::Key_Down);
        QTest::keyClick(ComboSelect(form), Qt::Key_Return);
    });
    QCOMPARE(form.exec(), int(QDialog::Accepted));
    QCOMPARE(form.ChosenIndex(), 2);
    QCOMPARE(form.ChosenItem(), kPersonItems[2]);
    QVERIFY(form.HasChoice());
}

void TestPickListDialog::clickInOpenListChoosesWithoutClosing()
{
    PickListDialog form(*m_session);
    form.SQL = kPersonQuery;
    Show(form);
    QComboBox* combo = ComboSelect(form);
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    // The list ignores a click that comes right after it opened.
    QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 50);
    const QPoint item = list->visualRect(list->model()->index(3, 0)).center();
    QTest::mouseMove(list->viewport(), item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item);
    QTRY_VERIFY(!list->isVisible());
    QCOMPARE(form.ChosenIndex(), 3);
    QVERIFY(form.isVisible());
    QTest::mouseClick(form.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.ChosenItem(), kPersonItems[3]);
}

void TestPickListDialog::zanemariIsNoChoice()
{
    PickListDialog form(*m_session);
    form.SQL = kPersonQuery;
    Show(form);
    QTest::mouseClick(form.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.ChosenIndex(), 0);
    QCOMPARE(form.ChosenItem(), QString());
    QVERIFY(!form.HasChoice());
}

void TestPickListDialog::escapeAndCloseBoxCancel_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Escape") << false;
    QTest::newRow("close box") << true;
}

void TestPickListDialog::escapeAndCloseBoxCancel()
{
    QFETCH(bool, closeBox);
    PickListDialog form(*m_session);
    form.SQL = kPersonQuery;
    form.Key = 4;
    form.KeyField = 2;
    QTimer::singleShot(0, &form, [&form, closeBox] {
        QTest::keyClick(ComboSelect(form), Qt::Key_Down);
        if (closeBox) {
            form.close();
        } else {
            QTest::keyClick(ComboSelect(form), Qt::Key_Escape);
        }
    });
    QCOMPARE(form.exec(), int(QDialog::Rejected));
    QVERIFY(!form.HasChoice());
}

QTEST_MAIN(TestPickListDialog)
#include "tst_pick_list_dialog.moc"
