#pragma once

#include "print/printout.h"

#include <QDateTime>
#include <QStringList>

#include <vector>

// What the working-time record prints: its print lines (one per row, fields joined by "||"),
// the period, the driver and the moment of printing.
struct WorkTimePrintData {
    QStringList lines;
    QDate from;
    QDate to;
    QString driverName;
    QString oib;
    QDateTime printedAt;
    bool wrapNotes = false;  // setting Stretch: notes on several lines instead of cut
    QString webAddress;
    int nightFrom = 22 * 60;  // the night window the night column's caption names
    int nightTo = 6 * 60;
};

// "Evidencija radnog vremena osobe koja obavlja mobilnu djelatnost" on A4 portrait with 10 mm
// margins: the title block on the first page, the column header on every page, a 5.3 mm line
// per day and a 9.3 mm line per week total (taller when notes wrap), and the footer
// "Str. n od N" on every page. The week totals are the lines that start with "UKUPNO (tjedno)".
class WorkTimePrintout : public Printout {
public:
    explicit WorkTimePrintout(WorkTimePrintData data);

    int pageCount() const override { return static_cast<int>(m_pages.size()); }
    void paintPage(PageCanvas& canvas, int page) const override;
    QString fileName() const override;

    struct Line {
        int index = 0;       // position in the print lines
        double height = 0;   // millimetres
    };
    const std::vector<std::vector<Line>>& pages() const { return m_pages; }

private:
    WorkTimePrintData m_data;
    std::vector<std::vector<Line>> m_pages;
};

// Field k of a print line, as the printout reads it: beyond the last field, the last field.
QString PrintLineField(const QString& line, int field);
