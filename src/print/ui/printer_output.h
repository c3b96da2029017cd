#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class Printout;
struct SettingsValues;

// Which of the settings' printers a printout goes to.
enum class PrinterRole {
    Graph,        // GRPrinter: graphic printouts (the period graph)
    Attestation,  // Printer: the attestation form and the working-time record
    Report,       // IPrinter: lists and reports
};

// The printer the settings choose for the role; empty means the system's default printer.
QString ChosenPrinter(const SettingsValues& settings, PrinterRole role);

// The names of the printers installed on the computer, in the system's order.
QStringList InstalledPrinterNames();

// Prints every page of the printout on the named printer (empty: the system's default). False,
// with the reason for the operator in `error`, when there is no such printer or none at all.
bool PrintOnPrinter(const Printout& printout, const QString& printerName, QString* error);

// Where printing goes: the printer, unless a test puts something else in its place.
using PrintFunction = std::function<bool(const Printout& printout, const QString& printerName, QString* error)>;
void SetPrintFunction(PrintFunction print);
bool Print(const Printout& printout, const QString& printerName, QString* error);

inline const QString kNoPrinterMessage = QStringLiteral("Na računalu nije instaliran nijedan pisač.");
