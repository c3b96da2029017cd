#include "temp_database.h"

#include "db/catalogue.h"
#include "temp_database.h"
#include "db/db_error.h"
#include "db/schema_upgrade.h"

#include <QtTest>

namespace {

// "TABLE.COLUMN TYPE" for every column of the own and extended tables, from the catalogue.
QStringList ColumnCatalogue(TestConnection& data)
{
    data.sql.prepare(QStringLiteral(
        "SELECT TRIM(TRIM(RF.RDB$RELATION_NAME) || '.' || TRIM(RF.RDB$FIELD_NAME) || ' ' || TRIM("
        "CASE F.RDB$FIELD_TYPE WHEN 7 THEN 'SMALLINT' WHEN 8 THEN 'INTEGER' WHEN 35 THEN 'TIMESTAMP' "
        "WHEN 12 THEN 'DATE' WHEN 37 THEN 'VARCHAR(' || F.RDB$CHARACTER_LENGTH || ')' "
        "WHEN 261 THEN 'BLOB SUB_TYPE ' || F.RDB$FIELD_SUB_TYPE ELSE 'TYPE ' || F.RDB$FIELD_TYPE END) || "
        "CASE WHEN F.RDB$FIELD_SUB_TYPE = 1 AND F.RDB$FIELD_TYPE IN (7, 8, 16) "
        "THEN ' NUMERIC(' || F.RDB$FIELD_PRECISION || ',' || (-F.RDB$FIELD_SCALE) || ')' ELSE '' END || "
        "CASE WHEN RF.RDB$NULL_FLAG = 1 THEN ' NOT NULL' ELSE '' END) "
        "FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
        "WHERE RF.RDB$RELATION_NAME IN ('VOZILO', 'UNOS', 'DUNOS', 'SATIUNOS', 'SKENLOG') "
        "ORDER BY RF.RDB$RELATION_NAME, RF.RDB$FIELD_POSITION"));
    data.sql.execute();
    QStringList columns;
    while (data.sql.next())
        columns << *data.sql.textValue(0);
    return columns;
}

QStringList NamesOf(TestConnection& data, const QString& sql)
{
    data.sql.prepare(sql);
    data.sql.execute();
    QStringList names;
    while (data.sql.next())
        names << *data.sql.textValue(0);
    names.sort();
    return names;
}

}  // namespace

class TestSchemaUpgrade : public QObject {
    Q_OBJECT
private slots:
    void freshBaseDatabaseGetsEveryObjectSilently();
    void secondStartOnlyReadsTheCatalogue();
    void overviewIndexesAreAddedToAnEarlierDatabase();
    void indexesNeverMeasuredAreMeasured();
    void missingFileReportsOnceAndStaysClosed();
    void databaseWithoutBaseTablesCreatesNothing();
    void failingIdDriverUpdateKeepsColumnAndIsNotRepeated();
};

