#include "settings/settings.h"
#include "settings/ui/options_window.h"
#include "settings/settings_values.h"
#include "common/profile_file.h"
#include "common/time_text.h"
#include "common/win1250.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSpinBox>
#include <QPushButton>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

QString FileText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? FromWin1250(file.readAll()) : QString();
}

void WriteFile(const QString& path, const QString& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(ToWin1250(text));
}

// The key names of the file's key lines, in file order.
QStringList KeysInFile(const QString& path)
{
    QStringList keys;
    for (const QString& line : FileText(path).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        if (!line.startsWith(QLatin1Char('['))) {
            keys << line.section(QLatin1Char('='), 0, 0);
        }
    }
    return keys;
}

template <typename T>
T* Child(const QWidget& form, const char* name)
{
    T* child = form.findChild<T*>(QLatin1String(name));
    if (!child) {
        qFatal("no control %s", name);
    }
    return child;
}

void LeaveField(QWidget& form, QLineEdit* field, const QString& typed)
{
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, typed);
    // A refusal is shown in a message box; close it as soon as it appears.
    QTimer::singleShot(0, &form, [&form] {
        if (auto* box = form.findChild<QMessageBox*>()) {
            box->accept();
        }
    });
    QTest::keyClick(field, Qt::Key_Tab);
}

}  // namespace

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void init();
    void defaultsWithoutFile();
    void defaultsInTheWindow();
    void refusedFileGivesDefaultsWithMessage();
    void readingFallsBackToDefaults_data();
    void readingFallsBackToDefaults();
    void zapamtiWritesEveryKeyInOrder();
    void geometryRoundsOnReading_data();
    void geometryRoundsOnReading();
    void leavingTimeFieldRewritesIt_data();
    void leavingTimeFieldRewritesIt();
    void invalidMinutesFieldWritesTwo();
    void printerChoice_data();
    void printerChoice();
    void windowChoosesPrinterInOtherCase();
    void placementsSurviveZapamti();
    void otkaziKeepsTypedValuesLive_data();
    void otkaziKeepsTypedValuesLive();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(QStringLiteral("postavke.dat"));
}

void TestSettings::defaultsWithoutFile()
{
    const SettingsValues values = ReadSettings(ProfileFile(m_path));
    QCOMPARE(FormatMinutes(values.night.from), QStringLiteral("22:00"));
    QCOMPARE(FormatMinutes(values.night.to), QStringLiteral("06:00"));
    QCOMPARE(values.night, (NightWindow{1320, 360}));
    QCOMPARE(SettingColour(values.restColour), QColor(128, 128, 128));
    QCOMPARE(SettingColour(values.availabilityColour), QColor(Qt::yellow));
    QCOMPARE(SettingColour(values.workColour), QColor(Qt::cyan));
    QCOMPARE(SettingColour(values.drivingColour), QColor(Qt::red));
    QCOMPARE(ZoneItems().at(values.zoneIndex).text, QStringLiteral("GMT +01"));
    QCOMPARE(ZoneItems().at(values.zoneIndex).id, 1);
    QCOMPARE(values.companyCountry, QStringLiteral("Hrvatska / Croatia"));
    QCOMPARE(values.cardFileFolder, m_dir->filePath(QStringLiteral("TahoDDD")));
    QCOMPARE(values.disturbanceMinutes, 2);
    QVERIFY(values.attestationPreview && values.reportPreview && values.graphPreview && !values.printAfterStore && !values.notesOnSeveralLines);
    QVERIFY(values.joinOneMinute && values.joinToDriving && values.keepShortDriving && !values.shortRestIsAvailability && values.keepShortRest);
    QCOMPARE(values.innerRadius, 10.0);
    QCOMPARE(values.outerRadius, 20.0);
    QCOMPARE(values.zeroAngle, 180.0);
    QVERIFY(!QFile::exists(m_path));

    const std::vector<PickItem> zones = ZoneItems();
    QCOMPARE(zones.size(), std::size_t(26));
    QCOMPARE(zones.front().id, -12);
    QCOMPARE(zones.front().text, QStringLiteral("GMT -12"));
    QCOMPARE(zones.at(12).id, 0);
    QCOMPARE(zones.at(12).text, QStringLiteral("GMT 00"));
    QCOMPARE(zones.back().id, 13);
    QCOMPARE(zones.back().text, QStringLiteral("GMT +13"));
}

