#pragma once

#include <QString>
#include <QStringList>

// The text of each page of a PDF file, read back with pdftotext (poppler-utils), in reading
// order, ligatures as their letters; empty when the file cannot be read.
QStringList PdfPageTexts(const QString& path);