void TestSchemaUpgrade::freshBaseDatabaseGetsEveryObjectSilently()
{
    TempDatabase db(TempDatabase::Schema::Base);
    TestConnection data;
    QCOMPARE(ConnectUpgraded(data, db.path()), QStringList());
    QVERIFY(data.connection.isOpen());

    QCOMPARE(UserTables(data.sql), (QStringList{"AKTPOTVRDA", "DJELATNICI", "DUNOS", "SATIUNOS", "SKENLOG",
                                                    "UNOS", "UTOVARIVACI", "VOZACI", "VOZILO"}));
    for (const char* column : {"MPOTPIS", "DPOTPIS", "PISP"})
        QVERIFY(TableHasColumn(data.sql, "AKTPOTVRDA", column));
    for (const char* column : {"KARTICA", "JEZIK", "VOZACKAIZD", "KARTICAIZD"})
        QVERIFY(TableHasColumn(data.sql, "DJELATNICI", column));

    const QStringList expectedColumns = {
        "DUNOS.IDD INTEGER NOT NULL", "DUNOS.IDUNOS INTEGER", "DUNOS.DATUM DATE",
        "DUNOS.KM1 TYPE 16 NUMERIC(15,3)", "DUNOS.KM2 TYPE 16 NUMERIC(15,3)", "DUNOS.DKM TYPE 16 NUMERIC(15,3)",
        "DUNOS.IDVOZILO INTEGER", "DUNOS.S1 INTEGER", "DUNOS.S2 INTEGER", "DUNOS.S3 INTEGER", "DUNOS.S4 INTEGER",
        "DUNOS.NAP VARCHAR(250)", "DUNOS.OS1 INTEGER", "DUNOS.OS2 INTEGER", "DUNOS.OS3 INTEGER",
        "DUNOS.OS4 INTEGER", "DUNOS.S5 INTEGER", "DUNOS.S6 INTEGER", "DUNOS.OS5 INTEGER", "DUNOS.OS6 INTEGER",
        "DUNOS.N1 INTEGER", "DUNOS.N2 INTEGER", "DUNOS.ON1 INTEGER", "DUNOS.ON2 INTEGER", "DUNOS.T1 INTEGER",
        "DUNOS.T2 INTEGER", "DUNOS.GMT INTEGER", "DUNOS.MF SMALLINT", "DUNOS.IDMF INTEGER", "DUNOS.IDPF INTEGER",
        "SATIUNOS.IDDUNOS INTEGER", "SATIUNOS.TOD INTEGER", "SATIUNOS.TDO INTEGER", "SATIUNOS.TAKT SMALLINT",
        "SATIUNOS.KM TYPE 16 NUMERIC(15,3)", "SATIUNOS.LIT TYPE 16 NUMERIC(15,3)", "SATIUNOS.IDVOZILO INTEGER",
        "SATIUNOS.SCP SMALLINT", "SATIUNOS.DT1 TIMESTAMP", "SATIUNOS.DT2 TIMESTAMP", "SATIUNOS.GMT INTEGER",
        "SATIUNOS.IDVOZAC INTEGER",
        "SKENLOG.IDUNOS INTEGER", "SKENLOG.FN VARCHAR(100)", "SKENLOG.SX INTEGER", "SKENLOG.SY INTEGER",
        "SKENLOG.N SMALLINT", "SKENLOG.TIP SMALLINT", "SKENLOG.DV TIMESTAMP", "SKENLOG.IDK INTEGER",
        "SKENLOG.POM INTEGER",
        "UNOS.IDUNOS INTEGER NOT NULL", "UNOS.IDVOZAC INTEGER", "UNOS.DV TIMESTAMP", "UNOS.TIP SMALLINT",
        "UNOS.FNAME VARCHAR(255)", "UNOS.PODTIP INTEGER", "UNOS.GMT SMALLINT", "UNOS.NOD INTEGER",
        "UNOS.NDO INTEGER",
        "VOZILO.IDVOZ INTEGER NOT NULL", "VOZILO.MARKAITIP VARCHAR(40)", "VOZILO.MASA INTEGER NUMERIC(7,3)",
        "VOZILO.NOSIVOST INTEGER NUMERIC(7,3)", "VOZILO.UKUPNAMASA INTEGER NUMERIC(7,3)",
        "VOZILO.OZNAKA VARCHAR(20) NOT NULL", "VOZILO.VRSTA SMALLINT NOT NULL", "VOZILO.NAPOMENA BLOB SUB_TYPE 1",
        "VOZILO.GARBR VARCHAR(10)", "VOZILO.BRSASIJE VARCHAR(30)", "VOZILO.BRSJED INTEGER",
        "VOZILO.GODPRO INTEGER", "VOZILO.GODPREG INTEGER", "VOZILO.AKTIVNOALL SMALLINT", "VOZILO.DRZAVA SMALLINT",
    };
    QCOMPARE(ColumnCatalogue(data), expectedColumns);

    QCOMPARE(NamesOf(data, "SELECT TRIM(RDB$GENERATOR_NAME) FROM RDB$GENERATORS "
                           "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0"),
             (QStringList{"GEN_AKTPOTVRDA_ID", "GEN_DJELATNICI_ID", "GEN_DUNOS_ID", "GEN_UNOS_ID", "GEN_VOZILO_ID"}));
    QCOMPARE(NamesOf(data, "SELECT TRIM(I.RDB$INDEX_NAME) || ' ' || TRIM(I.RDB$RELATION_NAME) || '(' || "
                           "(SELECT LIST(TRIM(S.RDB$FIELD_NAME)) FROM RDB$INDEX_SEGMENTS S "
                           "WHERE S.RDB$INDEX_NAME = I.RDB$INDEX_NAME) || ')' FROM RDB$INDICES I "
                           "WHERE I.RDB$INDEX_NAME NOT STARTING WITH 'RDB$'"),
             (QStringList{"DJ_IDX1 DJELATNICI(KARTICA)", "DUN_IDX1 DUNOS(IDUNOS)", "DUN_IDX2 DUNOS(DATUM)",
                          "DUN_IDX3 DUNOS(DATUM)", "PK_DUNOS DUNOS(IDD)", "PK_UNOS UNOS(IDUNOS)",
                          "PK_VOZILO VOZILO(IDVOZ)", "SATIUNOS_IDX1 SATIUNOS(IDDUNOS)", "SATIUNOS_IDX2 SATIUNOS(DT1)",
                          "SATIUNOS_IDX3 SATIUNOS(DT2)", "SATIUNOS_IDX4 SATIUNOS(IDVOZAC)",
                          "SKENLOG_IDX1 SKENLOG(FN,SX,SY)", "UN_IDX1 UNOS(IDVOZAC)", "UN_IDX2 UNOS(DV)",
                          "UN_IDX3 UNOS(IDVOZAC,DV)", "VO_IDX1 VOZILO(OZNAKA)"}));
    // The overview's three indexes run newest first.
    QCOMPARE(NamesOf(data, "SELECT TRIM(RDB$INDEX_NAME) FROM RDB$INDICES WHERE RDB$INDEX_TYPE = 1 "
                           "AND RDB$INDEX_NAME NOT STARTING WITH 'RDB$'"),
             (QStringList{"DUN_IDX3", "UN_IDX2", "UN_IDX3"}));

    // The trigger fills an empty vehicle key from its generator.
    data.sql.prepare("INSERT INTO VOZILO (MARKAITIP, OZNAKA) VALUES ('MAN', 'ZG-1')");
    data.sql.execute();
    data.write.commit();
    QCOMPARE(QueryNumber(data, "SELECT IDVOZ FROM VOZILO"), 1);
}

