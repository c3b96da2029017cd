#include "common/profile_file.h"
#include "file_bytes.h"

#include <QFile>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

// A settings file as Windows leaves it: CR LF, Windows-1250 letters ("Sjedište",
// "Vožnja" with š = 0x9A, ž = 0x9E), blanks around names and '=', comments, quotes.
const QByteArray kWindowsFile =
    "; postavke\r\n"
    "[Tvrtka]\r\n"
    "Naziv=Prijevoz d.o.o.\r\n"
    "  Sjediste  =  Sjedi\x9A" "te Zagreb  \r\n"
    "Drzava=\"Hrvatska / Croatia\"\r\n"
    "Telefon='01 234'\r\n"
    "Faks=\"01\r\n"
    "\r\n"
    "[ Obracun ]\r\n"
    "NocniOd = 22:00\r\n"
    "Napomena=Vo\x9Enja\r\n"
    "; NocniDo=05:00\r\n"
    "NocniDo=06:00\r\n"
    "NocniDo=07:00\r\n"
    "bez znaka jednakosti\r\n"
    "[Prazno]\r\n"
    "Prazan=\r\n";

}  // namespace

class ProfileFileTest : public QObject {
    Q_OBJECT

private slots:
    void init();

    void missingFileGivesDefaults();
    void readsWindowsFileAsItIs_data();
    void readsWindowsFileAsItIs();
    void readsNumbersAndYesNo_data();
    void readsNumbersAndYesNo();
    void decimals_data();
    void decimals();
    void writesValueInPlace();
    void appendsKeyAtEndOfItsSection();
    void appendsSectionAtEndOfFile();
    void createsMissingFile();
    void croatianLettersRoundTripAsWindows1250();
    void lineBreakInValueCannotForgeKeys();
    void reportsFailedWrite();
    void snapshotReadsAfreshAfterWrite();
    void nonRegularFileReadsAsMissing();

private:
    QString filePath() const { return m_dir->filePath(QStringLiteral("postavke.dat")); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void ProfileFileTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void ProfileFileTest::missingFileGivesDefaults()
{
    const ProfileFile missing(filePath());
    QCOMPARE(missing.readString("Obracun", "NocniOd", "22:00"), QStringLiteral("22:00"));
    QCOMPARE(missing.readInteger("Zona", "Vrijeme", 13), 13);
    QCOMPARE(missing.readBool("KTS", "Min1", true), true);

    QVERIFY(WriteAll(filePath(), kWindowsFile));
    const ProfileFile file(filePath());
    QCOMPARE(file.readString("Nema", "NocniOd", "x"), QStringLiteral("x"));
    QCOMPARE(file.readString("Obracun", "Nema", "y"), QStringLiteral("y"));
    QCOMPARE(file.readInteger("Obracun", "Nema", -4), -4);
    QCOMPARE(file.readBool("Obracun", "Nema", false), false);
}

void ProfileFileTest::readsWindowsFileAsItIs_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "Tvrtka" << "Naziv" << "Prijevoz d.o.o.";
    QTest::newRow("section and key in other case") << "TVRTKA" << "naziv" << "Prijevoz d.o.o.";
    QTest::newRow("blanks around key and value, Windows-1250")
        << "Tvrtka" << "Sjediste" << QStringLiteral("Sjedište Zagreb");
    QTest::newRow("double quotes removed") << "Tvrtka" << "Drzava" << "Hrvatska / Croatia";
    QTest::newRow("single quotes removed") << "Tvrtka" << "Telefon" << "01 234";
    QTest::newRow("unmatched quote kept") << "Tvrtka" << "Faks" << "\"01";
    QTest::newRow("blanks inside the brackets") << "obracun" << "NOCNIOD" << "22:00";
    QTest::newRow("letter in the other section") << "Obracun" << "Napomena" << QStringLiteral("Vožnja");
    QTest::newRow("comment is no key, first of two keys wins") << "Obracun" << "NocniDo" << "06:00";
    QTest::newRow("blanks around the asked names") << " Obracun " << " NocniOd " << "22:00";
    QTest::newRow("empty value is not the default") << "Prazno" << "Prazan" << "";
    QTest::newRow("key of another section is not found") << "Prazno" << "Naziv" << "(default)";
    QTest::newRow("line without '=' is no key") << "Obracun" << "bez znaka jednakosti" << "(default)";
}

void ProfileFileTest::readsWindowsFileAsItIs()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QVERIFY(WriteAll(filePath(), kWindowsFile));
    QCOMPARE(ProfileFile(filePath()).readString(section, key, "(default)"), expected);
    QCOMPARE(ProfileFile::snapshot(filePath()).readString(section, key, "(default)"), expected);
}

