#include "compliance/ui/period_driver_bar.h"

#include "ui/date_field.h"
#include "ui/list_read_notice.h"
#include "ui/look.h"
#include "ui/message_box.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kDefaultDays = 28;
constexpr int kAllDriversId = -1;
const QColor kBarColour(241, 239, 226);

} // namespace

PeriodDriverBar::PeriodDriverBar(const char* runName, const QString& runCaption, const QString& allDriversCaption,
                                 QWidget* parent)
    : QWidget(parent), m_allDrivers(allDriversCaption)
{
    Look::Paint(this, QPalette::Window, kBarColour);
    m_from = new DateField(this);
    m_from->setObjectName(QStringLiteral("OdDatum"));
    m_from->setDate(QDate::currentDate().addDays(-kDefaultDays));
    m_to = new DateField(this);
    m_to->setObjectName(QStringLiteral("DoDatum"));
    m_to->setDate(QDate::currentDate());
    m_drivers = new QComboBox(this);
    m_drivers->setObjectName(QStringLiteral("Vozac"));
    m_drivers->setMinimumWidth(220);
    m_run = new QPushButton(runCaption, this);
    m_run->setObjectName(QLatin1String(runName));
    m_run->setAutoDefault(false);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Razdoblje od"), this));
    layout->addWidget(m_from);
    layout->addWidget(new QLabel(QStringLiteral("do"), this));
    layout->addWidget(m_to);
    layout->addSpacing(12);
    layout->addWidget(new QLabel(QStringLiteral("Vozač:"), this));
    layout->addWidget(m_drivers, 1);
    layout->addWidget(m_run);
}

void PeriodDriverBar::startDrivers()
{
    m_drivers->clear();
    ShowComboRead(m_drivers);
    m_drivers->addItem(m_allDrivers, kAllDriversId);
}

void PeriodDriverBar::addDriver(int id, const QString& name)
{
    m_drivers->addItem(name, id);
}

void PeriodDriverBar::showDriversNotRead(const QString& reason)
{
    ShowComboNotRead(m_drivers, reason);
}

bool PeriodDriverBar::driversRead() const
{
    return m_drivers->isEnabled();
}

QDate PeriodDriverBar::from() const
{
    return m_from->date();
}

QDate PeriodDriverBar::to() const
{
    return m_to->date();
}

std::optional<int> PeriodDriverBar::chosenDriver() const
{
    const int driver = m_drivers->currentData().toInt();
    return driver > 0 ? std::optional<int>(driver) : std::nullopt;
}

QString PeriodDriverBar::chosenDriverText() const
{
    return chosenDriver() ? m_drivers->currentText() : m_allDrivers;
}

bool PeriodDriverBar::periodValid()
{
    if (m_to->date() >= m_from->date())
        return true;
    ShowMessage(window(), QStringLiteral("Razdoblje završava prije nego što počinje."));
    return false;
}

QTableWidget* NewFoundList(QWidget* parent, const char* objectName, const QStringList& titles)
{
    auto* grid = new QTableWidget(0, static_cast<int>(titles.size()), parent);
    grid->setObjectName(QLatin1String(objectName));
    grid->setHorizontalHeaderLabels(titles);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setFont(Look::Bold(grid->horizontalHeader()->font()));
    return grid;
}

ListReadNotice* LayOutPeriodSearch(QWidget& window, PeriodDriverBar* bar, QWidget* upper, QWidget* lower,
                                   int lowerShare, QWidget* buttons)
{
    auto* split = new QSplitter(Qt::Vertical, &window);
    split->addWidget(upper);
    split->addWidget(lower);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, lowerShare);
    auto* notice = new ListReadNotice(split, &window);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addWidget(notice);
    layout->addWidget(split, 1);
    layout->addWidget(buttons);
    return notice;
}
