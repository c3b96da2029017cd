#include "db/server_messages.h"

#include "db/database_location.h"
#include "db/db_error.h"

#include <QRegularExpression>

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