// The second start reads the catalogue and checks the tables, and writes nothing.
void TestSchemaUpgrade::secondStartOnlyReadsTheCatalogue()
{
    TempDatabase db;
    TestConnection data;
    QStringList statements;
    data.connection.setStatementObserver([&](const QString& sql) { statements << sql; });
    QCOMPARE(ConnectUpgraded(data, db.path()), QStringList());
    QVERIFY(!statements.isEmpty());
    for (const QString& sql : statements)
        QVERIFY2(sql.startsWith("SELECT "), qPrintable(sql));
}

void TestSchemaUpgrade::missingFileReportsOnceAndStaysClosed()
{
    QTemporaryDir folder;
    TestConnection data;
    QCOMPARE(ConnectUpgraded(data, folder.filePath("VT.FDB")), QStringList{"Pogreška kod nadogradnje baze!"});
    QVERIFY(!data.connection.isOpen());
    QVERIFY_THROWS_EXCEPTION(DbError, QueryNumber(data, "SELECT 1 FROM RDB$DATABASE"));
}

void TestSchemaUpgrade::databaseWithoutBaseTablesCreatesNothing()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("EMPTY.FDB");
    {
        Connection connection;
        connection.setDatabaseName(path);
        connection.params() << "user_name=SYSDBA" << "password=corbelwin";
        connection.createDatabase("WIN1250");
    }
    // Another program's database: told as such, and left closed and unchanged.
    TestConnection data;
    const QStringList messages = ConnectUpgraded(data, path);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].startsWith(QStringLiteral("Baza podataka %1 nije baza ovog programa").arg(path)),
             qPrintable(messages[0]));
    QVERIFY(!data.connection.isOpen());
    TestConnection reader;
    reader.connection.setAccount(DatabaseAccount{});
    reader.connection.setDatabaseName(path);
    reader.connection.open();
    QCOMPARE(UserTables(reader.sql), QStringList());
}

void TestSchemaUpgrade::failingIdDriverUpdateKeepsColumnAndIsNotRepeated()
{
    TempDatabase db(TempDatabase::Schema::Base);
    {
        // A database from before the driver column, whose interval update will fail: a
        // trigger refuses every change of SATIUNOS.
        TestConnection data;
        ConnectUpgraded(data, db.path());
        data.script.execute(
            "DROP INDEX SATIUNOS_IDX4; ALTER TABLE SATIUNOS DROP GMT; ALTER TABLE SATIUNOS DROP IDVOZAC;"
            "INSERT INTO SATIUNOS (IDDUNOS, TOD, TDO, TAKT) VALUES (1, 0, 60, 3);"
            "CREATE EXCEPTION NO_UPDATE 'refused';"
            "SET TERM ^ ; CREATE TRIGGER SATIUNOS_BU FOR SATIUNOS BEFORE UPDATE AS BEGIN "
            "EXCEPTION NO_UPDATE; END ^ SET TERM ; ^");
        data.write.commit();
    }
    TestConnection data;
    QCOMPARE(ConnectUpgraded(data, db.path()), QStringList{"Pogreška prilikom nadogradnje baze!"});
    QVERIFY(TableHasColumn(data.sql, "SATIUNOS", "IDVOZAC"));
    data.connection.close();

    TestConnection again;
    QStringList statements;
    again.connection.setStatementObserver([&](const QString& sql) { statements << sql; });
    QCOMPARE(ConnectUpgraded(again, db.path()), QStringList());
    QVERIFY(!statements.join('\n').contains("UPDATE SATIUNOS"));
}

