#include "worktime/worktime_printout.h"

#include "worktime/worktime_record.h"

#include <QImage>
#include <QTextOption>

#include <cmath>

namespace {

constexpr double kMargin = 10;
constexpr double kPageHeight = 297;
constexpr double kPageWidth = 210;
constexpr double kTitleBlock = 25.9;
constexpr double kColumnHeader = 9.0;
constexpr double kDayLine = 5.3;
constexpr double kWeekLine = 9.3;
constexpr double kFooter = 7.1;
constexpr double kNotesLeft = 118.3;
constexpr double kNotesWidth = 69.6;
constexpr double kNotesPoints = 8;
constexpr int kMeasureDpi = 600;
const QString kArial = QStringLiteral("Arial");
const QColor kSilver(192, 192, 192);

bool IsWeekLine(const QString& line)
{
    return line.startsWith(kWeekPrintLabel + QStringLiteral("||"));
}

// The height wrapped notes need, in millimetres, measured at a printer's resolution.
double WrappedNotesHeight(const QString& notes)
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(static_cast<int>(std::lround(kMeasureDpi / 0.0254)));
        image.setDotsPerMeterY(static_cast<int>(std::lround(kMeasureDpi / 0.0254)));
        return image;
    }();
    QFont font(kArial);
    font.setPointSizeF(kNotesPoints);
    const QFontMetricsF metrics(font, &device);
    const double width = kNotesWidth / 25.4 * kMeasureDpi;
    const QRectF bounds = metrics.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, notes);
    return bounds.height() / kMeasureDpi * 25.4 + 1.0;
}

}  // namespace

QString PrintLineField(const QString& line, int field)
{
    const QStringList fields = line.split(QStringLiteral("||"));
    return fields.value(std::min(field, static_cast<int>(fields.size())) - 1);
}

WorkTimePrintout::WorkTimePrintout(WorkTimePrintData data) : m_data(std::move(data))
{
    const double bottom = kPageHeight - kMargin - kFooter;
    double top = kMargin + kTitleBlock + kColumnHeader;
    m_pages.emplace_back();
    for (int index = 0; index < m_data.lines.size(); ++index) {
        double height = IsWeekLine(m_data.lines[index]) ? kWeekLine : kDayLine;
        if (m_data.wrapNotes)
            height = std::max(height, WrappedNotesHeight(PrintLineField(m_data.lines[index], 6)));
        if (!m_pages.back().empty() && top + height > bottom) {
            m_pages.emplace_back();
            top = kMargin + kColumnHeader;
        }
        m_pages.back().push_back(Line{index, height});
        top += height;
    }
}

