#include "print/ui/printer_output.h"

#include "print/printout.h"
#include "settings/settings.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

QString ChosenPrinter(const SettingsValues& settings, PrinterRole role)
{
    switch (role) {
    case PrinterRole::Graph:
        return settings.graphPrinter;
    case PrinterRole::Attestation:
        return settings.attestationPrinter;
    case PrinterRole::Report:
        break;
    }
    return settings.reportPrinter;
}

QStringList InstalledPrinterNames()
{
    return QPrinterInfo::availablePrinterNames();
}

bool PrintOnPrinter(const Printout& printout, const QString& printerName, QString* error)
{
    QPrinterInfo info = printerName.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(printerName);
    if (info.isNull() && printerName.isEmpty() && !QPrinterInfo::availablePrinters().isEmpty())
        info = QPrinterInfo::availablePrinters().first();
    if (info.isNull()) {
        if (error) {
            *error = printerName.isEmpty() || QPrinterInfo::availablePrinters().isEmpty()
                ? kNoPrinterMessage
                : QStringLiteral("Pisač \"%1\" nije dostupan. Odaberite pisač u postavkama (Podaci - Postavke).")
                      .arg(printerName);
        }
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setPageLayout(printout.pageLayout());
    printer.setFullPage(true);
    printer.setDocName(printout.fileName());
    printer.setCopyCount(printout.copies());
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (error)
            *error = QStringLiteral("Ispis na pisač \"%1\" nije uspio.").arg(info.printerName());
        return false;
    }
    for (int page = 0; page < printout.pageCount(); ++page) {
        if (page > 0)
            printer.newPage();
        PaintPrintoutPage(printout, painter, page, printer.resolution());
    }
    painter.end();
    return true;
}

Printing::Printing(const Settings& settings) : m_settings(settings)
{
}

bool Printing::print(const Printout& printout, PrinterRole role, QString* error) const
{
    return m_print(printout, ChosenPrinter(m_settings.values(), role), error);
}
