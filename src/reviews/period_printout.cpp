#include "reviews/period_printout.h"

#include "reviews/day_chart.h"

#include <QStringList>

namespace {

constexpr double kPageHeight = 297;
constexpr double kWorkLeft = 10;
constexpr double kWorkRight = 200;
constexpr double kTitleTop = 11;
constexpr double kHeaderLeft = 40;
constexpr double kPeriodTop = 19;
constexpr double kDriverTop = 24;
constexpr double kFirstRowTop = 32;
constexpr double kNextPageRowTop = 18;
constexpr double kRowHeight = 25;
constexpr double kRowGap = 8;
constexpr double kRowLeft = 25;
constexpr double kRowRight = 205;
constexpr double kBottomReserve = 16;
constexpr double kLegendInset = 50;
constexpr double kLegendTop = 9;
constexpr double kLegendBottom = 25;
constexpr double kBox = 5;
constexpr double kLineWidth = 0.3;
constexpr double kChartMargin = 3;
constexpr double kDateLeft = 10;
constexpr double kDateTop = 1;
constexpr double kWeekdayTop = 4;
const QString kFont = QStringLiteral("Tahoma");
const QColor kSilver(192, 192, 192);

}  // namespace

PeriodPrintout::PeriodPrintout(PeriodPrintoutData data) : m_data(std::move(data))
{
    m_pages.emplace_back();
    double top = kFirstRowTop;
    for (int day = 0; day < static_cast<int>(m_data.days.size()); ++day) {
        if (!m_pages.back().empty() && top + kRowHeight > kPageHeight - kBottomReserve) {
            m_pages.emplace_back();
            top = kNextPageRowTop;
        }
        m_pages.back().push_back(Row{day, top});
        top += kRowHeight + kRowGap;
    }
}

void PeriodPrintout::paintPage(PageCanvas& canvas, int page) const
{
    QPainter& painter = canvas.painter();
    if (page == 0) {
        canvas.setFont(kFont, 12);
        canvas.textCentred(kWorkLeft, kWorkRight, kTitleTop, QStringLiteral("Grafički pregled aktivnosti vozača"));
        canvas.setFont(kFont, 11);
        canvas.textAt(kHeaderLeft, kPeriodTop,
                      QStringLiteral("Razdoblje: ") + m_data.from.toString(QStringLiteral("dd.MM.yyyy")) + QStringLiteral(" - ")
                          + m_data.to.toString(QStringLiteral("dd.MM.yyyy")));
        canvas.textAt(kHeaderLeft, kDriverTop, QStringLiteral("Vozač: ") + m_data.driverName);
    }
    DayChartStyle style;
    style.levelLineWidth = std::max(1, canvas.px(kLineWidth));
    style.frameWidth = style.levelLineWidth;
    style.boxWidth = canvas.px(kBox);
    style.boxHeight = canvas.px(kBox);
    style.summary = true;
    style.summary2x2 = m_data.summary2x2;
    style.colours = m_data.colours;
    style.verticalMargin = canvas.px(kChartMargin);
    style.horizontalMargin = canvas.px(kChartMargin);
    const std::vector<Row>& rows = m_pages[static_cast<size_t>(page)];
    for (const Row& row : rows) {
        const PeriodDay& day = m_data.days[static_cast<size_t>(row.day)];
        // The chart writes its hour numbers and totals in the painter's typeface.
        canvas.setFont(kFont, 8);
        DrawDayChart(painter, canvas.rect(kRowLeft, row.top, kRowRight, row.top + kRowHeight), std::nullopt, style,
                     day.intervals);
        canvas.textAt(kDateLeft, row.top + kDateTop, day.date.toString(QStringLiteral("dd.MM.yyyy.")));
        canvas.textAt(kDateLeft, row.top + kWeekdayTop, ShortWeekdayName(day.date));
    }
    if (rows.empty())
        return;
    const double lastBottom = rows.back().top + kRowHeight;
    canvas.setFont(kFont, 8);
    DrawActivityLegend(painter,
                       canvas.rect(kWorkLeft + kLegendInset, lastBottom + kLegendTop, kWorkRight - kLegendInset,
                                   lastBottom + kLegendBottom),
                       std::max(1, canvas.px(kLineWidth)), canvas.px(kBox), canvas.px(kBox), kSilver, m_data.colours,
                       ActivityLegendLabels());
}

QString PeriodPrintout::fileName() const
{
    return PrintoutFileName({QStringLiteral("Grafički pregled aktivnosti"), m_data.driverName,
                             m_data.from.toString(QStringLiteral("dd.MM.yyyy")) + QLatin1Char('-')
                                 + m_data.to.toString(QStringLiteral("dd.MM.yyyy"))});
}
