#pragma once

#include "reviews/day_record.h"
#include "ui/modeless_window.h"

#include <QDate>

class ActivityLegendStrip;
class DayChartStrip;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QTableWidget;
class Session;

// "Pregled aktivnosti na dan": one driver's activities of one day from all entries of that
// day, as a chart, a table of intervals and the day's totals. Each opening is a window of its
// own. Controls by object name: ImePrezime, Datum (its context menu OstaliDatumi lists the
// driver's other dates), IstiProzor, PredenoKm, Razdoblje, Ocitanje (the mouse readout), Graf,
// Legenda, AGrid, Ukupno, UkupnoMarker, Kilometara, Prosjek, TotalsGrid.
class DayGraphWindow : public ModelessWindow {
    Q_OBJECT

public:
    DayGraphWindow(Session& session, int driverId, const QDate& date, QWidget* owner = nullptr);

    int driverId() const { return m_driverId; }
    QDate date() const { return m_date; }
    // Shows another day of the same driver in this window.
    void showDay(const QDate& date);

private:
    QWidget* buildHeader();
    QWidget* buildTablePage();
    void refill();
    void fillGrid();
    void showTotals();
    void gridSelectionChanged();
    void showOtherDatesMenu(const QPoint& position);
    void otherDateChosen(const QDate& date);
    void openPeriodGraph();
    void applySettings();

    Session& m_session;
    int m_driverId;
    QDate m_date;
    DayRecord m_day;

    QLabel* m_name = nullptr;
    QLabel* m_dateLabel = nullptr;
    QLabel* m_dateCaption = nullptr;
    QCheckBox* m_sameWindow = nullptr;
    QLabel* m_distance = nullptr;
    QPushButton* m_period = nullptr;
    QLabel* m_readout = nullptr;
    QMenu* m_otherDates = nullptr;
    DayChartStrip* m_chart = nullptr;
    ActivityLegendStrip* m_legend = nullptr;
    QTableWidget* m_grid = nullptr;
    QLabel* m_total = nullptr;
    QLabel* m_totalMarker = nullptr;
    QLabel* m_kilometres = nullptr;
    QLabel* m_speed = nullptr;
    QTableWidget* m_totalsGrid = nullptr;
};

// Opens a day graph window for the driver and date, shown without blocking.
DayGraphWindow* OpenDayWindow(Session& session, int driverId, const QDate& date, QWidget* owner);
