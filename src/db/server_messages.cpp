#include "db/server_messages.h"

#include "db/database_location.h"
#include "db/db_error.h"

#include <QDir>
#include <QRegularExpression>

#include <utility>

namespace {

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
                              "ispravni (%3).")
            .arg(host, account.user, account.source);
    if (error.isServerUnreachable())
        return QStringLiteral("Poslužitelj baze podataka %1 nije dostupan ili ne prima veze. Provjerite je li računalo "
                              "uključeno i u mreži, radi li na njemu Firebird i jesu li vrata %2 otvorena.")
            .arg(host, ServerPort(location));
    QString message = QStringLiteral("Baza podataka %1 na poslužitelju %2 ne može se otvoriti.").arg(location, host);
    // In the URL form, what follows the host's slash is the path as the server takes it: an
    // absolute path needs a slash of its own.
    static const QRegularExpression relativeUrlPath(QStringLiteral("^(inet[46]?://[^/]+/)([^/][^:]*/.*)$"),
                                                    QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch match = relativeUrlPath.match(location); match.hasMatch())
        message += QStringLiteral(" Ako je %2 putanja od korijena poslužiteljeva diska, napišite je s dvije kose "
                                  "crte: %1/%2")
                       .arg(match.captured(1), match.captured(2));
    return message;
}

QString ConnectionLostMessage(const QString& location)
{
    return QStringLiteral("Veza s poslužiteljem baze podataka %1 prekinuta je usred rada (poslužitelj je možda "
                          "ponovno pokrenut ili je mreža prekinuta), pa radnja nije dovršena. Ponovite radnju: "
                          "program se sam ponovno spaja.")
        .arg(ServerHost(location));
}

QString LockConflictMessage()
{
    return QStringLiteral("Drugi korisnik upravo mijenja iste podatke, pa ova promjena nije spremljena. Pričekajte "
                          "trenutak i pokušajte ponovno.");
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
