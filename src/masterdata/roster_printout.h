#pragma once

#include "masterdata/driver_list_query.h"
#include "print/printout.h"

#include <QDateTime>

#include <vector>

// What the roster prints: the header text of the settings, the employees in list order, the
// day it is for and the moment of printing.
struct RosterData {
    QString header;  // Zaglavlje
    std::vector<DriverListRow> employees;
    QDate day;
    QDateTime printedAt;
    QString webAddress;
};

// "Popis djelatnika" on A4 portrait with 10 mm margins: the title band on the first page, the
// column header and the footer "Str. n od N" on every page, and an 8.2 mm band per employee.
class RosterPrintout : public Printout {
public:
    explicit RosterPrintout(RosterData data);

    int pageCount() const override { return static_cast<int>(m_pages.size()); }
    void paintPage(PageCanvas& canvas, int page) const override;
    QString fileName() const override;

    // The employees of each page: positions in the list.
    const std::vector<std::vector<int>>& pages() const { return m_pages; }

private:
    RosterData m_data;
    std::vector<std::vector<int>> m_pages;
};
