#include "compliance/ui/compliance_window.h"

#include "session/session.h"

#include "common/time_text.h"
#include "compliance/compliance_report.h"
#include "compliance/ui/period_driver_bar.h"
#include "db/db_error.h"
#include "print/ui/print_preview.h"
#include "reviews/ui/day_graph_window.h"
#include "ui/button_bar.h"
#include "ui/list_read_notice.h"
#include "ui/look.h"
#include "ui/message_box.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QHBoxLayout>

namespace {

constexpr int kClientWidth = 980;
constexpr int kClientHeight = 600;
const QString kAllDrivers = QStringLiteral("Svi vozači");
// The list's columns: those of InfringementColumnTitles.
constexpr std::array<int, 8> kWidths{170, 80, 115, 115, 75, 65, 55, 420};
constexpr int kSentenceColumn = 7;

}  // namespace

ComplianceWindow::ComplianceWindow(Session& session, QWidget* owner)
    : ModelessWindow(QStringLiteral("KontrolaPropisa"), owner, session.settingsPath()), m_session(session)
{
    setWindowTitle(QStringLiteral("Kontrola propisa"));

    m_bar = new PeriodDriverBar("Provjeri", QStringLiteral("Provjeri"), kAllDrivers, this);

    m_list = NewFoundList(this, "Prekrsaji", InfringementColumnTitles());
    for (int column = 0; column < static_cast<int>(kWidths.size()); ++column)
        m_list->setColumnWidth(column, kWidths[static_cast<size_t>(column)]);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_totals = NewFoundList(this, "PoPropisu", {QStringLiteral("Propis"), QStringLiteral("Pravilo"), QStringLiteral("Prekršaja")});
    m_totals->setColumnWidth(1, 230);
    m_totals->setRowCount(kRuleCount);
    for (int rule = 0; rule < kRuleCount; ++rule) {
        m_totals->setItem(rule, 0, new QTableWidgetItem(RuleCode(kRules[static_cast<size_t>(rule)])));
        m_totals->setItem(rule, 1, new QTableWidgetItem(RuleTitle(kRules[static_cast<size_t>(rule)])));
        m_totals->setItem(rule, 2, new QTableWidgetItem(QStringLiteral("0")));
    }
    m_gaps = new QLabel(this);
    m_gaps->setObjectName(QStringLiteral("Praznine"));
    m_gaps->setWordWrap(true);

    auto* lower = new QWidget(this);
    auto* lowerLayout = new QHBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addWidget(m_totals, 1);
    lowerLayout->addWidget(m_gaps, 1);
    auto* bar = new ButtonBar(this);
    QPushButton* print = bar->addButton("Ispisi", QStringLiteral("Ispiši"), ButtonBar::Side::Left);
    QPushButton* copy = bar->addButton("Kopiraj", QStringLiteral("Kopiraj"), ButtonBar::Side::Left);
    QPushButton* save = bar->addButton("SpremiCSV", QStringLiteral("Spremi CSV"), ButtonBar::Side::Left);
    QPushButton* close = bar->addButton("Zatvori", QStringLiteral("Zatvori"), ButtonBar::Side::Right);
    m_notice = LayOutPeriodSearch(*this, m_bar, m_list, lower, 1, bar);

    connect(m_bar->runButton(), &QPushButton::clicked, this, &ComplianceWindow::check);
    connect(print, &QPushButton::clicked, this, &ComplianceWindow::print);
    connect(copy, &QPushButton::clicked, this, &ComplianceWindow::copyList);
    connect(save, &QPushButton::clicked, this, [this] { saveCsv(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_list, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { openDay(row); });
    connect(m_list, &QTableWidget::cellActivated, this, [this](int row, int) { openDay(row); });

    resize(kClientWidth, kClientHeight);
    restorePlacement();
    fillDrivers();
    showChecks();
}

bool ComplianceWindow::fillDrivers()
{
    const std::optional<QString> failure = m_bar->readDrivers(m_session, LoadCheckedDrivers);
    if (failure)
        showNotRead(*failure);
    return !failure;
}

void ComplianceWindow::showNotRead(const QString& reason)
{
    m_checks.clear();
    showChecks();
    for (int rule = 0; rule < kRuleCount; ++rule)
        m_totals->item(rule, 2)->setText(QString());
    m_gaps->clear();
    m_notice->showNotRead(reason);
    ShowError(this, reason);
}

void ComplianceWindow::check()
{
    if (!m_bar->periodValid())
        return;
    // Drivers that were not read are read first: the check is for the driver chosen among them.
    if (!m_bar->driversRead() && !fillDrivers())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        Transaction read = m_session.read();
        m_checks = CheckDrivers(read, m_bar->from(), m_bar->to(), m_bar->chosenDriver(),
                                CheckSettingsOf(m_session.values()));
        m_checkedFrom = m_bar->from();
        m_checkedTo = m_bar->to();
    } catch (const DbError& error) {
        QApplication::restoreOverrideCursor();
        showNotRead(error.text());
        return;
    }
    QApplication::restoreOverrideCursor();
    m_notice->showRead();
    showChecks();
}

void ComplianceWindow::showChecks()
{
    m_list->setRowCount(0);
    int row = 0;
    qint64 gapMinutes = 0;
    int gapCount = 0;
    int summaryDays = 0;
    for (const DriverCheck& check : m_checks) {
        for (const Infringement& infringement : check.result.infringements) {
            m_list->insertRow(row);
            const QStringList texts = InfringementTexts(check.name, infringement);
            for (int column = 0; column < texts.size(); ++column) {
                auto* item = new QTableWidgetItem(texts[column]);
                if (column == 0)
                    item->setData(Qt::UserRole, check.driverId);
                if (column == 2)
                    item->setData(Qt::UserRole, DateOfMinute(infringement.span.start));
                if (column == kSentenceColumn)
                    item->setToolTip(texts[column]);
                m_list->setItem(row, column, item);
            }
            ++row;
        }
        for (const Span& gap : check.result.gaps) {
            gapMinutes += gap.length();
            ++gapCount;
        }
        summaryDays += static_cast<int>(check.result.notCheckable.size());
    }
    const std::array<int, kRuleCount> counts = CountByRule(AllInfringements(m_checks));
    for (int rule = 0; rule < kRuleCount; ++rule)
        m_totals->item(rule, 2)->setText(QString::number(counts[static_cast<size_t>(rule)]));
    const bool asRest = m_session.values().timeWithoutRecordsIsRest;
    m_gaps->setText(QStringLiteral("Prekršaja: %1\nVrijeme bez ikakvog zapisa: %2 razdoblja, ukupno %3 (%4).\n"
                                   "Zbirni unosi (samo dnevni zbrojevi, bez provjere stanki i odmora): %5.")
                        .arg(row)
                        .arg(gapCount)
                        .arg(FormatMinutes(static_cast<int>(gapMinutes)))
                        .arg(asRest ? QStringLiteral("računa se kao odmor") : QStringLiteral("ne računa se kao odmor"))
                        .arg(summaryDays));
}

void ComplianceWindow::openDay(int row)
{
    const QTableWidgetItem* driver = m_list->item(row, 0);
    const QTableWidgetItem* start = m_list->item(row, 2);
    if (!driver || !start)
        return;
    openedFromHere(OpenDayWindow(m_session, driver->data(Qt::UserRole).toInt(), start->data(Qt::UserRole).toDate(),
                                 parentWidget()));
}

void ComplianceWindow::print()
{
    const SettingsValues& settings = m_session.values();
    ComplianceReportData data{settings.companyName,
                              m_bar->chosenDriverText(),
                              m_checkedFrom.isValid() ? m_checkedFrom : m_bar->from(),
                              m_checkedTo.isValid() ? m_checkedTo : m_bar->to(),
                              m_checks,
                              QDateTime::currentDateTime(),
                              QString()};
    PresentPrintout(m_session.printing(), std::make_shared<ComplianceReport>(std::move(data)), PrinterRole::Report,
                    settings.reportPreview, this);
}

void ComplianceWindow::copyList()
{
    const QByteArray csv = InfringementsCsv(m_checks);
    auto* mime = new QMimeData;
    mime->setText(QString::fromUtf8(csv.mid(3)));
    mime->setData(QStringLiteral("text/csv"), csv);
    QApplication::clipboard()->setMimeData(mime);
}

bool ComplianceWindow::saveCsv(const QString& path)
{
    QString target = path;
    if (target.isEmpty()) {
        target = QFileDialog::getSaveFileName(this, QStringLiteral("Spremi CSV"),
                                              QStringLiteral("Kontrola propisa.csv"), QStringLiteral("CSV (*.csv)"));
        if (target.isEmpty())
            return false;
    }
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(InfringementsCsv(m_checks)) < 0) {
        ShowMessage(this, QStringLiteral("Datoteka %1 ne može se spremiti: %2").arg(target, file.errorString()));
        return false;
    }
    return true;
}

ComplianceWindow* OpenComplianceWindow(Session& session, QWidget* owner)
{
    auto* window = new ComplianceWindow(session, owner);
    window->show();
    return window;
}
