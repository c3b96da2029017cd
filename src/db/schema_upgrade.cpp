#include "db/schema_upgrade.h"

#include "db/catalogue.h"
#include "db/database_health.h"
#include "db/data_module.h"
#include "db/db_error.h"
#include "db/index_statistics.h"

namespace {

const QString kUpgradeFailed = QStringLiteral("Pogreška kod nadogradnje baze!");
const QString kStepFailed = QStringLiteral("Pogreška prilikom nadogradnje baze!");

const QString kVehicleScript = QStringLiteral(
    "CREATE TABLE VOZILO (  IDVOZ INTEGER NOT NULL, MARKAITIP VARCHAR(40), MASA  NUMERIC(7,3), \n"
    " NOSIVOST NUMERIC(7,3), UKUPNAMASA  NUMERIC(7,3), OZNAKA VARCHAR(20) NOT NULL, \n"
    " VRSTA SMALLINT DEFAULT 0 NOT NULL, NAPOMENA    BLOB SUB_TYPE 1 SEGMENT SIZE 1024, GARBR  VARCHAR(10),  "
    "BRSASIJE    VARCHAR(30),  BRSJED  INTEGER,  GODPRO INTEGER, GODPREG  INTEGER,   AKTIVNOALL  SMALLINT,  "
    "DRZAVA  SMALLINT);\n"
    "CREATE GENERATOR GEN_VOZILO_ID;\n"
    "ALTER TABLE VOZILO ADD CONSTRAINT PK_VOZILO PRIMARY KEY (IDVOZ);\n"
    "CREATE INDEX VO_IDX1 ON VOZILO (OZNAKA);\n"
    "SET TERM ^ ; CREATE TRIGGER VOZILO_BI FOR VOZILO ACTIVE BEFORE INSERT POSITION 0\n"
    "AS BEGIN   IF (NEW.IDVOZ IS NULL) THEN      NEW.IDVOZ = GEN_ID(GEN_VOZILO_ID,1); END \n"
    "^ SET TERM ; ^ \n");

const QString kEntryTablesScript = QStringLiteral(
    "CREATE GENERATOR GEN_UNOS_ID;\n"
    "CREATE GENERATOR GEN_DUNOS_ID;\n"
    "CREATE TABLE UNOS (IDUNOS INTEGER NOT NULL, IDVOZAC INTEGER, DV TIMESTAMP DEFAULT 'now', TIP SMALLINT, "
    "FNAME VARCHAR(255), PODTIP INTEGER, GMT SMALLINT, NOD INTEGER, NDO INTEGER);\n"
    "ALTER TABLE UNOS ADD CONSTRAINT PK_UNOS PRIMARY KEY (IDUNOS);\n"
    "CREATE INDEX UN_IDX1 ON UNOS (IDVOZAC);\n"
    "CREATE TABLE DUNOS (IDD INTEGER NOT NULL, IDUNOS INTEGER, DATUM DATE, KM1 NUMERIC(15,3), KM2 NUMERIC(15,3), "
    "DKM NUMERIC(15,3), IDVOZILO INTEGER, S1 INTEGER, S2 INTEGER, S3 INTEGER, S4 INTEGER, NAP VARCHAR(250), "
    "OS1 INTEGER, OS2 INTEGER, OS3 INTEGER, OS4 INTEGER, S5 INTEGER, S6 INTEGER, OS5 INTEGER, OS6 INTEGER, "
    "N1 INTEGER, N2 INTEGER, ON1 INTEGER, ON2 INTEGER);\n"
    "ALTER TABLE DUNOS ADD CONSTRAINT PK_DUNOS PRIMARY KEY (IDD);\n"
    "CREATE INDEX DUN_IDX1 ON DUNOS (IDUNOS);\n"
    "CREATE INDEX DUN_IDX2 ON DUNOS (DATUM);\n"
    "CREATE TABLE SATIUNOS (IDDUNOS INTEGER, TOD INTEGER, TDO INTEGER, TAKT SMALLINT, KM NUMERIC(15,3), "
    "LIT NUMERIC(15,3), IDVOZILO INTEGER, SCP SMALLINT, DT1 TIMESTAMP, DT2 TIMESTAMP);\n"
    "CREATE INDEX SATIUNOS_IDX1 ON SATIUNOS (IDDUNOS);\n"
    "CREATE INDEX SATIUNOS_IDX2 ON SATIUNOS (DT1);\n"
    "CREATE INDEX SATIUNOS_IDX3 ON SATIUNOS (DT2);\n");

// One statement through the data module's statement object.
void Run(TDataModule1& data, const QString& sql)
{
    data.IBSQL1.prepare(sql);
    data.IBSQL1.execute();
}

bool HasColumn(TDataModule1& data, const QString& table, const QString& column)
{
    return TableHasColumn(data.IBSQL1, table, column);
}

// Steps whose failure ends the upgrade (U1 to U4 and U6).
void RunMainSteps(TDataModule1& data)
{
    if (!HasColumn(data, QStringLiteral("AKTPOTVRDA"), QStringLiteral("MPOTPIS"))) {
        Run(data, QStringLiteral("ALTER TABLE AKTPOTVRDA \n"
                                 "    ADD MPOTPIS VARCHAR(60), ADD DPOTPIS DATE, ADD PISP SMALLINT"));
        data.IBTransaction1.commit();
    }
    if (!HasColumn(data, QStringLiteral("DJELATNICI"), QStringLiteral("KARTICA"))) {
        Run(data, QStringLiteral("ALTER TABLE DJELATNICI \n"
                                 "    ADD KARTICA VARCHAR(20), ADD JEZIK VARCHAR(3), ADD VOZACKAIZD VARCHAR(36), "
                                 "ADD KARTICAIZD VARCHAR(36)"));
        Run(data, QStringLiteral("CREATE INDEX DJ_IDX1 ON DJELATNICI (KARTICA)"));
        data.IBTransaction1.commit();
    }
    const QStringList tables = UserTables(data.IBSQL1);
    if (!tables.contains(QStringLiteral("VOZILO"))) {
        data.IBScript1.execute(kVehicleScript);
        data.IBTransaction1.commit();
    }
    if (!tables.contains(QStringLiteral("UNOS"))) {
        data.IBScript1.execute(kEntryTablesScript);
        data.IBTransaction1.commit();
    }
}

// A step with a handler of its own: on failure it is rolled back, reported, and the
// upgrade goes on with the next step.
template <typename Step>
void RunOwnStep(TDataModule1& data, const MessageSink& showMessage, Step step)
{
    try {
        step();
    } catch (const DbError& error) {
        if (data.IBTransaction1.isActive())
            data.IBTransaction1.rollback();
        showMessage(kStepFailed, error.text());
    }
}

// Indexes built before their data plan as if they were unique until they are measured. Not a
// step of the schema: the database works without it, only slower, and an account that may
// not alter the tables (a clerk's on a server) cannot do it, so a failure is left unsaid and
// the database stays as it was.
void MeasureIndexesNeverMeasured(TDataModule1& data)
{
    try {
        if (IndexStatisticsMissing(data.IBSQL1))
            RecomputeIndexStatistics(data.IBTransaction1);
    } catch (const DbError&) {
        if (data.IBTransaction1.isActive())
            data.IBTransaction1.rollback();
    }
}

}  // namespace

