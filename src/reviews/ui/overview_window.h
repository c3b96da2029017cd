#pragma once

#include "reviews/ui/overview_models.h"

#include <QSet>
#include <QWidget>

#include <memory>

class DatabaseWorker;
class DateField;
class ListReadNotice;
class QCheckBox;
class QComboBox;
class QTabWidget;
class QTableView;
class Session;

// "Pregled unosa u evidenciju": the entries, the entry days and the day totals per driver and
// date, filtered by driver, by the moment of entry and by the recorded days. One window for
// the whole run, shown without blocking; the manual entry windows refresh it after a store.
// The lists are read off the window's thread (a busy cursor shows while the window waits for
// lines); hiding the window stops every read.
// Controls by object name: UnosFilter, UnosOd, UnosDo, DaniFilter, DaniOd, DaniDo, Vozac,
// Obnovi, Stranice, UnosiGrid, DaniGrid, UkupnoGrid, Povratak; context menu items ObrisiUnos,
// GrafDana, Kopiraj.
class OverviewWindow : public QWidget {
    Q_OBJECT

public:
    // Entry and day graph windows opened from the lists belong to `windowsOwner` (the main
    // window), so that they outlive the overview being hidden.
    explicit OverviewWindow(Session& session, QWidget* windowsOwner = nullptr);
    ~OverviewWindow() override;

    // Shows the window, or brings it to the front when it is shown already.
    void showOrRaise();
    // "Obnovi": re-reads the three lists, each keeping its current line where it still is.
    void refresh();
    // The filters as the panel now sets them.
    OverviewFilter filter() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildFilterPanel();
    QTableView* newGrid(const char* objectName, QAbstractItemModel* model, const std::vector<int>& widths);
    void refill();
    void fillDriverList();
    void watchList(QTableView* grid);
    void showBusy();
    void stopReading();
    void copyList(int page);
    void copied(int copy, const QString& text, const QString& error);
    void entryDoubleClicked(const QModelIndex& index);
    void dayDoubleClicked(const QModelIndex& index);
    void openDayGraph();
    void deleteEntry();

    Session& m_session;
    QWidget* m_windowsOwner;
    QCheckBox* m_enteredFilter = nullptr;
    DateField* m_enteredFrom = nullptr;
    DateField* m_enteredTo = nullptr;
    QCheckBox* m_daysFilter = nullptr;
    DateField* m_daysFrom = nullptr;
    DateField* m_daysTo = nullptr;
    QComboBox* m_driver = nullptr;
    QTabWidget* m_pages = nullptr;
    EntriesModel* m_entries = nullptr;
    EntryDaysModel* m_days = nullptr;
    DayTotalsModel* m_totals = nullptr;
    QTableView* m_entriesGrid = nullptr;
    QTableView* m_daysGrid = nullptr;
    QTableView* m_totalsGrid = nullptr;
    ListReadNotice* m_notice = nullptr;
    QSet<QTableView*> m_endWanted;  // Ctrl+End pressed before the list knew its length
    int m_firstScreens = 0;         // lists whose first batch is in since the last refresh
    std::unique_ptr<DatabaseWorker> m_copy;
    int m_copyNumber = 0;
};
