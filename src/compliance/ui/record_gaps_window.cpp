#include "compliance/ui/record_gaps_window.h"

#include "session/session.h"

#include "attestation/attestation_batch_printout.h"
#include "attestation/attestation_periods.h"
#include "attestation/ui/attestation_window.h"
#include "common/time_text.h"
#include "compliance/ui/period_driver_bar.h"
#include "db/db_error.h"
#include "print/ui/print_preview.h"
#include "ui/button_bar.h"
#include "ui/list_read_notice.h"
#include "ui/look.h"
#include "ui/message_box.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {

constexpr int kClientWidth = 1000;
constexpr int kClientHeight = 600;
const QString kAllDrivers = QStringLiteral("Svi aktivni vozači");
constexpr std::array<int, 6> kGapWidths{170, 115, 115, 70, 250, 250};
constexpr std::array<int, 5> kConflictWidths{170, 290, 115, 115, 90};

QTableWidget* NewGrid(QWidget* parent, const char* name, const QStringList& titles)
{
    QTableWidget* grid = NewFoundList(parent, name, titles);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

void SetRow(QTableWidget* grid, int row, const QStringList& texts)
{
    for (int column = 0; column < texts.size(); ++column)
        grid->setItem(row, column, new QTableWidgetItem(texts[column]));
}

QString DateText(const QDate& date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

}  // namespace

RecordGapsWindow::RecordGapsWindow(Session& session, QWidget* owner)
    : ModelessWindow(QStringLiteral("PraznineEvidencije"), owner, session.settingsPath()), m_session(session)
{
    setWindowTitle(QStringLiteral("Praznine u evidenciji"));

    m_bar = new PeriodDriverBar("Trazi", QStringLiteral("Traži"), kAllDrivers, this);

    m_gaps = NewGrid(this, "Praznine",
                     {QStringLiteral("Vozač"), QStringLiteral("Od"), QStringLiteral("Do"), QStringLiteral("Trajanje"),
                      QStringLiteral("Zapis prije"), QStringLiteral("Zapis poslije")});
    for (int column = 0; column < static_cast<int>(kGapWidths.size()); ++column)
        m_gaps->setColumnWidth(column, kGapWidths[static_cast<size_t>(column)]);
    m_conflicts = NewGrid(this, "Sukobi",
                          {QStringLiteral("Vozač"), QStringLiteral("Sukob"), QStringLiteral("Od"), QStringLiteral("Do"),
                           QStringLiteral("Potvrda")});
    for (int column = 0; column < static_cast<int>(kConflictWidths.size()); ++column)
        m_conflicts->setColumnWidth(column, kConflictWidths[static_cast<size_t>(column)]);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("Sazetak"));

    auto* lower = new QWidget(this);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addWidget(new QLabel(QStringLiteral("Sukobi potvrda:"), lower));
    lowerLayout->addWidget(m_conflicts, 1);
    lowerLayout->addWidget(m_summary);
    auto* bar = new ButtonBar(this);
    QPushButton* attest = bar->addButton("IzradiPotvrdu", QStringLiteral("Izradi potvrdu"), ButtonBar::Side::Left);
    QPushButton* print = bar->addButton("IspisiPotvrde", QStringLiteral("Ispiši potvrde"), ButtonBar::Side::Left);
    QPushButton* pdf = bar->addButton("SpremiPDF", QStringLiteral("Spremi potvrde kao PDF"), ButtonBar::Side::Left);
    QPushButton* close = bar->addButton("Zatvori", QStringLiteral("Zatvori"), ButtonBar::Side::Right);
    m_notice = LayOutPeriodSearch(*this, m_bar, m_gaps, lower, 2, bar);

    connect(m_bar->runButton(), &QPushButton::clicked, this, &RecordGapsWindow::search);
    connect(attest, &QPushButton::clicked, this, [this] { attestGap(m_gaps->currentRow()); });
    connect(print, &QPushButton::clicked, this, &RecordGapsWindow::printAttestations);
    connect(pdf, &QPushButton::clicked, this, [this] { saveAttestationsPdf(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // Enter, and a double click.
    connect(m_gaps, &QTableWidget::cellActivated, this, [this](int row, int) { attestGap(row); });
    connect(m_conflicts, &QTableWidget::cellActivated, this, [this](int row, int) { openConflict(row); });
    connect(&m_session, &Session::attestationsChanged, this, &RecordGapsWindow::search);
    connect(&m_session, &Session::entriesChanged, this, &RecordGapsWindow::search);

    resize(kClientWidth, kClientHeight);
    restorePlacement();
    if (fillDrivers())
        search();
}

bool RecordGapsWindow::fillDrivers()
{
    const std::optional<QString> failure = m_bar->readDrivers(m_session, LoadActiveDrivers);
    if (failure)
        showNotRead(*failure);
    return !failure;
}

void RecordGapsWindow::showNotRead(const QString& reason)
{
    m_found.clear();
    showFound();
    m_summary->clear();
    m_notice->showNotRead(reason);
    ShowError(this, reason);
}

void RecordGapsWindow::search()
{
    if (!m_bar->periodValid())
        return;
    // Drivers that were not read are read first: the search is for the driver chosen among them.
    if (!m_bar->driversRead() && !fillDrivers())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        Transaction read = m_session.read();
        m_found = FindRecordGaps(read, m_bar->from(), m_bar->to(), m_bar->chosenDriver(), GapMinimumOf(m_session.values()),
                                 QDateTime::currentDateTime());
    } catch (const DbError& error) {
        QApplication::restoreOverrideCursor();
        showNotRead(error.text());
        return;
    }
    QApplication::restoreOverrideCursor();
    m_notice->showRead();
    showFound();
}

void RecordGapsWindow::showFound()
{
    m_gapLines.clear();
    m_conflictLines.clear();
    Minute gapMinutes = 0;
    for (const DriverGaps& driver : m_found) {
        for (const RecordGap& gap : driver.result.gaps) {
            m_gapLines.push_back(GapLine{driver.name, gap});
            gapMinutes += gap.span.length();
        }
        for (const RecordConflict& conflict : driver.result.conflicts)
            m_conflictLines.push_back(ConflictLine{driver.name, conflict});
    }
    const int gapRow = m_gaps->currentRow();
    m_gaps->setRowCount(static_cast<int>(m_gapLines.size()));
    for (int row = 0; row < m_gaps->rowCount(); ++row) {
        const GapLine& line = m_gapLines[static_cast<size_t>(row)];
        SetRow(m_gaps, row,
               {line.driverName, MinuteText(line.gap.span.start), MinuteText(line.gap.span.end),
                FormatMinutes(static_cast<int>(line.gap.span.length())), NeighbourText(line.gap.before, true),
                NeighbourText(line.gap.after, false)});
    }
    if (m_gaps->rowCount() > 0)
        m_gaps->setCurrentCell(std::clamp(gapRow, 0, m_gaps->rowCount() - 1), 0);
    m_conflicts->setRowCount(static_cast<int>(m_conflictLines.size()));
    for (int row = 0; row < m_conflicts->rowCount(); ++row) {
        const ConflictLine& line = m_conflictLines[static_cast<size_t>(row)];
        const RecordConflict& conflict = line.conflict;
        QString attestations = QStringLiteral("br. %1").arg(conflict.attestationId);
        if (conflict.otherAttestationId >= 0)
            attestations += QStringLiteral(" i %1").arg(conflict.otherAttestationId);
        SetRow(m_conflicts, row,
               {line.driverName, ConflictTitle(conflict.kind), MinuteText(conflict.span.start),
                MinuteText(conflict.span.end), attestations});
    }
    m_summary->setText(QStringLiteral("Praznina: %1, ukupno %2. Sukoba potvrda: %3. Vozača: %4.")
                           .arg(m_gapLines.size())
                           .arg(FormatMinutes(static_cast<int>(gapMinutes)))
                           .arg(m_conflictLines.size())
                           .arg(m_found.size()));
}

void RecordGapsWindow::attestGap(int row)
{
    if (row < 0 || row >= static_cast<int>(m_gapLines.size()))
        return;
    const RecordGap& gap = m_gapLines[static_cast<size_t>(row)].gap;
    const Span attested = gap.attested();
    const AttestationDraft draft{gap.driverId, MomentOfMinute(attested.start), MomentOfMinute(attested.end),
                                 gap.suggestedActivity};
    openedFromHere(OpenAttestationWindow(m_session, draft, parentWidget()));
}

void RecordGapsWindow::openConflict(int row)
{
    if (row < 0 || row >= static_cast<int>(m_conflictLines.size()))
        return;
    openedFromHere(OpenAttestationWindow(m_session, m_conflictLines[static_cast<size_t>(row)].conflict.attestationId,
                                 parentWidget()));
}

std::shared_ptr<AttestationBatchPrintout> RecordGapsWindow::attestationsPrintout()
{
    std::vector<Attestation> attestations;
    try {
        Transaction read = m_session.read();
        attestations = LoadAttestationsOfDays(read, m_bar->from(), m_bar->to(), m_bar->chosenDriver());
    } catch (const DbError& error) {
        ShowError(this, error.text());
        return nullptr;
    }
    if (attestations.empty()) {
        ShowMessage(this, QStringLiteral("Za razdoblje nema izrađenih potvrda."));
        return nullptr;
    }
    const QString name = (m_bar->chosenDriver() ? m_bar->chosenDriverText() : QStringLiteral("Svi vozači")) + QStringLiteral(" - ")
                       + DateText(m_bar->from()) + QLatin1Char('-') + DateText(m_bar->to());
    return std::make_shared<AttestationBatchPrintout>(std::move(attestations), name);
}

void RecordGapsWindow::printAttestations()
{
    std::shared_ptr<AttestationBatchPrintout> printout = attestationsPrintout();
    if (!printout)
        return;
    const SettingsValues& settings = m_session.values();
    // Opened from the register, which is modal, a preview beside this window would be blocked
    // by the register: it is shown modally then.
    if (settings.attestationPreview && QApplication::activeModalWidget())
        PresentPrintoutModally(m_session.printing(), std::move(printout), PrinterRole::Attestation, this);
    else
        PresentPrintout(m_session.printing(), std::move(printout), PrinterRole::Attestation, settings.attestationPreview, this);
}

bool RecordGapsWindow::saveAttestationsPdf(const QString& path)
{
    const std::shared_ptr<AttestationBatchPrintout> printout = attestationsPrintout();
    return printout && SavePrintoutAsPdf(*printout, this, path);
}

RecordGapsWindow* OpenRecordGapsWindow(Session& session, QWidget* owner)
{
    auto* window = new RecordGapsWindow(session, owner);
    window->show();
    return window;
}
