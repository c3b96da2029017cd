#pragma once

#include "reviews/period_record.h"

#include <QWidget>

#include <vector>

class ActivityLegendStrip;
class DateField;
class PeriodDayDelegate;
class QCheckBox;
class QLabel;
class QListWidget;
class Session;

// "Grafički pregled aktivnosti za razdoblje": one driver's days as day charts, one under the
// other, printable as A4 pages. One window at a time, opened from the day graph.
// Controls by object name: ImePrezime, DatumiOdDo, Od, Do, Obnovi, Ispisi, SamoAktivni,
// Dani (the day list), Ocitanje, Legenda.
class PeriodGraphWindow : public QWidget {
    Q_OBJECT

public:
    explicit PeriodGraphWindow(Session& session, QWidget* parent = nullptr);
    ~PeriodGraphWindow() override;

    // Shows the window for the driver (reading his name and dates anew), or brings it to the
    // front.
    void openFor(int driverId);
    // "Obnovi": the days of the range; a range that ends before it starts is refused.
    void refresh();
    // "Ispiši": the days as listed, on the graph printer or in the preview.
    void print();

    const std::vector<PeriodDay>& days() const { return m_days; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refill();
    void fillList();
    void applySettings();

    Session& m_session;
    int m_driverId = -1;
    PeriodDriver m_driver;
    std::vector<PeriodDay> m_days;

    QLabel* m_name = nullptr;
    QLabel* m_rangeLabel = nullptr;
    DateField* m_from = nullptr;
    DateField* m_to = nullptr;
    QCheckBox* m_onlyActive = nullptr;
    QListWidget* m_list = nullptr;
    PeriodDayDelegate* m_delegate = nullptr;
    QLabel* m_readout = nullptr;
    ActivityLegendStrip* m_legend = nullptr;
};

// "Razdoblje" of a day graph: the period graph for the driver, in the one open or a new one
// that lives as long as its owner (the main window).
void OpenPeriodWindow(Session& session, int driverId, QWidget* owner);
