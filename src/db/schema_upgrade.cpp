#include "db/schema_upgrade.h"

#include "db/catalogue.h"
#include "db/database_health.h"
#include "db/data_module.h"
#include "db/db_error.h"

#include <QDir>

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

// Tells the operator of a failure: a refused right as such, anything else with `otherwise`.
using FailureReport = std::function<void(const DbError& error, const QString& otherwise)>;

// A step with a handler of its own: on failure it is rolled back, reported, and the
// upgrade goes on with the next step.
template <typename Step>
void RunOwnStep(TDataModule1& data, const FailureReport& report, Step step)
{
    try {
        step();
    } catch (const DbError& error) {
        if (data.IBTransaction1.isActive())
            data.IBTransaction1.rollback();
        report(error, kStepFailed);
    }
}

// Where the refused object stands, in words: "na tablici VOZACI".
QString ObjectText(const DbError::MissingRight& missing)
{
    static const std::pair<const char*, const char*> kKinds[] = {
        {"TABLE", "tablici"}, {"VIEW", "pogledu"}, {"GENERATOR", "generatoru"}, {"SEQUENCE", "generatoru"},
        {"PROCEDURE", "proceduri"}};
    for (const auto& [kind, words] : kKinds) {
        if (missing.objectKind == QLatin1String(kind))
            return QStringLiteral("na %1 %2").arg(QLatin1String(words), missing.object);
    }
    return QStringLiteral("na objektu %1 %2").arg(missing.objectKind, missing.object);
}

// The GRANT that gives a right on the data, as the instructions list them; empty for a right
// to change the database's structure.
QString DataGrant(const DbError::MissingRight& missing, const QString& user)
{
    static const QStringList kDataRights{"SELECT", "INSERT", "UPDATE", "DELETE"};
    if ((missing.objectKind == QLatin1String("TABLE") || missing.objectKind == QLatin1String("VIEW"))
        && kDataRights.contains(missing.right))
        return QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON %1 TO USER %2;").arg(missing.object, user);
    if ((missing.objectKind == QLatin1String("GENERATOR") || missing.objectKind == QLatin1String("SEQUENCE"))
        && missing.right == QLatin1String("USAGE"))
        return QStringLiteral("GRANT USAGE ON GENERATOR %1 TO USER %2;").arg(missing.object, user);
    return QString();
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

QString MissingRightMessage(const QString& location, const DatabaseAccount& account, const DbError& error)
{
    const QString user = account.user.toUpper();
    const QString database = QDir::toNativeSeparators(location);
    const std::optional<DbError::MissingRight>& missing = error.missingRight();
    const QString refused = missing
        ? QStringLiteral("Korisnik %1 nema pravo %2 %3 u bazi podataka %4.").arg(user, missing->right, ObjectText(*missing), database)
        : QStringLiteral("Korisnik %1 nema pravo mijenjati građu baze podataka %2.").arg(user, database);
    const QString grant = missing ? DataGrant(*missing, user) : QString();
    if (!grant.isEmpty()) {
        return refused
            + QStringLiteral(" To nije oštećenje baze: administrator baze (SYSDBA) korisniku daje prava naredbom\n    %1\n"
                             "i ostalim naredbama GRANT s popisa u uputama (\"Uredski poslužitelj\").")
                  .arg(grant);
    }
    return refused
        + QStringLiteral(" To nije oštećenje baze: bazu treba nadograditi, a to smije samo njezin vlasnik. Administrator "
                         "pokreće\n    veltra --upgrade-database %1\nkao vlasnik baze (SYSDBA), kako kažu upute "
                         "(\"Uredski poslužitelj\").")
              .arg(database);
}

bool ConnectAndUpgrade(TDataModule1& data, const QString& databasePath, const MessageSink& showMessage,
                       const DatabaseAccount& account)
{
    const FailureReport report = [&](const DbError& error, const QString& otherwise) {
        showMessage(error.isPermissionDenied() ? MissingRightMessage(databasePath, account, error) : otherwise, error.text());
    };
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
        RunOwnStep(data, report, [&] {
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
        RunOwnStep(data, report, [&] {
            if (UserTables(data.IBSQL1).contains(QStringLiteral("SKENLOG")))
                return;
            Run(data, QStringLiteral("CREATE TABLE SKENLOG ( \n    IDUNOS INTEGER, FN VARCHAR(100), SX INTEGER, "
                                     "SY INTEGER, N SMALLINT, TIP SMALLINT, DV TIMESTAMP DEFAULT 'now', IDK INTEGER, "
                                     "POM INTEGER)"));
            data.IBTransaction1.commitRetaining();
            Run(data, QStringLiteral("CREATE INDEX SKENLOG_IDX1 ON SKENLOG (FN,SX,SY)"));
            data.IBTransaction1.commit();
        });
        RunOwnStep(data, report, [&] {
            if (HasColumn(data, QStringLiteral("DUNOS"), QStringLiteral("MF")))
                return;
            Run(data, QStringLiteral("ALTER TABLE DUNOS \n    ADD GMT INTEGER, ADD MF SMALLINT, ADD IDMF INTEGER, "
                                     "ADD IDPF INTEGER"));
            data.IBTransaction1.commit();
        });
        // The entry overview reads entries newest first and entry days by date, newest first,
        // in the order of these two indexes.
        for (const auto& index :
             {std::pair{QStringLiteral("UN_IDX2"), QStringLiteral("CREATE DESCENDING INDEX UN_IDX2 ON UNOS (DV)")},
              std::pair{QStringLiteral("DUN_IDX3"), QStringLiteral("CREATE DESCENDING INDEX DUN_IDX3 ON DUNOS (DATUM)")}}) {
            RunOwnStep(data, report, [&] {
                if (HasIndex(data.IBSQL1, index.first))
                    return;
                Run(data, index.second);
                data.IBTransaction1.commit();
            });
        }
    } catch (const DbError& error) {
        // A failed step is undone whole, so that no later commit can carry half of it; the
        // catalogue tests try it again at the next start.
        if (data.IBTransaction1.isActive())
            data.IBTransaction1.rollback();
        report(error, kUpgradeFailed);
    }
    return data.DB.isOpen();
}
