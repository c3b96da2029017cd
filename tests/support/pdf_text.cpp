#include "pdf_text.h"

#include <QProcess>

QStringList PdfPageTexts(const QString& path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                                  path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60000) || pdftotext.exitCode() != 0)
        return {};
    // Ligatures of the fonts ("ﬁ") read back as their letters.
    QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput())
                            .normalized(QString::NormalizationForm_KC)
                            .split(QLatin1Char('\f'));
    // pdftotext ends the last page with a form feed too.
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}
