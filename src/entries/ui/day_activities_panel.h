#pragma once

#include "common/decimal3.h"
#include "entries/activity_interval.h"
#include "entries/day_totals.h"
#include "settings/settings_values.h"

#include <QString>
#include <QWidget>

class ActivityGridView;
class ActivityRowsModel;
class QLabel;
class QTableWidget;
class QVBoxLayout;

// Object names of a panel's controls; each window names its own.
struct DayActivitiesNames {
    QString grid;
    QString totalsGrid;
    QString total;
    QString marker; // the red "!!" shown above 24 hours of activity
    QString kilometres;
    QString litres;
    QString speed;
};

// One day's activities as the entry windows show them: the group "Aktivnosti vozača: " with the
// keyboard grid, and below it the day's sums (total, kilometres, litres, average speed and the
// totals grid), recounted after every change of the rows.
class DayActivitiesPanel : public QWidget {
    Q_OBJECT

public:
    DayActivitiesPanel(const SettingsValues& settings, const DayActivitiesNames& names, const QString& sumsCaption,
                       QWidget* parent = nullptr);

    ActivityRowsModel* rows() const { return m_rows; }
    ActivityGridView* grid() const { return m_grid; }
    // The colours and the extra end check of changed settings.
    void applySettings(const SettingsValues& settings);
    // Adds a line under the grid, inside the activities group.
    void addBelowGrid(QWidget* widget);

    // The night window the day is counted with, and the day's distance, from which the average
    // speed is taken when the rows carry no kilometres. Each recounts.
    void setNight(NightWindow night);
    void setDistance(Decimal3 distance);

    const DayTotals& totals() const { return m_totals; }
    // Counts the rows and shows the sums.
    void showTotals();

    // Whether a typed time was refused and its message is still to be shown (the edit ended by
    // a click on a store button, say): nothing is stored before the operator has seen it.
    bool refusalToShow() const { return m_refusalToShow; }

signals:
    void totalsShown();

private:
    ActivityRowsModel* m_rows = nullptr;
    ActivityGridView* m_grid = nullptr;
    QVBoxLayout* m_activitiesLayout = nullptr;
    QTableWidget* m_totalsGrid = nullptr;
    QLabel* m_total = nullptr;
    QLabel* m_marker = nullptr;
    QLabel* m_kilometres = nullptr;
    QLabel* m_litres = nullptr;
    QLabel* m_speed = nullptr;
    NightWindow m_night;
    Decimal3 m_distance;
    DayTotals m_totals;
    bool m_refusalToShow = false;
};