void ProfileFileTest::readsNumbersAndYesNo_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("integer");  // read with the default 42
    QTest::addColumn<int>("yesNo");    // read with the default yes (1) and no (0): -1 when each gives its default
    QTest::newRow("one") << QByteArray("1") << 1 << 1;
    QTest::newRow("zero") << QByteArray("0") << 0 << 0;
    QTest::newRow("other number is yes") << QByteArray("5") << 5 << 1;
    QTest::newRow("negative") << QByteArray("-3") << -3 << 1;
    QTest::newRow("plus sign") << QByteArray("+7") << 7 << 1;
    QTest::newRow("blanks around") << QByteArray("  12  ") << 12 << 1;
    QTest::newRow("quoted") << QByteArray("\"0\"") << 0 << 0;
    QTest::newRow("empty") << QByteArray("") << 42 << -1;
    QTest::newRow("text") << QByteArray("da") << 42 << -1;
    QTest::newRow("digits then text") << QByteArray("12abc") << 42 << -1;
    QTest::newRow("decimal") << QByteArray("1,5") << 42 << -1;
    QTest::newRow("too big for an int") << QByteArray("99999999999") << 42 << -1;
}

void ProfileFileTest::readsNumbersAndYesNo()
{
    QFETCH(QByteArray, value);
    QFETCH(int, integer);
    QFETCH(int, yesNo);
    QVERIFY(WriteAll(filePath(), "[KTS]\r\nMinKorekt=" + value + "\r\n"));
    const ProfileFile file(filePath());
    QCOMPARE(file.readInteger("KTS", "MinKorekt", 42), integer);
    QCOMPARE(file.readBool("KTS", "MinKorekt", true), yesNo == -1 ? true : yesNo == 1);
    QCOMPARE(file.readBool("KTS", "MinKorekt", false), yesNo == -1 ? false : yesNo == 1);
}

// Decimals are read with a comma or a point and written with a comma and at most two decimals.
void ProfileFileTest::decimals_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<double>("read"); // with the default 7
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("written");
    QTest::newRow("comma") << QByteArray("180,5") << 180.5 << 180.5 << "180,5";
    QTest::newRow("point") << QByteArray("12.25") << 12.25 << 12.25 << "12,25";
    QTest::newRow("exponent") << QByteArray("1,5E3") << 1500.0 << 1500.0 << "1500";
    QTest::newRow("binary noise") << QByteArray("348,1099999999998") << 348.1099999999998 << 348.1099999999998
                                  << "348,11";
    QTest::newRow("tiny negative") << QByteArray("-0,001") << -0.001 << -0.001 << "0";
    QTest::newRow("text") << QByteArray("abc") << 7.0 << 10.0 << "10";
    QTest::newRow("empty") << QByteArray("") << 7.0 << 0.0 << "0";
    QTest::newRow("two separators") << QByteArray("1,2.5") << 7.0 << -2.5 << "-2,5";
}

void ProfileFileTest::decimals()
{
    QFETCH(QByteArray, stored);
    QFETCH(double, read);
    QFETCH(double, value);
    QFETCH(QString, written);
    QVERIFY(WriteAll(filePath(), "[KTS]\r\nPos0=" + stored + "\r\n"));
    ProfileFile file(filePath());
    QCOMPARE(file.readDecimal("KTS", "Pos0", 7), read);
    QVERIFY(file.writeDecimal("KTS", "Pos0", value));
    QCOMPARE(file.readString("KTS", "Pos0", QString()), written);
}

void ProfileFileTest::writesValueInPlace()
{
    QVERIFY(WriteAll(filePath(), kWindowsFile));
    ProfileFile file(filePath());
    QVERIFY(file.writeString("OBRACUN", "nocnido", "05:30"));

    QByteArray expected = kWindowsFile;
    expected.replace("NocniDo=06:00\r\n", "NocniDo=05:30\r\n");
    QCOMPARE(ReadAll(filePath()), expected);
    QCOMPARE(file.readString("Obracun", "NocniDo", ""), QStringLiteral("05:30"));

    QVERIFY(file.writeString("Tvrtka", "Sjediste", QStringLiteral("Đakovo")));
    expected.replace("  Sjediste  =  Sjedi\x9Ate Zagreb  \r\n", "Sjediste=\xD0" "akovo\r\n");
    QCOMPARE(ReadAll(filePath()), expected);
}

