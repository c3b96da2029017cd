#include "temp_database.h"

#include "temp_database.h"
#include "db/db_error.h"
#include "db/scopes.h"
#include "db/sql_parameters.h"

#include <QProcess>
#include <QtTest>

class TestStatement : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void namedParameters_data();
    void namedParameters();
    void valuesRoundTrip();
    void nullsAreEmptyOptionals();
    void croatianLettersTravelAsWindows1250();
    void errorCarriesFirebirdText();
    void readCommittedAcrossTransactions();
    void conflictingUpdateFailsAtOnce();
    void destroyedTransactionRollsBack();
    void errorsAreClassified();
    void writeScopeCommitsOrRollsBackWhole();
    void readTransactionIsReadOnly();
    void decimalsRoundHalfAwayFromZero_data();
    void decimalsRoundHalfAwayFromZero();
    void columnByNameTakesTheFirst();
    void preparedOnceRunsManyTimes();
    void scaledNumberText_data();
    void scaledNumberText();

private:
    std::unique_ptr<TempDatabase> m_db;
};

void TestStatement::initTestCase()
{
    m_db = std::make_unique<TempDatabase>();
    TestConnection data;
    ConnectUpgraded(data, m_db->path());
    data.script.execute("CREATE TABLE T (I SMALLINT, L INTEGER, B BIGINT, N NUMERIC(15,3), M NUMERIC(7,3), "
                           "D DATE, TS TIMESTAMP, V VARCHAR(40), C CHAR(5), X BLOB SUB_TYPE 1);");
    data.write.commit();
}

void TestStatement::namedParameters_data()
{
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("positional");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("plain") << "SELECT * FROM T WHERE L=:ID AND V=:name" << "SELECT * FROM T WHERE L=? AND V=?"
                           << QStringList{"ID", "NAME"};
    QTest::newRow("repeated") << "UPDATE T SET L=:A WHERE I=:A OR B=:b" << "UPDATE T SET L=? WHERE I=? OR B=?"
                              << QStringList{"A", "A", "B"};
    QTest::newRow("quoted and commented") << "SELECT ':X', \"a:b\" FROM T -- :Y\n WHERE L=:Z /* :W */"
                                          << "SELECT ':X', \"a:b\" FROM T -- :Y\n WHERE L=? /* :W */"
                                          << QStringList{"Z"};
    QTest::newRow("time literal untouched") << "SELECT CAST('12:30' AS TIME) FROM T"
                                            << "SELECT CAST('12:30' AS TIME) FROM T" << QStringList{};
}

void TestStatement::namedParameters()
{
    QFETCH(QString, named);
    const PositionalSql result = ToPositionalSql(named);
    QTEST(result.sql, "positional");
    QTEST(result.positionNames, "names");
}

void TestStatement::valuesRoundTrip()
{
    TestConnection data;
    ConnectUpgraded(data, m_db->path());
    const QString longText = QString(70000, QLatin1Char('x')) + QStringLiteral("kraj");
    Statement& sql = data.sql;
    sql.prepare("INSERT INTO T (I, L, B, N, M, D, TS, V, C, X) VALUES (:I, :L, :B, :N, :M, :D, :TS, :V, :C, :X)");
    sql.setInt("I", -32768);
    sql.setInt("L", 2147483647);
    sql.setInt("b", 9007199254740993LL);
    sql.setNumeric("N", {123456789012345LL, 3});
    sql.setNumeric("M", {1234500, 3});  // 1234,5 t
    sql.setDate("D", QDate(1899, 12, 30));
    sql.setTimestamp("TS", QDateTime(QDate(2026, 3, 29), QTime(2, 30, 15, 250), Qt::UTC));
    sql.setText("V", "  razmaci  ");
    sql.setText("C", "ab");
    sql.setText("X", longText);
    sql.execute();
    data.write.commit();

    sql.prepare("SELECT I, L, B, N, M, D, TS, V, C, X, N * 2 AS DOUBLED FROM T WHERE L = :L");
    sql.setInt("L", 2147483647);
    sql.execute();
    QVERIFY(sql.next());
    QCOMPARE(*sql.intValue("I"), -32768);
    QCOMPARE(*sql.intValue("L"), 2147483647);
    QCOMPARE(*sql.intValue("B"), 9007199254740993LL);
    QCOMPARE(sql.numericValue("N")->units, 123456789012345LL);
    QCOMPARE(sql.numericValue("N")->scale, 3);
    QCOMPARE(sql.numericValue("M")->units, 1234500);
    QCOMPARE(sql.columnType(sql.columnIndex("M")), ColumnType::Numeric);
    QCOMPARE(*sql.dateValue("D"), QDate(1899, 12, 30));
    QCOMPARE(*sql.timestampValue("TS"), QDateTime(QDate(2026, 3, 29), QTime(2, 30, 15, 250), Qt::UTC));
    QCOMPARE(*sql.textValue("V"), QStringLiteral("  razmaci  "));
    QCOMPARE(*sql.textValue("C"), QStringLiteral("ab   "));
    QCOMPARE(*sql.textValue("X"), longText);
    QCOMPARE(sql.columnType(sql.columnIndex("X")), ColumnType::TextBlob);
    QCOMPARE(sql.numericValue("DOUBLED")->units, 246913578024690LL);
    QVERIFY(!sql.next());
    data.write.commit();

    sql.prepare("SELECT GEN_ID(GEN_UNOS_ID, 1) FROM RDB$DATABASE");
    sql.execute();
    QVERIFY(sql.next());
    QCOMPARE(*sql.intValue(0), 1);
}

