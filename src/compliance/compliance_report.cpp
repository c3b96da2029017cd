#include "compliance/compliance_report.h"

#include "common/time_text.h"

namespace {

constexpr double kMargin = 10;
constexpr double kPageHeight = 297;
constexpr double kWidth = 190;
constexpr double kTitle = 24.3;
constexpr double kHeader = 5.8;
constexpr double kLine = 8.6;
constexpr double kTotalLine = 4.6;
constexpr double kFooter = 7.9;
const QString kArial = QStringLiteral("Arial");
const QString kDate = QStringLiteral("dd.MM.yyyy");

double TotalsHeight()
{
    return 2 + kTotalLine * (kRuleCount + 1);
}

QString CsvField(const QString& text)
{
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

}  // namespace

QStringList InfringementColumnTitles()
{
    return {QStringLiteral("Vozač"),      QStringLiteral("Propis"),  QStringLiteral("Od"),     QStringLiteral("Do"),
            QStringLiteral("Vrijednost"), QStringLiteral("Granica"), QStringLiteral("Težina"), QStringLiteral("Opis")};
}

QStringList InfringementTexts(const QString& driverName, const Infringement& infringement)
{
    return {driverName,
            RuleCode(infringement.rule),
            MinuteText(infringement.span.start),
            MinuteText(infringement.span.end),
            FormatMinutes(static_cast<int>(infringement.value)),
            FormatMinutes(static_cast<int>(infringement.limit)),
            infringement.severity ? SeverityCode(*infringement.severity) : QString(),
            InfringementSentence(infringement)};
}

QByteArray InfringementsCsv(const std::vector<DriverCheck>& checks)
{
    const auto line = [](const QStringList& fields) {
        QStringList quoted;
        for (const QString& field : fields)
            quoted << CsvField(field);
        return quoted.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    };
    QString text = line(InfringementColumnTitles());
    for (const DriverCheck& check : checks) {
        for (const Infringement& infringement : check.result.infringements)
            text += line(InfringementTexts(check.name, infringement));
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

ComplianceReport::ComplianceReport(ComplianceReportData data) : m_data(std::move(data))
{
    for (const DriverCheck& check : m_data.checks) {
        for (const Infringement& infringement : check.result.infringements)
            m_lines.push_back(Line{check.name, infringement});
    }
    const double bottom = kPageHeight - kMargin - kFooter;
    double top = kMargin + kTitle + kHeader;
    m_pages.emplace_back();
    for (int index = 0; index < static_cast<int>(m_lines.size()); ++index) {
        if (!m_pages.back().empty() && top + kLine > bottom) {
            m_pages.emplace_back();
            top = kMargin + kHeader;
        }
        m_pages.back().push_back(index);
        top += kLine;
    }
    if (top + TotalsHeight() > bottom)
        m_pages.emplace_back();
}

void ComplianceReport::paintPage(PageCanvas& canvas, int page) const
{
    QPainter& painter = canvas.painter();
    const auto x = [](double value) { return kMargin + value; };
    double top = kMargin;
    painter.setPen(Qt::black);
    if (page == 0) {
        canvas.setFont(kArial, 11, true);
        canvas.textCentred(x(0), x(kWidth), top, m_data.header);
        canvas.setFont(kArial + QStringLiteral(" Black"), 12, true);
        canvas.textCentred(x(0), x(kWidth), top + 6.9, QStringLiteral("Kontrola propisa: vrijeme vožnje, odmori i radno vrijeme"));
        canvas.setFont(kArial, 11, true);
        canvas.textCentred(x(0), x(kWidth), top + 13.0, m_data.driverLine);
        canvas.textCentred(x(0), x(kWidth), top + 17.7,
                           QStringLiteral("Razdoblje: %1 - %2").arg(m_data.from.toString(kDate), m_data.to.toString(kDate)));
        top += kTitle;
    }
    PaintHeaderBand(canvas, x(0), top, x(kWidth), kHeader);
    painter.setPen(Qt::black);
    canvas.setFont(kArial, 9, true);
    const QStringList titles = InfringementColumnTitles();
    const std::array<double, 6> columns{1, 44, 62, 98, 134, 172};
    canvas.textAt(x(columns[0]), top + 1, titles[0]);
    canvas.textAt(x(columns[1]), top + 1, titles[1]);
    canvas.textAt(x(columns[2]), top + 1, titles[2] + QStringLiteral(" - ") + titles[3]);
    canvas.textAt(x(columns[4]), top + 1, titles[4] + QStringLiteral(" / ") + titles[5]);
    canvas.textAt(x(columns[5]), top + 1, titles[6]);
    top += kHeader;

    for (int index : m_pages[static_cast<size_t>(page)]) {
        const QStringList texts = InfringementTexts(m_lines[static_cast<size_t>(index)].driverName,
                                                    m_lines[static_cast<size_t>(index)].infringement);
        canvas.setFont(kArial, 8, true);
        canvas.textAt(x(columns[0]), top + 0.8, painter.fontMetrics().elidedText(texts[0], Qt::ElideRight, canvas.px(42)));
        canvas.textAt(x(columns[1]), top + 0.8, texts[1]);
        canvas.setFont(kArial, 8);
        canvas.textAt(x(columns[2]), top + 0.8, texts[2] + QStringLiteral(" - ") + texts[3]);
        canvas.textAt(x(columns[4]), top + 0.8, texts[4] + QStringLiteral(" / ") + texts[5]);
        canvas.textAt(x(columns[5]), top + 0.8, texts[6]);
        canvas.setFont(kArial, 7);
        canvas.textAt(x(columns[1]), top + 4.4, texts[7]);
        PaintDottedRule(canvas, x(0), x(kWidth), top + kLine, QColor(192, 192, 192));
        top += kLine;
    }
    if (page + 1 == pageCount()) {
        painter.setPen(Qt::blue);
        canvas.line(x(0), top + 1, x(kWidth), top + 1, 0.3);
        painter.setPen(Qt::black);
        top += 2;
        const std::array<int, kRuleCount> counts = CountByRule(AllInfringements(m_data.checks));
        canvas.setFont(kArial, 9, true);
        canvas.textAt(x(1), top, QStringLiteral("Prekršaja po propisu:"));
        canvas.textAt(x(120), top, QString::number(m_lines.size()));
        canvas.setFont(kArial, 8);
        for (size_t rule = 0; rule < kRules.size(); ++rule) {
            top += kTotalLine;
            canvas.textAt(x(1), top, RuleCode(kRules[rule]) + QStringLiteral("  ") + RuleTitle(kRules[rule]));
            canvas.textAt(x(120), top, QString::number(counts[rule]));
        }
    }
    const double footer = kPageHeight - kMargin - kFooter;
    PaintPageFooter(canvas, x(0), x(kWidth), footer + 2.5, page, pageCount(), m_data.printedAt, m_data.webAddress);
}

QString ComplianceReport::fileName() const
{
    return PrintoutFileName({QStringLiteral("Kontrola propisa"), m_data.driverLine,
                             m_data.from.toString(kDate) + QLatin1Char('-') + m_data.to.toString(kDate)});
}
