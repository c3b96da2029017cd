#include "entries/ui/day_activities_panel.h"

#include "common/decimal_text.h"
#include "entries/totals_texts.h"
#include "entries/ui/activity_grid_view.h"
#include "entries/ui/activity_rows_model.h"
#include "entries/ui/day_totals_grid.h"
#include "entries/ui/entry_widgets.h"
#include "ui/field_makers.h"
#include "ui/look.h"
#include "ui/message_box.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

DayActivitiesPanel::DayActivitiesPanel(const SettingsValues& settings, const DayActivitiesNames& names,
                                       const QString& sumsCaption, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* activities = new QGroupBox(QStringLiteral("Aktivnosti vozača: "), this);
    activities->setToolTip(QStringLiteral("Ubrzani unos tipkama V,B,N,M"));
    m_activitiesLayout = new QVBoxLayout(activities);
    m_rows = new ActivityRowsModel(settings, this);
    m_grid = new ActivityGridView(m_rows, activities);
    m_grid->setObjectName(names.grid);
    QLabel* note = NewLabel(QStringLiteral("CTRL+DEL za brisanje retka, (CTRL +) V,B,N,M - vožnja, odmor..."), activities);
    note->setStyleSheet(QStringLiteral("QLabel { color: grey; }"));
    note->setToolTip(QStringLiteral("Ubrzani unos tipkama V,B,N,M\n"
                                    " - bez CTRL dodaje novi redak tog tipa,\n"
                                    " - sa CTRL mijenja aktivnost aktualnog retka!"));
    m_activitiesLayout->addWidget(m_grid);
    m_activitiesLayout->addWidget(note);
    layout->addWidget(activities, 1);

    auto* sums = new QGroupBox(sumsCaption, this);
    auto* sumsLayout = new QHBoxLayout(sums);
    auto* values = new QGridLayout;
    m_total = NewValue(sums, nullptr);
    m_total->setObjectName(names.total);
    m_total->setStyleSheet(QStringLiteral("QLabel { color: %1; font-weight: bold; }").arg(Look::kTeal.name()));
    m_marker = NewOverOneDayMarker(sums, nullptr);
    m_marker->setObjectName(names.marker);
    m_kilometres = NewValue(sums, nullptr);
    m_kilometres->setObjectName(names.kilometres);
    m_litres = NewValue(sums, nullptr);
    m_litres->setObjectName(names.litres);
    m_speed = NewValue(sums, nullptr);
    m_speed->setObjectName(names.speed);
    values->addWidget(NewLabel(QStringLiteral("Ukupno:"), sums), 0, 0);
    values->addWidget(m_total, 0, 1);
    values->addWidget(m_marker, 0, 2);
    values->addWidget(NewLabel(QStringLiteral("Kilometara:"), sums), 1, 0);
    values->addWidget(m_kilometres, 1, 1, 1, 2);
    values->addWidget(NewLabel(QStringLiteral("Litara:"), sums), 2, 0);
    values->addWidget(m_litres, 2, 1, 1, 2);
    values->addWidget(NewLabel(QStringLiteral("Prosjek:"), sums), 3, 0);
    values->addWidget(m_speed, 3, 1, 1, 2);
    values->setRowStretch(4, 1);
    sumsLayout->addLayout(values);

    m_totalsGrid = NewDayTotalsGrid(sums, kDayTotalsLineNames);
    m_totalsGrid->setObjectName(names.totalsGrid);
    sumsLayout->addWidget(m_totalsGrid, 1);
    layout->addWidget(sums);

    const auto recount = [this] { showTotals(); };
    connect(m_rows, &QAbstractItemModel::dataChanged, this, recount);
    connect(m_rows, &QAbstractItemModel::rowsInserted, this, recount);
    connect(m_rows, &QAbstractItemModel::rowsRemoved, this, recount);
    connect(m_rows, &QAbstractItemModel::modelReset, this, recount);
    // The message waits until the edit that was refused is over; a window closed by what ended
    // it ("Otkaži") is gone with what was typed, and shows none.
    connect(m_rows, &ActivityRowsModel::inputRefused, this, [this] { m_refusalToShow = true; });
    connect(m_rows, &ActivityRowsModel::inputRefused, this,
            [this](const QString& message) {
                if (window()->isVisible())
                    ShowError(window(), message);
                m_refusalToShow = false;
            },
            Qt::QueuedConnection);
}

void DayActivitiesPanel::addBelowGrid(QWidget* widget)
{
    m_activitiesLayout->insertWidget(1, widget);
}

void DayActivitiesPanel::setNight(NightWindow night)
{
    m_night = night;
    showTotals();
}

void DayActivitiesPanel::setDistance(Decimal3 distance)
{
    m_distance = distance;
    showTotals();
}

void DayActivitiesPanel::showTotals()
{
    m_totals = ComputeDayTotals(m_rows->intervals(), m_night);
    ShowDayTotals(m_totalsGrid, m_totals);
    m_total->setText(DayTotalText(m_totals.totalMinutes));
    m_marker->setVisible(ExceedsOneDay(m_totals.totalMinutes));
    m_kilometres->setText(QString::number(m_totals.kilometres));
    m_litres->setText(FormatDecimal(m_totals.litres.toText()));
    m_speed->setText(AverageSpeed(SpeedKilometres(m_totals.kilometres, m_distance),
                                  m_totals.minutes(ActivityKind::Driving)));
    emit totalsShown();
}

void DayActivitiesPanel::applySettings(const SettingsValues& settings)
{
    m_rows->applySettings(settings);
    m_grid->viewport()->update();
}
