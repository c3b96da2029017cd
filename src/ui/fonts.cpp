#include "ui/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

void RegisterApplicationFonts()
{
    if (!QFontDatabase::families().contains(QStringLiteral("Tahoma"))) {
        for (const char* file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
            QFontDatabase::addApplicationFont(QString::fromLatin1(file));
    }
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Arial Black"), QStringLiteral("Liberation Sans"));
}
