#include "pdf_text.h"

#include <QProcess>
#include <QRegularExpression>

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

QList<PdfWord> PdfWords(const QString& path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60000) || pdftotext.exitCode() != 0)
        return {};
    constexpr double kMillimetresPerPoint = 25.4 / 72;
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"[0-9.]+\">([^<]*)</word>"));
    QList<PdfWord> words;
    const QString xml = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (auto match = word.globalMatch(xml); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        QString text = found.captured(4);
        text.replace(QStringLiteral("&amp;"), QStringLiteral("&")).replace(QStringLiteral("&apos;"), QStringLiteral("'"));
        words << PdfWord{text.normalized(QString::NormalizationForm_KC), found.captured(1).toDouble() * kMillimetresPerPoint,
                         found.captured(2).toDouble() * kMillimetresPerPoint,
                         found.captured(3).toDouble() * kMillimetresPerPoint};
    }
    return words;
}

QStringList PdfFontNames(const QString& path)
{
    QProcess pdffonts;
    pdffonts.start(QStringLiteral("pdffonts"), {path});
    if (!pdffonts.waitForFinished(60000) || pdffonts.exitCode() != 0)
        return {};
    // Two header lines, then one font a line, its name first.
    QStringList names;
    const QStringList lines = QString::fromUtf8(pdffonts.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QString name = lines[i].section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
        names << name.mid(name.indexOf(QLatin1Char('+')) + 1);
    }
    return names;
}