void TestStatement::nullsAreEmptyOptionals()
{
    TestConnection data;
    ConnectUpgraded(data, m_db->path());
    Statement& sql = data.sql;
    sql.prepare("INSERT INTO T (L, N, D, V, X) VALUES (:L, :N, :D, :V, :X)");
    sql.setInt("L", -5);
    sql.execute();  // every other parameter stays NULL
    sql.prepare("SELECT N, D, V, X, I FROM T WHERE L = -5");
    sql.execute();
    QVERIFY(sql.next());
    QVERIFY(!sql.numericValue("N"));
    QVERIFY(!sql.dateValue("D"));
    QVERIFY(!sql.textValue("V"));
    QVERIFY(!sql.textValue("X"));
    QVERIFY(!sql.intValue("I"));
    QVERIFY(sql.columnNullable(sql.columnIndex("D")));
    data.write.rollback();
}

void TestStatement::croatianLettersTravelAsWindows1250()
{
    const QString letters = QStringLiteral("čćžšđČĆŽŠĐ");
    TestConnection data;
    ConnectUpgraded(data, m_db->path());
    Statement& sql = data.sql;
    sql.prepare("INSERT INTO T (L, V, X) VALUES (7, :V, :V)");
    sql.setText("V", letters);
    sql.execute();
    data.write.commit();
    sql.prepare("SELECT V, X, OCTET_LENGTH(V) FROM T WHERE L = 7 AND V = :V");
    sql.setText("V", letters);
    sql.execute();
    QVERIFY(sql.next());
    QCOMPARE(*sql.textValue(0), letters);
    QCOMPARE(*sql.textValue(1), letters);
    QCOMPARE(*sql.intValue(2), 10);  // one byte a letter
    data.write.commit();
    data.connection.close();

    if (QStandardPaths::findExecutable("isql-fb").isEmpty())
        QSKIP("isql-fb is not installed");
    QProcess isql;
    isql.start("isql-fb", {"-q", "-ch", "WIN1250", "-user", "SYSDBA", m_db->path()});
    isql.write("SET LIST ON; SELECT V FROM T WHERE L = 7;\n");
    isql.closeWriteChannel();
    QVERIFY(isql.waitForFinished(30000));
    const QByteArray output = isql.readAllStandardOutput();
    QVERIFY2(output.contains("\xe8\xe6\x9e\x9a\xf0\xc8\xc6\x8e\x8a\xd0"), output.toHex().constData());
}

void TestStatement::errorCarriesFirebirdText()
{
    TestConnection data;
    ConnectUpgraded(data, m_db->path());
    try {
        data.sql.prepare("SELECT NEPOSTOJI FROM T");
        QFAIL("no error");
    } catch (const DbError& error) {
        QVERIFY2(error.text().contains("Column unknown"), qPrintable(error.text()));
        QVERIFY2(error.text().contains("NEPOSTOJI"), qPrintable(error.text()));
        QCOMPARE(error.code(), 335544569L);  // isc_dsql_error
    }
}

void TestStatement::readCommittedAcrossTransactions()
{
    TestConnection data;
    ConnectUpgraded(data, m_db->path());
    Statement reader(data.read);
    const auto countOnRead = [&] {
        reader.prepare("SELECT COUNT(*) FROM T WHERE L = 99");
        reader.execute();
        reader.next();
        return *reader.intValue(0);
    };
    QCOMPARE(countOnRead(), 0);
    data.sql.prepare("INSERT INTO T (L) VALUES (99)");
    data.sql.execute();
    QCOMPARE(countOnRead(), 0);  // not committed yet
    data.write.commit();
    QCOMPARE(countOnRead(), 1);  // the open read transaction sees the commit
}

