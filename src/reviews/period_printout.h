#pragma once

#include "print/printout.h"
#include "reviews/period_record.h"
#include "settings/settings_values.h"

#include <vector>

// What the period graph prints: the driver, the range and its day lines, with the colours and
// the summary layout of the settings.
struct PeriodPrintoutData {
    QString driverName;
    QDate from;
    QDate to;
    std::vector<PeriodDay> days;
    ActivityColours colours;
    bool summary2x2 = true;
};

// "Grafički pregled aktivnosti vozača" on A4 portrait: the title block on the first page, then a
// 25 mm row per day, 8 mm apart, from 32 mm on the first page and 18 mm on the others; a page
// ends before a row that would reach into the last 16 mm, and the legend stands under each
// page's last row.
class PeriodPrintout : public Printout {
public:
    explicit PeriodPrintout(PeriodPrintoutData data);

    int pageCount() const override { return static_cast<int>(m_pages.size()); }
    void paintPage(PageCanvas& canvas, int page) const override;
    QString fileName() const override;

    // Where each page's rows start, in millimetres from the top: the day's position in the
    // list and the row's top.
    struct Row {
        int day = 0;
        double top = 0;
    };
    const std::vector<std::vector<Row>>& pages() const { return m_pages; }

private:
    PeriodPrintoutData m_data;
    std::vector<std::vector<Row>> m_pages;
};