void TestSettings::defaultsInTheWindow()
{
    Settings settings(m_path);
    settings.load({});
    OptionsWindow form(settings, {});
    QCOMPARE(form.windowTitle(), QStringLiteral("Postavke"));
    QCOMPARE(Child<QLineEdit>(form, "NocniOd")->text(), QStringLiteral("22:00"));
    QCOMPARE(Child<QLineEdit>(form, "NocniDo")->text(), QStringLiteral("06:00"));
    QCOMPARE(Child<QComboBox>(form, "zona")->currentText(), QStringLiteral("GMT +01"));
    QCOMPARE(Child<QLineEdit>(form, "specialMin")->text(), QStringLiteral("2"));
    QVERIFY(Child<QCheckBox>(form, "ShowBeforeEvIspis")->isChecked());
    QVERIFY(!Child<QCheckBox>(form, "odmor")->isChecked());
    QCOMPARE(Child<QComboBox>(form, "EVPrinter")->currentIndex(), -1);
    QCOMPARE(Child<QFrame>(form, "T3Boja")->palette().color(QPalette::Window), QColor(Qt::red));
    QCOMPARE(settings.values().night, (NightWindow{1320, 360}));
}

// A missing file gives the defaults silently; a folder, or a file too large to be settings,
// gives them with a message.
void TestSettings::refusedFileGivesDefaultsWithMessage()
{
    Settings settings(m_path);
    settings.load({});
    QCOMPARE(settings.loadProblem(), QString());

    QVERIFY(QDir().mkdir(m_path));
    settings.load({});
    QVERIFY2(settings.loadProblem().contains(QStringLiteral("nije obična datoteka ili je veća od 8 MB")),
             qPrintable(settings.loadProblem()));
    QCOMPARE(FormatMinutes(settings.values().night.from), QStringLiteral("22:00"));
    QVERIFY(QDir().rmdir(m_path));

    WriteFile(m_path, "[Obracun]\r\nNocniOd=2130\r\n" + QString(9 * 1024 * 1024, QLatin1Char(';')));
    settings.load({});
    QVERIFY(!settings.loadProblem().isEmpty());
    QCOMPARE(FormatMinutes(settings.values().night.from), QStringLiteral("22:00"));
}

void TestSettings::readingFallsBackToDefaults_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("nocniOd");
    QTest::addColumn<bool>("preview");
    QTest::addColumn<int>("zone");
    QTest::addColumn<int>("disturbanceMinutes");

    QTest::newRow("readable values") << "[Obracun]\r\nNocniOd=2130\r\n[Ispis]\r\nPreview=0\r\n[Zona]\r\nVrijeme=0\r\n[KTS]\r\nMinKorekt=5\r\n"
                                     << "21:30" << false << 0 << 5;
    QTest::newRow("yes is any number but 0") << "[Ispis]\r\nPreview=7\r\n" << "22:00" << true << 13 << 2;
    QTest::newRow("unreadable values") << "[Obracun]\r\nNocniOd=abc\r\n[Ispis]\r\nPreview=ne\r\n[KTS]\r\nMinKorekt=x\r\n"
                                       << "22:00" << true << 13 << 2;
    QTest::newRow("zone outside the list") << "[Zona]\r\nVrijeme=26\r\n" << "22:00" << true << -1 << 2;
    QTest::newRow("negative zone") << "[Zona]\r\nVrijeme=-1\r\n" << "22:00" << true << -1 << 2;
}

void TestSettings::readingFallsBackToDefaults()
{
    QFETCH(QString, file);
    QFETCH(QString, nocniOd);
    QFETCH(bool, preview);
    QFETCH(int, zone);
    QFETCH(int, disturbanceMinutes);

    WriteFile(m_path, file);
    const SettingsValues values = ReadSettings(ProfileFile(m_path));
    QCOMPARE(FormatMinutes(values.night.from), nocniOd);
    QCOMPARE(values.attestationPreview, preview);
    QCOMPARE(values.zoneIndex, zone);
    QCOMPARE(values.disturbanceMinutes, disturbanceMinutes);

    Settings settings(m_path);
    settings.load({});
    OptionsWindow form(settings, {});
    QCOMPARE(Child<QComboBox>(form, "zona")->currentIndex(), zone);
    QCOMPARE(form.values().zoneIndex, zone);
}

