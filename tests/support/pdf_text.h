#pragma once

#include <QString>
#include <QList>
#include <QStringList>

// The text of each page of a PDF file, read back with pdftotext (poppler-utils), in reading
// order, ligatures as their letters; empty when the file cannot be read.
QStringList PdfPageTexts(const QString& path);

// A word of a PDF page with its top left corner and its right edge in millimetres from the
// page's corner, as pdftotext -bbox gives them.
struct PdfWord {
    QString text;
    double left = 0;
    double top = 0;
    double right = 0;
};
QList<PdfWord> PdfWords(const QString& path);

// The names of the fonts a PDF file embeds or names, as pdffonts (poppler-utils) lists them,
// without the subset prefix ("ABCDEF+Tahoma" -> "Tahoma"); empty when the file cannot be read.
QStringList PdfFontNames(const QString& path);
