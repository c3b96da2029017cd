#include "print/pdf_output.h"

#include "print/printout.h"

#include <QFile>
#include <QPdfWriter>

#include <cmath>

namespace {

constexpr int kPdfResolution = 600;
constexpr double kMillimetresPerInch = 25.4;
constexpr double kInchesPerMetre = 1000.0 / kMillimetresPerInch;

}  // namespace

bool WritePdf(const Printout& printout, const QString& path, QString* error)
{
    {
        // QPdfWriter does not tell whether it could write; try the file first.
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            if (error)
                *error = QStringLiteral("Datoteku %1 nije moguće zapisati: %2").arg(path, file.errorString());
            return false;
        }
    }
    QPdfWriter writer(path);
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(printout.pageLayout());
    writer.setCreator(QStringLiteral("VELTRA"));
    writer.setTitle(printout.fileName());
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error)
            *error = QStringLiteral("Datoteku %1 nije moguće zapisati.").arg(path);
        return false;
    }
    for (int page = 0; page < printout.pageCount(); ++page) {
        if (page > 0)
            writer.newPage();
        PaintPrintoutPage(printout, painter, page, kPdfResolution);
    }
    painter.end();
    return true;
}

QImage RenderPage(const Printout& printout, int page, double dotsPerInch)
{
    const QSizeF millimetres = printout.pageLayout().fullRectPoints().size() * (kMillimetresPerInch / 72.0);
    const QSize size(static_cast<int>(std::lround(millimetres.width() / kMillimetresPerInch * dotsPerInch)),
                     static_cast<int>(std::lround(millimetres.height() / kMillimetresPerInch * dotsPerInch)));
    QImage image(size, QImage::Format_RGB32);
    // The image's resolution makes point sizes come out as on paper.
    image.setDotsPerMeterX(static_cast<int>(std::lround(dotsPerInch * kInchesPerMetre)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dotsPerInch * kInchesPerMetre)));
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintPrintoutPage(printout, painter, page, dotsPerInch);
    return image;
}