void TestSettings::zapamtiWritesEveryKeyInOrder()
{
    Settings settings(m_path);
    settings.load({});
    OptionsWindow form(settings, {});
    Child<QLineEdit>(form, "TvNaziv")->setText(QStringLiteral("Šumski prijevoz d.o.o."));
    Child<QCheckBox>(form, "AddCheck")->setChecked(true);
    Child<QSpinBox>(form, "RefMjeseci")->setValue(6);
    Child<QCheckBox>(form, "PraznineOdmor")->setChecked(false);
    Child<QSpinBox>(form, "PrazninaSati")->setValue(48);
    QTest::mouseClick(Child<QPushButton>(form, "BitBtnZapamti"), Qt::LeftButton);
    QCOMPARE(form.result(), int(QDialog::Accepted));

    // The file's own order, as other programs reading postavke.dat know it.
    const QStringList expected{
        "Naziv", "Adresa", "Sjediste", "Drzava", "MjObracuna", "MjPotpisa", "Posta", "MBR", "OIB",
        "Telefon", "Faks", "EMail", "DDDFolder", "EuropskiKljuc", "Printer", "Preview", "Auto",
        "IPrinter", "IPreview", "Zaglavlje", "GRPrinter", "GRPreview", "Stretch", "T0", "T1", "T2",
        "T3", "Sumarno2x2", "Vrijeme", "Vozilo", "OdZadnjeg", "AutoZadnji", "SnimiOriginal",
        "NocniOd", "NocniDo", "AddCheck", "RefMjeseci", "PraznineOdmor", "PrazninaSati", "R1",
        "R2", "Pos0", "CX", "CY", "Min1", "MinVoznja", "NeminVoznja", "Odmor15", "NeminOdmor",
        "CentarRadijus", "SpecKorekt", "MinKorekt", "FinoPoravnaj"
    };
    QCOMPARE(KeysInFile(m_path), expected);

    const QString text = FileText(m_path);
    QVERIFY(text.startsWith(QStringLiteral("[Tvrtka]\r\nNaziv=Šumski prijevoz d.o.o.\r\n")));
    QVERIFY(text.contains(QStringLiteral("\r\nAddCheck=1\r\nRefMjeseci=6\r\nPraznineOdmor=0\r\nPrazninaSati=48\r\n")));
    QVERIFY(text.contains(QStringLiteral("\r\nT0=8421504\r\n")));
    QVERIFY(text.contains(QStringLiteral("\r\nVrijeme=13\r\n")));
    QVERIFY(text.contains(QStringLiteral("\r\nNocniOd=22:00\r\n")));
    QVERIFY(text.contains(QStringLiteral("\r\nPrinter=\r\n")));
    QVERIFY(!text.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));

    const SettingsValues reread = ReadSettings(ProfileFile(m_path));
    QCOMPARE(reread.companyName, QStringLiteral("Šumski prijevoz d.o.o."));
    QVERIFY(reread.checkTypedTimes);
}

void TestSettings::geometryRoundsOnReading_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("written");

    QTest::newRow("Pos0 keeps its fraction") << "Pos0" << "180,5" << "180,5";
    QTest::newRow("R1 half down to even") << "R1" << "10,5" << "10";
    QTest::newRow("R1 half up to even") << "R1" << "11,5" << "12";
    QTest::newRow("R2 rounds to nearest") << "R2" << "20,6" << "21";
    QTest::newRow("CX half to even") << "CX" << "374,5" << "374";
    QTest::newRow("CY half to even") << "CY" << "375,5" << "376";
    QTest::newRow("unreadable gives default") << "R2" << "dvadeset" << "20";
}

void TestSettings::geometryRoundsOnReading()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(QString, written);

    WriteFile(m_path, QStringLiteral("[KTS]\r\n%1=%2\r\n").arg(key, stored));
    Settings settings(m_path);
    settings.load({});
    OptionsWindow form(settings, {});
    QTest::mouseClick(Child<QPushButton>(form, "BitBtnZapamti"), Qt::LeftButton);
    QCOMPARE(ProfileFile(m_path).readString(QStringLiteral("KTS"), key, QString()), written);
}

void TestSettings::leavingTimeFieldRewritesIt_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("minutes");

    QTest::newRow("2400") << "2400" << "23:00" << 1380;
    QTest::newRow("24:00") << "24:00" << "23:00" << 1380;
    QTest::newRow("one digit is an hour") << "7" << "07:00" << 420;
    QTest::newRow("four digits") << "2230" << "22:30" << 1350;
    QTest::newRow("not a time keeps the last") << "x" << "22:00" << 1320;
}

void TestSettings::leavingTimeFieldRewritesIt()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, minutes);

    Settings settings(m_path);
    settings.load({});
    OptionsWindow form(settings, {});
    QLineEdit* nocniOd = Child<QLineEdit>(form, "NocniOd");
    LeaveField(form, nocniOd, typed);
    QCOMPARE(nocniOd->text(), shown);
    QCOMPARE(settings.values().night.from, minutes);
}

void TestSettings::invalidMinutesFieldWritesTwo()
{
    WriteFile(m_path, QStringLiteral("[KTS]\r\nMinKorekt=4\r\n"));
    Settings settings(m_path);
    settings.load({});
    OptionsWindow form(settings, {});
    QCOMPARE(Child<QLineEdit>(form, "specialMin")->text(), QStringLiteral("4"));
    Child<QLineEdit>(form, "specialMin")->setText(QStringLiteral("tri"));
    QTest::mouseClick(Child<QPushButton>(form, "BitBtnZapamti"), Qt::LeftButton);
    QCOMPARE(ProfileFile(m_path).readString(QStringLiteral("KTS"), QStringLiteral("MinKorekt"), QString()), QStringLiteral("2"));
}