void TestStatement::conflictingUpdateFailsAtOnce()
{
    TestConnection first;
    ConnectUpgraded(first, m_db->path());
    first.sql.prepare("INSERT INTO T (L, V) VALUES (55, 'a')");
    first.sql.execute();
    first.write.commit();
    first.sql.prepare("UPDATE T SET V = 'b' WHERE L = 55");
    first.sql.execute();  // holds the row

    TestConnection second;
    ConnectUpgraded(second, m_db->path());
    QElapsedTimer timer;
    timer.start();
    try {
        second.sql.prepare("UPDATE T SET V = 'c' WHERE L = 55");
        second.sql.execute();
        QFAIL("no conflict");
    } catch (const DbError& error) {
        QVERIFY2(error.text().contains("deadlock") || error.text().contains("update conflicts"),
                 qPrintable(error.text()));
        QVERIFY(error.isLockConflict());
        QVERIFY(!error.isUniqueViolation());
        QCOMPARE(error.sqlState(), QStringLiteral("40001"));
    }
    QVERIFY(timer.elapsed() < 5000);
}

void TestStatement::destroyedTransactionRollsBack()
{
    TestConnection data;
    ConnectUpgraded(data, m_db->path());
    {
        Transaction transaction(data.connection);
        Statement sql(transaction);
        sql.prepare("INSERT INTO T (L) VALUES (77)");
        sql.execute();
    }
    QCOMPARE(QueryNumber(data, "SELECT COUNT(*) FROM T WHERE L = 77"), 0);
    data.sql.prepare("INSERT INTO T (L) VALUES (78)");
    data.sql.execute();
    data.connection.close();  // an open write transaction is rolled back
    data.connection.open();
    QCOMPARE(QueryNumber(data, "SELECT COUNT(*) FROM T WHERE L = 78"), 0);
}

void TestStatement::errorsAreClassified()
{
    TestConnection data;
    ConnectUpgraded(data, m_db->path());
    data.script.execute("CREATE TABLE P (ID INTEGER NOT NULL PRIMARY KEY);\n"
                           "CREATE TABLE F (P_ID INTEGER REFERENCES P (ID));\n");
    data.write.commit();
    // The error of a refused write, after its scope rolled it back.
    const auto failure = [&](const QString& sql) {
        try {
            WriteScope scope(data.write);
            Statement statement(data.write);
            statement.prepare(sql);
            statement.execute();
        } catch (const DbError& error) {
            return error;
        }
        return DbError(QString(), 0);
    };
    QVERIFY(RunWrite(data.write, [&] {
                Statement statement(data.write);
                statement.prepare("INSERT INTO P (ID) VALUES (1)");
                statement.execute();
                return 1;
            }).done);

    const DbError duplicate = failure("INSERT INTO P (ID) VALUES (1)");
    QVERIFY(duplicate.isUniqueViolation());
    QVERIFY(!duplicate.isForeignKeyViolation());
    QCOMPARE(duplicate.sqlState(), QStringLiteral("23000"));
    QVERIFY(duplicate.codes().size() >= 2);

    const DbError orphan = failure("INSERT INTO F (P_ID) VALUES (2)");
    QVERIFY(orphan.isForeignKeyViolation());
    QVERIFY(!orphan.isLockConflict());
    QVERIFY(!orphan.isConnectionLost());

    const DbError own = DbError(QStringLiteral("Naredba nije pripremljena."), 0);
    QVERIFY(own.codes().empty());
    QCOMPARE(own.code(), 0);
    QVERIFY(own.sqlState().isEmpty());
}

void TestStatement::writeScopeCommitsOrRollsBackWhole()
{
    TestConnection data;
    ConnectUpgraded(data, m_db->path());
    const auto insert = [&](int value) {
        Statement sql(data.write);
        sql.prepare("INSERT INTO T (L) VALUES (:L)");
        sql.setInt("L", value);
        sql.execute();
    };
    {
        WriteScope scope(data.write);
        insert(301);
        insert(302);
        scope.commit();
    }
    QVERIFY(!data.write.isActive());
    {
        WriteScope scope(data.write);
        insert(303);
        // left without a commit
    }
    QVERIFY(!data.write.isActive());
    const WriteResult refused = RunWrite(data.write, [&] {
        insert(304);
        Statement sql(data.write);
        sql.prepare("INSERT INTO NO_SUCH_TABLE (A) VALUES (1)");
        return 1;
    });
    QVERIFY(!refused.done);
    QVERIFY2(refused.message.contains("NO_SUCH_TABLE"), qPrintable(refused.message));
    QVERIFY(!data.write.isActive());
    QCOMPARE(QueryNumber(data, "SELECT COUNT(*) FROM T WHERE L BETWEEN 301 AND 304"), 2);
}