void TestSchemaUpgrade::overviewIndexesAreAddedToAnEarlierDatabase()
{
    TempDatabase db;
    {
        TestConnection data;
        ConnectUpgraded(data, db.path());
        data.script.execute("DROP INDEX UN_IDX2; DROP INDEX DUN_IDX3; DROP INDEX UN_IDX3;");
        data.write.commit();
    }
    TestConnection data;
    QStringList statements;
    data.connection.setStatementObserver([&](const QString& sql) { statements << sql; });
    QCOMPARE(ConnectUpgraded(data, db.path()), QStringList());
    QVERIFY(statements.contains("CREATE DESCENDING INDEX UN_IDX2 ON UNOS (DV)"));
    QVERIFY(statements.contains("CREATE DESCENDING INDEX DUN_IDX3 ON DUNOS (DATUM)"));
    QVERIFY(statements.contains("CREATE DESCENDING INDEX UN_IDX3 ON UNOS (IDVOZAC, DV)"));
    QCOMPARE(QueryNumber(data, "SELECT COUNT(*) FROM RDB$INDICES WHERE RDB$INDEX_NAME IN ('UN_IDX2','DUN_IDX3','UN_IDX3')"),
             3);
}

// Indexes made on empty tables keep the selectivity 0 as rows come: the upgrade measures
// them, once; a database whose indexes were measured, or whose tables are empty, is left as
// it is.
void TestSchemaUpgrade::indexesNeverMeasuredAreMeasured()
{
    TempDatabase db;
    const auto selectivity = [](TestConnection& data, const char* index) {
        data.sql.prepare(QStringLiteral("SELECT RDB$STATISTICS FROM RDB$INDICES WHERE RDB$INDEX_NAME = '%1'").arg(index));
        data.sql.execute();
        const double value = data.sql.next() ? data.sql.doubleValue(0).value_or(0) : -1;
        data.write.commit();
        return value;
    };
    {
        TestConnection data;
        ConnectUpgraded(data, db.path());
        data.script.execute("INSERT INTO UNOS (IDUNOS, IDVOZAC, DV, TIP) VALUES (1, 7, '2025-01-01 10:00:00', 0);"
                               "INSERT INTO UNOS (IDUNOS, IDVOZAC, DV, TIP) VALUES (2, 8, '2025-01-02 10:00:00', 0);"
                               "INSERT INTO DUNOS (IDD, IDUNOS, DATUM) VALUES (1, 1, '2025-01-01');");
        data.write.commit();
        QCOMPARE(selectivity(data, "UN_IDX1"), 0.0);
        QCOMPARE(selectivity(data, "DUN_IDX2"), 0.0);
    }
    TestConnection data;
    QStringList statements;
    data.connection.setStatementObserver([&](const QString& sql) { statements << sql; });
    QCOMPARE(ConnectUpgraded(data, db.path()), QStringList());
    QVERIFY(statements.contains("SET STATISTICS INDEX \"UN_IDX1\""));
    QCOMPARE(selectivity(data, "UN_IDX1"), 0.5);   // two drivers
    QCOMPARE(selectivity(data, "PK_UNOS"), 0.5);   // two keys
    QCOMPARE(selectivity(data, "DUN_IDX2"), 1.0);  // one date
    QCOMPARE(selectivity(data, "SKENLOG_IDX1"), 0.0);  // an empty table's
    data.connection.close();

    TestConnection again;
    statements.clear();
    again.connection.setStatementObserver([&](const QString& sql) { statements << sql; });
    QCOMPARE(ConnectUpgraded(again, db.path()), QStringList());
    for (const QString& sql : statements)
        QVERIFY2(sql.startsWith("SELECT "), qPrintable(sql));
}

QTEST_GUILESS_MAIN(TestSchemaUpgrade)
#include "tst_schema_upgrade.moc"
