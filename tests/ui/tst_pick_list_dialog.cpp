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
#include <QPushButton>
#include <QStyleHints>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QString kPersonQuery = QStringLiteral(
    "SELECT IMEPREZIME,IDDJ,RADNOMJESTO FROM DJELATNICI WHERE (VOZAC<>1) OR (NOT RADNOMJESTO CONTAINING ('VOZA'))  "
    "ORDER BY IMEPREZIME");
const std::vector<PickItem> kPersonItems{kNoChoiceItem, {2, "Anić Ana", "Računovođa"}, {4, "Babić Marko", "Skladištar"},
    {3, "Kovač Đuro", ""}};

SelectorComboBox* ComboSelect(const PickListDialog& form)
{
    auto* combo = form.findChild<SelectorComboBox*>(QStringLiteral("ComboSelect"));
    if (!combo) {
        qFatal("no ComboSelect");
    }
    return combo;
}

// The texts the list shows.
QStringList Texts(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i) {
        texts << combo->itemText(i);
    }
    return texts;
}

std::vector<PickItem> Items(const SelectorComboBox* combo)
{
    std::vector<PickItem> items;
    for (int i = 0; i < combo->count(); ++i) {
        items.push_back(combo->pickItem(i));
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
    void nameWithBarsIsOneItem();

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
    QTest::addColumn<QList<int>>("ids");  // of items 1 onward
    QTest::addColumn<int>("initialIndex");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("choice");
    const QList<int> ids{2, 4, 3};
    QTest::newRow("no key") << ids << 0 << 0 << 0;
    QTest::newRow("initial index kept without key") << ids << 2 << 0 << 2;
    QTest::newRow("key of an item") << ids << 0 << 3 << 3;
    QTest::newRow("key overrides initial index") << ids << 1 << 4 << 2;
    QTest::newRow("key matching nothing keeps initial") << ids << 1 << 9 << 1;
    QTest::newRow("negative key ignored") << QList<int>{-1} << 0 << -1 << 0;
    QTest::newRow("zero key ignored") << QList<int>{0} << 0 << 0 << 0;
    QTest::newRow("last of equal keys") << QList<int>{5, 5, 6} << 0 << 5 << 2;
    QTest::newRow("key compared whole") << QList<int>{12, 1} << 0 << 1 << 2;
    QTest::newRow("index of the item count is out of range") << ids << 4 << 0 << 0;
    QTest::newRow("negative index") << ids << -1 << 0 << 0;
    QTest::newRow("Zanemari alone") << QList<int>{} << 0 << 5 << 0;
}

void TestPickListDialog::selectorChoice()
{
    QFETCH(QList<int>, ids);
    QFETCH(int, initialIndex);
    QFETCH(int, key);
    std::vector<PickItem> rows;
    for (int id : ids) {
        rows.push_back(PickItem{id, QStringLiteral("Ime %1").arg(id), QString()});
    }
    QTEST(SelectorChoice(SelectorItems(rows), initialIndex, key), "choice");
}

void TestPickListDialog::layOutSelectorItem_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shownDetail");
    QTest::addColumn<bool>("detailInBlue");
    QTest::newRow("employee") << "Anić Ana" << "Računovođa" << false << "Anić Ana" << "Računovođa" << true;
    QTest::newRow("selected employee") << "Anić Ana" << "Računovođa" << true << "Anić Ana" << "Računovođa" << false;
    QTest::newRow("Zanemari on both sides") << kNoChoiceItem.text << kNoChoiceItem.detail << false << "Zanemari"
                                            << "Zanemari" << true;
    QTest::newRow("no job title") << "Kovač Đuro" << "" << false << "Kovač Đuro" << "" << true;
    QTest::newRow("bars in the name") << "Kovač||Ivić|Ana" << "Vozač||B" << false << "Kovač||Ivić|Ana" << "Vozač||B"
                                      << true;
}

void TestPickListDialog::layOutSelectorItem()
{
    QFETCH(QString, text);
    QFETCH(QString, detail);
    QFETCH(bool, selected);
    const QRect rect(10, 40, 493, 19);
    const SelectorItemLine line = LayOutSelectorItem(PickItem{1, text, detail}, rect, selected);
    QTEST(line.name, "name");
    QTEST(line.detail, "shownDetail");
    QTEST(line.detailInBlue, "detailInBlue");
    // The name starts 3 pixels in from the left, the detail ends 3 pixels before the right
    // edge, both 1 pixel below the top.
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
    SelectorComboBox combo;
    combo.setPickItems({PickItem{2, "Anić Ana", "Računovođa"}});
    const QModelIndex item = combo.model()->index(0, 0);
    QImage image(493, 19, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QStyleOptionViewItem option;
    option.rect = image.rect();
    option.palette = QApplication::palette();
    option.state = selected ? QStyle::State_Selected : QStyle::State_None;
    SelectorItemDelegate delegate;
    {
        QPainter painter(&image);
        delegate.paint(&painter, option, item);
    }
    QCOMPARE(delegate.sizeHint(option, item).height(), 19);
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
    form.query = kPersonQuery;
    form.keyId = 2;
    Show(form);
    QComboBox* combo = ComboSelect(form);
    combo->clearFocus();
    QVERIFY(!BlueColumns(combo->grab().toImage()).isEmpty());
}

void TestPickListDialog::showingLoadsItemsAfresh()
{
    PickListDialog form(*m_session);
    QCOMPARE(form.windowTitle(), QStringLiteral("Odaberite"));
    form.query = kPersonQuery;
    Show(form);
    SelectorComboBox* combo = ComboSelect(form);
    QVERIFY(Items(combo) == kPersonItems);
    // Each item shows its name.
    QCOMPARE(Texts(combo), (QStringList{"Zanemari", "Anić Ana", "Babić Marko", "Kovač Đuro"}));
    QCOMPARE(form.chosenIndex(), 0);
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
    QVERIFY(Items(combo) == (std::vector<PickItem>{kPersonItems[0], kPersonItems[1], kPersonItems[2],
                                PickItem{5, "Čolić Iva", "Tajnica"}, kPersonItems[3]}));
    m_data->script.execute("DELETE FROM DJELATNICI WHERE IDDJ = 5;");
    m_data->write.commit();
}

void TestPickListDialog::preselection_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("chosenId");  // -1: "Zanemari"
    QTest::addColumn<QString>("shown");
    QTest::newRow("key of a listed employee") << 3 << 3 << "Kovač Đuro";
    QTest::newRow("key of an employee not listed") << 1 << -1 << "Zanemari";
    QTest::newRow("no key") << -1 << -1 << "Zanemari";
}