void TestStatement::readTransactionIsReadOnly()
{
    TestConnection data;
    ConnectUpgraded(data, m_db->path());
    ReadScope scope(data.read);
    Statement sql(data.read);
    sql.prepare("INSERT INTO T (L) VALUES (1)");
    QVERIFY_THROWS_EXCEPTION(DbError, sql.execute());
}

void TestStatement::decimalsRoundHalfAwayFromZero_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<qint64>("thousandths");
    QTest::newRow("exact") << "CAST(1234.5 AS NUMERIC(15,3))" << qint64(1234500);
    QTest::newRow("fewer decimals") << "CAST(2.5 AS NUMERIC(9,1))" << qint64(2500);
    QTest::newRow("half up") << "CAST(1.2345 AS NUMERIC(15,4))" << qint64(1235);
    QTest::newRow("below half") << "CAST(1.2344 AS NUMERIC(15,4))" << qint64(1234);
    QTest::newRow("negative half") << "CAST(-1.2345 AS NUMERIC(15,4))" << qint64(-1235);
    QTest::newRow("whole") << "CAST(7 AS INTEGER)" << qint64(7000);
    QTest::newRow("null") << "CAST(NULL AS NUMERIC(15,3))" << qint64(0);
}

void TestStatement::decimalsRoundHalfAwayFromZero()
{
    QFETCH(QString, stored);
    TestConnection data;
    ConnectUpgraded(data, m_db->path());
    ReadScope scope(data.read);
    Statement sql(data.read);
    sql.prepare("SELECT " + stored + " FROM RDB$DATABASE");
    sql.execute();
    QVERIFY(sql.next());
    QTEST(sql.decimal3Value(0).thousandths, "thousandths");
}

void TestStatement::columnByNameTakesTheFirst()
{
    TestConnection data;
    ConnectUpgraded(data, m_db->path());
    ReadScope scope(data.read);
    Statement sql(data.read);
    sql.prepare("SELECT 1 AS A, 2 AS b, 3 AS A FROM RDB$DATABASE");
    sql.execute();
    QVERIFY(sql.next());
    QCOMPARE(sql.intValue("a"), 1);
    QCOMPARE(sql.intValue("B"), 2);
    QCOMPARE(sql.columnIndex("A"), 0);
    QVERIFY_THROWS_EXCEPTION(DbError, sql.columnIndex("C"));
}

void TestStatement::preparedOnceRunsManyTimes()
{
    TestConnection data;
    ConnectUpgraded(data, m_db->path());
    QStringList prepared;
    data.connection.setStatementObserver([&](const QString& text) { prepared << text; });
    {
        WriteScope scope(data.write);
        Statement sql(data.write);
        sql.prepare("INSERT INTO T (L, N) VALUES (:L, :N)");
        for (int i = 0; i < 3; ++i) {
            sql.setInt("L", 400 + i);
            sql.setDecimal3("N", Decimal3{1500 + i});
            sql.execute();
        }
        scope.commit();
    }
    QCOMPARE(prepared.size(), 1);
    QCOMPARE(QueryNumber(data, "SELECT COUNT(*) FROM T WHERE L BETWEEN 400 AND 402 AND N >= 1.5 AND N <= 1.502"), 3);
}

void TestStatement::scaledNumberText_data()
{
    QTest::addColumn<qint64>("units");
    QTest::addColumn<int>("scale");
    QTest::addColumn<QString>("text");
    QTest::newRow("trailing zeros") << qint64(1234500) << 3 << "1234,5";
    QTest::newRow("whole") << qint64(12000) << 3 << "12";
    QTest::newRow("zero") << qint64(0) << 3 << "0";
    QTest::newRow("below one, negative") << qint64(-250) << 3 << "-0,25";
    QTest::newRow("integer") << qint64(42) << 0 << "42";
}

void TestStatement::scaledNumberText()
{
    QFETCH(qint64, units);
    QFETCH(int, scale);
    QTEST(ScaledNumberText(units, scale), "text");
}

QTEST_GUILESS_MAIN(TestStatement)
#include "tst_statement.moc"
