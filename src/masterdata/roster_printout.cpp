#include "masterdata/roster_printout.h"

#include <cmath>

namespace {

constexpr double kMargin = 10;
constexpr double kPageHeight = 297;
constexpr double kWidth = 188.9;
constexpr double kTitleBand = 24.3;
constexpr double kHeaderBand = 5.8;
constexpr double kRowBand = 8.2;
constexpr double kFooterBand = 10.6;
constexpr double kSecondLine = 4.2;
const QString kArial = QStringLiteral("Arial");
const QString kArialBlack = QStringLiteral("Arial Black");
const QColor kSilver(192, 192, 192);

// Rows that fit a page between its top bands and its footer.
int RowsThatFit(double topBands)
{
    const double room = kPageHeight - 2 * kMargin - topBands - kFooterBand;
    return static_cast<int>(std::floor(room / kRowBand + 1e-9));
}

}  // namespace

RosterPrintout::RosterPrintout(RosterData data) : m_data(std::move(data))
{
    const int employees = static_cast<int>(m_data.employees.size());
    int next = 0;
    do {
        const int fit = RowsThatFit(m_pages.empty() ? kTitleBand + kHeaderBand : kHeaderBand);
        std::vector<int> page;
        for (int row = 0; row < fit && next < employees; ++row)
            page.push_back(next++);
        m_pages.push_back(std::move(page));
    } while (next < employees);
}

void RosterPrintout::paintPage(PageCanvas& canvas, int page) const
{
    QPainter& painter = canvas.painter();
    const double left = kMargin;
    const auto x = [left](double fromMargin) { return left + fromMargin; };
    double top = kMargin;
    painter.setPen(Qt::black);
    if (page == 0) {
        canvas.setFont(kArial, 11, true);
        canvas.textCentred(x(0), x(kWidth), top, m_data.header);
        painter.setPen(Qt::gray);
        canvas.line(x(0), top + 5.2, x(kWidth), top + 5.2, 0.3);
        painter.setPen(Qt::black);
        canvas.setFont(kArialBlack, 12, true);
        canvas.textCentred(x(0), x(kWidth), top + 7.7, QStringLiteral("Popis djelatnika"));
        canvas.setFont(kArial, 11, true);
        canvas.textCentred(x(0), x(kWidth), top + 14.0,
                           QStringLiteral("na dan ") + m_data.day.toString(QStringLiteral("dd.MM.yyyy")));
        top += kTitleBand;
    }

    PaintHeaderBand(canvas, x(0), top, x(kWidth), kHeaderBand);
    canvas.setFont(kArial, 10, true);
    canvas.textAt(x(10.3), top + 1, QStringLiteral("Ime i prezime/adresa"));
    canvas.textAt(x(59.0), top + 1, QStringLiteral("MBR"));
    canvas.textAt(x(77.0), top + 1, QStringLiteral("Radno mjesto/zvanje"));
    canvas.textCentred(x(118.0), x(143.9), top + 1, QStringLiteral("Osobna isk."));
    canvas.textAt(x(146.1), top + 1, QStringLiteral("Tip"));
    top += kHeaderBand;

    for (int position : m_pages[static_cast<size_t>(page)]) {
        const DriverListRow& employee = m_data.employees[static_cast<size_t>(position)];
        const auto clipped = [&](double from, double width, double at, const QString& text) {
            painter.save();
            painter.setClipRect(canvas.rect(x(from), top, x(from + width), top + kRowBand));
            canvas.textAt(x(from), at, text);
            painter.restore();
        };
        canvas.setFont(kArial, 10);
        clipped(2.4, 50.8, top + 0.5, employee.name);
        canvas.textCentred(x(55.6), x(71.2), top + 0.5, QString::number(employee.registrationNumber));
        clipped(73.3, 42.1, top + 0.5, employee.jobTitle);
        canvas.textCentred(x(118.3), x(144.0), top + 0.5, employee.idCard);
        canvas.textCentred(x(145.8), x(152.4), top + 0.5, CategoryLetter(employee.category));
        clipped(152.7, 33.9, top + 0.5, employee.categoryText);
        canvas.setFont(kArial, 8);
        clipped(2.4, 70.0, top + 0.5 + kSecondLine, employee.address);
        clipped(73.3, 42.1, top + 0.5 + kSecondLine, employee.title);
        painter.setPen(kSilver);
        canvas.line(x(0), top + kRowBand, x(kWidth), top + kRowBand, 0.2);
        painter.setPen(Qt::black);
        top += kRowBand;
    }

    const double footer = kPageHeight - kMargin - kFooterBand;
    PaintPageFooter(canvas, x(0), x(190), footer + 6.6 - 3, page, pageCount(), m_data.printedAt, m_data.webAddress);
}

QString RosterPrintout::fileName() const
{
    return PrintoutFileName({QStringLiteral("Popis djelatnika"), m_data.day.toString(QStringLiteral("dd.MM.yyyy"))});
}
