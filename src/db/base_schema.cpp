#include "db/base_schema.h"

#include "db/connection.h"
#include "db/db_error.h"
#include "db/script.h"
#include "db/transaction.h"

#include <QFileInfo>

namespace {

const QString kBaseSchemaScript = QStringLiteral(R"(
CREATE GENERATOR GEN_DJELATNICI_ID;
CREATE TABLE DJELATNICI (
  IDDJ INTEGER NOT NULL PRIMARY KEY,
  IMEPREZIME VARCHAR(70),
  ZVANJE VARCHAR(70),
  RADNOMJESTO VARCHAR(70),
  VOZAC SMALLINT,
  AKTIVNOALL SMALLINT,
  NAPOMENA BLOB SUB_TYPE 1 SEGMENT SIZE 1024,
  OSOBNA VARCHAR(20),
  ADRESA VARCHAR(100),
  KONTAKT VARCHAR(100),
  MBR INTEGER,
  TIP SMALLINT,
  TIPS VARCHAR(100),
  ZAP SMALLINT,
  VOZACKA VARCHAR(20),
  PUTOVNICA VARCHAR(20),
  ZAPOD DATE,
  DATROD DATE,
  OIB VARCHAR(11));
CREATE GENERATOR GEN_AKTPOTVRDA_ID;
CREATE TABLE AKTPOTVRDA (
  IDP INTEGER NOT NULL PRIMARY KEY,
  IDDJ INTEGER,
  IDVOZ INTEGER,
  MODEL SMALLINT,
  TIP SMALLINT,
  NAZIV VARCHAR(120),
  ULICA VARCHAR(120),
  DRZAVA VARCHAR(80),
  TEL VARCHAR(40),
  FAKS VARCHAR(40),
  MAIL VARCHAR(100),
  IME1 VARCHAR(70),
  FUNKCIJA VARCHAR(70),
  IME2 VARCHAR(70),
  DROD DATE,
  BROJEVI VARCHAR(70),
  DZAP DATE,
  RAZOD TIMESTAMP,
  RAZDO TIMESTAMP,
  MJESTO VARCHAR(60),
  DATUM DATE);
SET TERM ^ ;
CREATE TRIGGER AKTPOTVRDA_BI FOR AKTPOTVRDA ACTIVE BEFORE INSERT POSITION 0
AS BEGIN
  IF (NEW.IDP IS NULL) THEN NEW.IDP = GEN_ID(GEN_AKTPOTVRDA_ID, 1);
END
^
SET TERM ; ^
CREATE TABLE VOZACI (
  IDNALOGA INTEGER,
  VOZACID INTEGER);
CREATE TABLE UTOVARIVACI (
  IDNALOGA INTEGER,
  DJELATNIKID INTEGER);
)");

}  // namespace

void CreateBaseDatabase(const QString& path, const DatabaseAccount& account)
{
    if (!IsServerLocation(path) && QFileInfo::exists(path))
        throw DbError(QStringLiteral("Datoteka %1 već postoji.").arg(path), 0);
    Connection connection;
    connection.setDatabaseName(path);
    connection.params() << QStringLiteral("user_name=") + account.user << QStringLiteral("password=") + account.password;
    connection.createDatabase(QStringLiteral("WIN1250"));
    connection.params().prepend(QStringLiteral("lc_ctype=NONE"));
    connection.open();
    Transaction transaction(connection);
    Script(transaction).execute(kBaseSchemaScript);
    transaction.commit();
}