QString ServerConnectionMessage(const QString& location, const DatabaseAccount& account, const DbError& error)
{
    const QString host = ServerHost(location);
    if (error.isLoginRefused())
        return QStringLiteral("Poslužitelj baze podataka %1 ne prihvaća korisnika %2: korisničko ime ili lozinka nisu "
                              "ispravni (retci user= i password= u VTDB.DAT).")
            .arg(host, account.user);
    if (error.isServerUnreachable())
        return QStringLiteral("Poslužitelj baze podataka %1 nije dostupan ili ne prima veze. Provjerite je li računalo "
                              "uključeno i u mreži, radi li na njemu Firebird i je li vrata 3050 otvorena.")
            .arg(host);
    return QStringLiteral("Baza podataka %1 na poslužitelju %2 ne može se otvoriti.").arg(location, host);
}

bool ConnectAndUpgrade(TDataModule1& data, const QString& databasePath, const MessageSink& showMessage,
                       const DatabaseAccount& account)
{
    try {
        data.DB.close();
        data.DB.setDatabaseName(databasePath);
        data.DB.params().clear();
        data.DB.params() << QStringLiteral("lc_ctype=NONE") << QStringLiteral("user_name=") + account.user
                         << QStringLiteral("password=") + account.password;
        if (IsServerLocation(databasePath)) {
            try {
                data.DB.open();
            } catch (const DbError& error) {
                showMessage(ServerConnectionMessage(databasePath, account, error), error.text());
                return false;
            }
        }
        // A damaged file is opened for nothing and changed in nothing.
        std::optional<QString> damage = DatabaseFileDamage(databasePath);
        if (!damage) {
            data.DB.open();
            damage = DatabaseStructureDamage(data, databasePath);
        }
        if (damage) {
            data.DB.close();
            showMessage(DamagedDatabaseMessage(databasePath), *damage);
            return false;
        }

        RunMainSteps(data);
        RunOwnStep(data, showMessage, [&] {
            if (HasColumn(data, QStringLiteral("SATIUNOS"), QStringLiteral("IDVOZAC")))
                return;
            Run(data, QStringLiteral("ALTER TABLE SATIUNOS \n    ADD GMT INTEGER, ADD IDVOZAC INTEGER"));
            Run(data, QStringLiteral("CREATE INDEX SATIUNOS_IDX4 ON SATIUNOS (IDVOZAC)"));
            data.IBTransaction1.commit();
            Run(data, QStringLiteral("UPDATE SATIUNOS SET IDVOZAC=(SELECT UNOS.IDVOZAC FROM DUNOS LEFT JOIN UNOS "
                                     "ON DUNOS.IDUNOS=UNOS.IDUNOS WHERE DUNOS.IDD=SATIUNOS.IDDUNOS)"));
            data.IBTransaction1.commit();
        });
        if (!HasColumn(data, QStringLiteral("DUNOS"), QStringLiteral("T1"))) {
            Run(data, QStringLiteral("ALTER TABLE DUNOS \n    ADD T1 INTEGER, ADD T2 INTEGER"));
            data.IBTransaction1.commit();
        }
        RunOwnStep(data, showMessage, [&] {
            if (UserTables(data.IBSQL1).contains(QStringLiteral("SKENLOG")))
                return;
            Run(data, QStringLiteral("CREATE TABLE SKENLOG ( \n    IDUNOS INTEGER, FN VARCHAR(100), SX INTEGER, "
                                     "SY INTEGER, N SMALLINT, TIP SMALLINT, DV TIMESTAMP DEFAULT 'now', IDK INTEGER, "
                                     "POM INTEGER)"));
            data.IBTransaction1.commitRetaining();
            Run(data, QStringLiteral("CREATE INDEX SKENLOG_IDX1 ON SKENLOG (FN,SX,SY)"));
            data.IBTransaction1.commit();
        });
        RunOwnStep(data, showMessage, [&] {
            if (HasColumn(data, QStringLiteral("DUNOS"), QStringLiteral("MF")))
                return;
            Run(data, QStringLiteral("ALTER TABLE DUNOS \n    ADD GMT INTEGER, ADD MF SMALLINT, ADD IDMF INTEGER, "
                                     "ADD IDPF INTEGER"));
            data.IBTransaction1.commit();
        });
        // The entry overview reads entries newest first and entry days by date, newest first,
        // in the order of the first two indexes; one driver's entries newest first in the
        // order of the third.
        for (const auto& index :
             {std::pair{QStringLiteral("UN_IDX2"), QStringLiteral("CREATE DESCENDING INDEX UN_IDX2 ON UNOS (DV)")},
              std::pair{QStringLiteral("DUN_IDX3"), QStringLiteral("CREATE DESCENDING INDEX DUN_IDX3 ON DUNOS (DATUM)")},
              std::pair{QStringLiteral("UN_IDX3"),
                        QStringLiteral("CREATE DESCENDING INDEX UN_IDX3 ON UNOS (IDVOZAC, DV)")}}) {
            RunOwnStep(data, showMessage, [&] {
                if (HasIndex(data.IBSQL1, index.first))
                    return;
                Run(data, index.second);
                data.IBTransaction1.commit();
            });
        }
        MeasureIndexesNeverMeasured(data);
    } catch (const DbError& error) {
        // A failed step is undone whole, so that no later commit can carry half of it; the
        // catalogue tests try it again at the next start.
        if (data.IBTransaction1.isActive())
            data.IBTransaction1.rollback();
        showMessage(kUpgradeFailed, error.text());
    }
    return data.DB.isOpen();
}