void ProfileFileTest::appendsKeyAtEndOfItsSection()
{
    QVERIFY(WriteAll(filePath(), kWindowsFile));
    ProfileFile file(filePath());
    QVERIFY(file.writeInteger("tvrtka", "Broj", 17));
    QVERIFY(file.writeBool("Prazno", "Da", true));

    QByteArray expected = kWindowsFile;
    expected.replace("Faks=\"01\r\n\r\n", "Faks=\"01\r\nBroj=17\r\n\r\n");
    expected.append("Da=1\r\n");
    QCOMPARE(ReadAll(filePath()), expected);
    QCOMPARE(file.readInteger("Tvrtka", "Broj", 0), 17);
    QCOMPARE(file.readBool("Prazno", "Da", false), true);
}

void ProfileFileTest::appendsSectionAtEndOfFile()
{
    // The last line has no line end; it gets one before the new section.
    QVERIFY(WriteAll(filePath(), "[Boje]\r\nT0=8421504"));
    ProfileFile file(filePath());
    QVERIFY(file.writeBool("Print", "Sumarno2x2", false));
    QCOMPARE(ReadAll(filePath()), QByteArray("[Boje]\r\nT0=8421504\r\n[Print]\r\nSumarno2x2=0\r\n"));
    QCOMPARE(file.readInteger("Boje", "T0", 0), 8421504);
    QCOMPARE(file.readBool("Print", "Sumarno2x2", true), false);
}

void ProfileFileTest::createsMissingFile()
{
    ProfileFile file(filePath());
    QVERIFY(file.writeString("Obracun", "NocniOd", "22:00"));
    QVERIFY(file.writeString("Obracun", "NocniDo", "06:00"));
    QVERIFY(file.writeString("Obracun", "NocniOd", "21:00"));
    QCOMPARE(ReadAll(filePath()), QByteArray("[Obracun]\r\nNocniOd=21:00\r\nNocniDo=06:00\r\n"));
}

void ProfileFileTest::croatianLettersRoundTripAsWindows1250()
{
    const QString letters = QStringLiteral("čćđšž ČĆĐŠŽ");
    ProfileFile file(filePath());
    QVERIFY(file.writeString(QStringLiteral("Tvrtka"), QStringLiteral("Naziv"), letters));
    QCOMPARE(ReadAll(filePath()),
             QByteArray("[Tvrtka]\r\nNaziv=\xE8\xE6\xF0\x9A\x9E \xC8\xC6\xD0\x8A\x8E\r\n"));
    QCOMPARE(file.readString("Tvrtka", "Naziv", ""), letters);
}

void ProfileFileTest::lineBreakInValueCannotForgeKeys()
{
    ProfileFile file(filePath());
    QVERIFY(file.writeString("Tvrtka", "Naziv", "Prijevoz\r\n[Ispis]\r\nPrinter=Tuđi"));
    QCOMPARE(ReadAll(filePath()), QByteArray("[Tvrtka]\r\nNaziv=Prijevoz  [Ispis]  Printer=Tu\xF0i\r\n"));
    QCOMPARE(file.readString("Ispis", "Printer", "(default)"), QStringLiteral("(default)"));
}

void ProfileFileTest::reportsFailedWrite()
{
    ProfileFile file(m_dir->filePath(QStringLiteral("nema/postavke.dat")));
    QVERIFY(!file.writeString("Obracun", "NocniOd", "22:00"));
    QCOMPARE(file.readString("Obracun", "NocniOd", "d"), QStringLiteral("d"));
}

void ProfileFileTest::snapshotReadsAfreshAfterWrite()
{
    QVERIFY(WriteAll(filePath(), kWindowsFile));
    ProfileFile file = ProfileFile::snapshot(filePath());
    QVERIFY(file.writeString("Obracun", "NocniOd", "21:00"));
    QCOMPARE(file.readString("Obracun", "NocniOd", ""), QStringLiteral("21:00"));
}

// A folder or a FIFO named like the settings file must neither block nor be parsed.
void ProfileFileTest::nonRegularFileReadsAsMissing()
{
    QVERIFY(QDir(m_dir->path()).mkdir("postavke.dat"));
    QCOMPARE(ProfileFile(filePath()).readString("Obracun", "NocniOd", "x"), QStringLiteral("x"));
    const QString fifo = m_dir->filePath("fifo.dat");
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QCOMPARE(ProfileFile::snapshot(fifo).readString("Obracun", "NocniOd", "y"), QStringLiteral("y"));
}

QTEST_APPLESS_MAIN(ProfileFileTest)
#include "tst_profile_file.moc"