void TestPickListDialog::preselection()
{
    QFETCH(int, key);
    PickListDialog form(*m_session);
    form.query = kPersonQuery;
    form.keyId = key;
    Show(form);
    QTEST(form.chosenItem().value_or(PickItem{}).id, "chosenId");
    QTEST(ComboSelect(form)->currentText(), "shown");
}

void TestPickListDialog::queryWithoutRowsLeavesZanemari()
{
    PickListDialog form(*m_session);
    form.query = "SELECT IMEPREZIME, IDDJ FROM DJELATNICI WHERE IDDJ < 0";
    form.keyId = 2;
    Show(form);
    QCOMPARE(Texts(ComboSelect(form)), QStringList{"Zanemari"});
    QCOMPARE(form.chosenIndex(), 0);
}

void TestPickListDialog::databaseErrorIsShownAndLeavesZanemari()
{
    PickListDialog form(*m_session);
    form.query = "SELECT NEPOSTOJI FROM DJELATNICI";
    QString shown;
    QTimer::singleShot(0, &form, [&form, &shown] {
        if (auto* box = form.findChild<QMessageBox*>()) {
            shown = box->text();
            box->accept();
        }
    });
    Show(form);
    QVERIFY2(shown.contains("NEPOSTOJI"), qPrintable(shown));
    QCOMPARE(Texts(ComboSelect(form)), QStringList{"Zanemari"});
    if (m_data->write.isActive()) {
        m_data->write.rollback();
    }
}

void TestPickListDialog::enterChoosesTheItem()
{
    PickListDialog form(*m_session);
    form.query = kPersonQuery;
    form.keyId = 2;
    QTimer::singleShot(0, &form, [&form] {
        QTest::keyClick(ComboSelect(form), Qt::Key_Down);
        QTest::keyClick(ComboSelect(form), Qt::Key_Return);
    });
    QCOMPARE(form.exec(), int(QDialog::Accepted));
    QCOMPARE(form.chosenIndex(), 2);
    QVERIFY(form.chosenItem() == kPersonItems[2]);
    QVERIFY(form.hasChoice());
}

void TestPickListDialog::clickInOpenListChoosesWithoutClosing()
{
    PickListDialog form(*m_session);
    form.query = kPersonQuery;
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
    QCOMPARE(form.chosenIndex(), 3);
    QVERIFY(form.isVisible());
    QTest::mouseClick(form.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(form.chosenItem() == kPersonItems[3]);
}

void TestPickListDialog::zanemariIsNoChoice()
{
    PickListDialog form(*m_session);
    form.query = kPersonQuery;
    Show(form);
    QTest::mouseClick(form.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.chosenIndex(), 0);
    QVERIFY(!form.chosenItem());
    QVERIFY(!form.hasChoice());
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
    form.query = kPersonQuery;
    form.keyId = 4;
    QTimer::singleShot(0, &form, [&form, closeBox] {
        QTest::keyClick(ComboSelect(form), Qt::Key_Down);
        if (closeBox) {
            form.close();
        } else {
            QTest::keyClick(ComboSelect(form), Qt::Key_Escape);
        }
    });
    QCOMPARE(form.exec(), int(QDialog::Rejected));
    QVERIFY(!form.hasChoice());
}

// A name or a job title holding bars is one item like any other: it shows whole and gives its
// own id.
void TestPickListDialog::nameWithBarsIsOneItem()
{
    m_data->script.execute("INSERT INTO DJELATNICI (IDDJ, IMEPREZIME, RADNOMJESTO, VOZAC) "
                           "VALUES (6, 'Perić||Ana|Marija', 'Vozač||B', 0);");
    m_data->write.commit();
    PickListDialog form(*m_session);
    form.query = kPersonQuery;
    form.keyId = 6;
    QTimer::singleShot(0, &form, [&form] { QTest::keyClick(ComboSelect(form), Qt::Key_Return); });
    QCOMPARE(form.exec(), int(QDialog::Accepted));
    QCOMPARE(ComboSelect(form)->currentText(), QStringLiteral("Perić||Ana|Marija"));
    QVERIFY(form.chosenItem() == (PickItem{6, "Perić||Ana|Marija", "Vozač||B"}));
    QCOMPARE(ComboSelect(form)->count(), int(kPersonItems.size()) + 1);
    m_data->script.execute("DELETE FROM DJELATNICI WHERE IDDJ = 6;");
    m_data->write.commit();
}

QTEST_MAIN(TestPickListDialog)
#include "tst_pick_list_dialog.moc"
