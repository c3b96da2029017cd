#pragma once

#include "compliance/compliance_check.h"
#include "print/printout.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>

#include <vector>

// The columns of the list of infringements, as the window, the CSV and the printout give them:
// "Vozač", "Propis", "Od", "Do", "Vrijednost", "Granica", "Težina", "Opis".
QStringList InfringementColumnTitles();
// The texts of one infringement in those columns (moments as "dd.mm.yyyy hh:mm", minutes as
// "hh:mm", no severity as empty).
QStringList InfringementTexts(const QString& driverName, const Infringement& infringement);

// The list as a spreadsheet file: UTF-8 with a byte order mark, fields separated by ";" (quoted
// where a field holds ";", a quote or a line break), lines ended by CR LF, the titles first.
QByteArray InfringementsCsv(const std::vector<DriverCheck>& checks);

// "Kontrola propisa" on A4 portrait with 10 mm margins: the title block on the first page, the
// column header on every page, a line per infringement with its sentence under it, the totals
// per rule after the last one, and the footer "Str. n od N" on every page.
struct ComplianceReportData {
    QString header;      // the company, as the settings name it
    QString driverLine;  // naming the driver, or all drivers
    QDate from;
    QDate to;
    std::vector<DriverCheck> checks;
    QDateTime printedAt;
    QString webAddress;
};

class ComplianceReport : public Printout {
public:
    explicit ComplianceReport(ComplianceReportData data);

    int pageCount() const override { return static_cast<int>(m_pages.size()); }
    void paintPage(PageCanvas& canvas, int page) const override;
    QString fileName() const override;

private:
    struct Line {
        QString driverName;
        Infringement infringement;
    };
    ComplianceReportData m_data;
    std::vector<Line> m_lines;
    std::vector<std::vector<int>> m_pages;  // the lines of each page; the totals follow the last
};
