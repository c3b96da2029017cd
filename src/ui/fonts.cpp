#include "ui/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

void RegisterApplicationFonts()
{
    // Only the regular face: the bold face of the Wine fonts draws wide glyphs of another
    // design, while Tahoma made bold from the regular face looks as it should.
    if (!QFontDatabase::families().contains(QStringLiteral("Tahoma")))
        QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Arial Black"), QStringLiteral("Liberation Sans"));
}
