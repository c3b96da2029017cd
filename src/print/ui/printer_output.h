#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class Printout;
class Settings;
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

// Prints a printout's pages on a named printer, or stands in for one.
using PrintFunction = std::function<bool(const Printout& printout, const QString& printerName, QString* error)>;

// How the printouts of a run leave the program: the settings choose the printer of each role
// and whether the preview comes first; pages go to the printer, or to a stand-in a test gives.
// The preview is the one open, or, where the run opens one when needed (the program does),
// a new one.
class Printing {
public:
    explicit Printing(const Settings& settings);

    const Settings& settings() const { return m_settings; }

    void setPrinter(PrintFunction print) { m_print = print ? std::move(print) : PrintFunction(PrintOnPrinter); }
    // Every page on the printer of the role. False, with the reason for the operator in
    // `error`, when there is no such printer or none at all.
    bool print(const Printout& printout, PrinterRole role, QString* error) const;

    void setOpensPreview(bool opens) { m_opensPreview = opens; }
    bool opensPreview() const { return m_opensPreview; }

private:
    const Settings& m_settings;
    PrintFunction m_print = PrintOnPrinter;
    bool m_opensPreview = false;
};

inline const QString kNoPrinterMessage = QStringLiteral("Na računalu nije instaliran nijedan pisač.");