void WorkTimePrintout::paintPage(PageCanvas& canvas, int page) const
{
    QPainter& painter = canvas.painter();
    const auto x = [](double fromMargin) { return kMargin + fromMargin; };
    const double right = kPageWidth - kMargin;
    double top = kMargin;
    painter.setPen(Qt::black);
    if (page == 0) {
        canvas.setFont(kArial, 11, true);
        canvas.textCentred(0, kPageWidth, top + 0.8, QStringLiteral("VELTRA - evidencija radnih sati"));
        painter.save();
        QPen dotted(Qt::gray);
        dotted.setStyle(Qt::DotLine);
        painter.setPen(dotted);
        canvas.line(x(0), top + 5.6, right, top + 5.6, 0.2);
        painter.restore();
        canvas.setFont(kArial + QStringLiteral(" Black"), 12, true);
        canvas.textCentred(0, kPageWidth, top + 6.3, QStringLiteral("Evidencija radnog vremena osobe koja obavlja mobilnu djelatnost"));
        canvas.setFont(kArial, 11, true);
        canvas.textCentred(0, kPageWidth, top + 12.2,
                           QStringLiteral("Razdoblje: ") + m_data.from.toString(QStringLiteral("dd.MM.yyyy")) + QStringLiteral(" - ")
                               + m_data.to.toString(QStringLiteral("dd.MM.yyyy")));
        canvas.setFont(kArial, 10, true);
        painter.setPen(Qt::gray);
        canvas.textAt(x(6.9), top + 19.8, QStringLiteral("Ime i prezime:"));
        canvas.textAt(x(116.2), top + 19.8, QStringLiteral("OIB djelatnika:"));
        painter.setPen(Qt::black);
        canvas.textAt(x(32.8), top + 19.8, m_data.driverName);
        canvas.textAt(x(143.4), top + 19.8, m_data.oib);
        top += kTitleBlock;
    }

    PaintHeaderBand(canvas, x(0), top, right, kColumnHeader);
    painter.setPen(Qt::black);
    canvas.setFont(kArial, 9, true);
    canvas.textAt(x(9.0), top + 2.5, QStringLiteral("Nadnevak"));
    canvas.textAt(x(37.8), top + 2.5, QStringLiteral("Radno vrijeme"));
    canvas.textCentred(x(63.0), x(63.0 + 24.9), top + 0.8, QStringLiteral("Noćni rad"));
    const QStringList night = NightWindowText(m_data.nightFrom, m_data.nightTo).split(QLatin1Char('-'));
    canvas.textCentred(x(63.0), x(63.0 + 24.9), top + 4.5, QStringLiteral("(između %1 i %2)").arg(night.value(0), night.value(1)));
    canvas.textCentred(x(91.3), x(91.3 + 24.9), top + 0.8, QStringLiteral("Ukupno radno"));
    canvas.textCentred(x(91.3), x(91.3 + 24.9), top + 4.5, QStringLiteral("vrijeme"));
    canvas.textCentred(x(118.3), x(118.3 + 24.9), top + 2.5, QStringLiteral("Bilješke"));
    top += kColumnHeader;

    for (const Line& line : m_pages[static_cast<size_t>(page)]) {
        const QString& text = m_data.lines[line.index];
        const bool week = IsWeekLine(text);
        const double textTop = top + 1.0;
        canvas.setFont(kArial, 9, true);
        canvas.textAt(x(2.4), textTop, PrintLineField(text, 1));
        canvas.setFont(kArial, 8);
        painter.setPen(Qt::blue);
        canvas.textRightAligned(x(20.6 + 9.3), textTop + 0.3, PrintLineField(text, 2));
        painter.setPen(Qt::black);
        canvas.setFont(kArial, 9);
        canvas.textCentred(x(36.2), x(36.2 + 24.9), textTop, PrintLineField(text, 3));
        canvas.textCentred(x(63.2), x(63.2 + 24.9), textTop, PrintLineField(text, 4));
        canvas.setFont(kArial, 9, week);
        canvas.textCentred(x(91.5), x(91.5 + 24.9), textTop, PrintLineField(text, 5));
        canvas.setFont(kArial, kNotesPoints);
        const QRect notes = canvas.rect(x(kNotesLeft), textTop, x(kNotesLeft + kNotesWidth), top + line.height);
        painter.save();
        painter.setClipRect(notes);
        painter.drawText(notes, (m_data.wrapNotes ? Qt::TextWordWrap : 0) | Qt::AlignLeft | Qt::AlignTop,
                         PrintLineField(text, 6));
        painter.restore();
        PaintDottedRule(canvas, x(0), right, top + line.height, kSilver);
        top += line.height;
    }

    const double footer = kPageHeight - kMargin - kFooter;
    PaintPageFooter(canvas, x(0), right, footer + 2.5, page, pageCount(), m_data.printedAt, m_data.webAddress);
}

QString WorkTimePrintout::fileName() const
{
    return PrintoutFileName({QStringLiteral("Evidencija radnog vremena"), m_data.driverName,
                             m_data.from.toString(QStringLiteral("dd.MM.yyyy")) + QLatin1Char('-')
                                 + m_data.to.toString(QStringLiteral("dd.MM.yyyy"))});
}