void TestSettings::printerChoice_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("attestation");
    QTest::addColumn<QString>("graph");

    const QStringList two = {QStringLiteral("PDF"), QStringLiteral("HP LaserJet 1020")};
    QTest::newRow("other letter case") << two << "hp laserjet 1020" << "HP LaserJet 1020" << "HP LaserJet 1020";
    QTest::newRow("blanks around the name") << two << "  PDF " << "PDF" << "PDF";
    QTest::newRow("no longer installed") << two << "Epson" << "PDF" << "";
    QTest::newRow("nothing saved") << two << "" << "PDF" << "";
    QTest::newRow("no printers") << QStringList() << "PDF" << "" << "";
}

void TestSettings::printerChoice()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, saved);
    QFETCH(QString, attestation);
    QFETCH(QString, graph);

    SettingsValues values;
    values.attestationPrinter = saved;
    values.reportPrinter = saved;
    values.graphPrinter = saved;
    ResolvePrinters(values, installed);
    QCOMPARE(values.attestationPrinter, attestation);
    QCOMPARE(values.reportPrinter, attestation);
    QCOMPARE(values.graphPrinter, graph);
}

void TestSettings::windowChoosesPrinterInOtherCase()
{
    WriteFile(m_path, QStringLiteral("[Ispis]\r\nPrinter=hp laserjet\r\nIPrinter=Nestao\r\nGRPrinter=PDF\r\n"));
    Settings settings(m_path);
    settings.load({QStringLiteral("PDF"), QStringLiteral("HP LaserJet")});
    OptionsWindow form(settings, {QStringLiteral("PDF"), QStringLiteral("HP LaserJet")});
    QCOMPARE(Child<QComboBox>(form, "EVPrinter")->currentText(), QStringLiteral("HP LaserJet"));
    QCOMPARE(Child<QComboBox>(form, "IzvjPrinter")->currentText(), QStringLiteral("PDF"));
    QCOMPARE(Child<QComboBox>(form, "GRPrinter")->currentText(), QStringLiteral("PDF"));
    QCOMPARE(Child<QComboBox>(form, "GRPrinter")->count(), 2);
    QCOMPARE(form.values().attestationPrinter, QStringLiteral("HP LaserJet"));
}

void TestSettings::placementsSurviveZapamti()
{
    WriteFile(m_path, QStringLiteral("[DjelatniciForm]\r\nTop=10\r\nLeft=20\r\nWidth=300\r\nHeight=200\r\n[Obracun]\r\nNocniOd=21:00\r\n"));
    Settings settings(m_path);
    settings.load({});
    OptionsWindow form(settings, {});
    QTest::mouseClick(Child<QPushButton>(form, "BitBtnZapamti"), Qt::LeftButton);
    const ProfileFile file(m_path);
    QCOMPARE(file.readInteger(QStringLiteral("DjelatniciForm"), QStringLiteral("Top"), 0), 10);
    QCOMPARE(file.readInteger(QStringLiteral("DjelatniciForm"), QStringLiteral("Height"), 0), 200);
    QCOMPARE(file.readString(QStringLiteral("Obracun"), QStringLiteral("NocniOd"), QString()), QStringLiteral("21:00"));
}

void TestSettings::otkaziKeepsTypedValuesLive_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Otkaži") << false;
    QTest::newRow("Esc") << true;
}

void TestSettings::otkaziKeepsTypedValuesLive()
{
    QFETCH(bool, escape);
    WriteFile(m_path, QStringLiteral("[Obracun]\r\nNocniOd=22:00\r\n"));
    Settings settings(m_path);
    settings.load({});
    OptionsWindow form(settings, {});
    LeaveField(form, Child<QLineEdit>(form, "NocniOd"), QStringLiteral("21"));
    Child<QCheckBox>(form, "Min1")->setChecked(false);
    if (escape) {
        QTest::keyClick(&form, Qt::Key_Escape);
    } else {
        QTest::mouseClick(Child<QPushButton>(form, "BitBtnOtkazi"), Qt::LeftButton);
    }
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QVERIFY(!form.isVisible());

    QCOMPARE(FormatMinutes(settings.values().night.from), QStringLiteral("21:00"));
    QCOMPARE(settings.values().night, (NightWindow{1260, 360}));
    QVERIFY(!settings.values().joinOneMinute);
    QCOMPARE(ProfileFile(m_path).readString(QStringLiteral("Obracun"), QStringLiteral("NocniOd"), QString()), QStringLiteral("22:00"));

    // Pressed later, "Zapamti" writes what was typed before.
    QTest::mouseClick(Child<QPushButton>(form, "BitBtnZapamti"), Qt::LeftButton);
    QCOMPARE(ProfileFile(m_path).readString(QStringLiteral("Obracun"), QStringLiteral("NocniOd"), QString()), QStringLiteral("21:00"));
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
