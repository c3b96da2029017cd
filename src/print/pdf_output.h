#pragma once

#include <QImage>
#include <QString>

class Printout;

// Writes every page of the printout to a PDF file (replacing one that exists). False, with
// the reason in `error` (Croatian, for the operator), when the file cannot be written.
bool WritePdf(const Printout& printout, const QString& path, QString* error);

// One page drawn into an image at the resolution, white where nothing is drawn: the preview's
// thumbnails and page view.
QImage RenderPage(const Printout& printout, int page, double dotsPerInch);
