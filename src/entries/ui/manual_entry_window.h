#pragma once

#include "ui/modeless_window.h"
#include "entries/activity_interval.h"
#include "entries/manual_entry.h"

class DayActivitiesPanel;
class EntryHeaderPanel;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;
class QTabWidget;
class QToolButton;
class Session;
class SummaryRowsModel;

// "Ručni unos podataka o radnim satima": one day of one driver entered by hand, interval by
// interval (a detailed entry) or as day and night sums per activity (a summary entry). A window
// is opened for a new entry, for a new entry on the pattern of a stored one ("Novi prema ovom"),
// or to change a stored entry. It is shown without blocking, several can be open at once, each
// keeps a placement of its own, and it is released when closed.
//
// Controls by object name: Vozac, Vozilo (pick lists), DodajVozaca, DodajVozilo, Suvozac,
// Posada, Detaljno, Datum, PostojiUnos (the "Već postoji unos za taj datum" warning; a click
// lists the day's other entries), Pocetno, Zavrsno, Predjeno, KmMarker, Napomena, PocetakPuta,
// KrajPuta, Uneseno, Skenirani, Stranice (the pages), AGrid, TotalsGrid, Ukupno, UkupnoMarker,
// Kilometara, Litara, Prosjek, SumGrid, SumUkupno, SumMarker, SumUpozorenje, SumKilometara,
// SumProsjek, Otkazi, NoviPremaOvom, Spremi (the store button, also Ctrl+S and Ctrl+Enter).
// Ctrl+Tab and Ctrl+Shift+Tab turn the pages from any field.
class ManualEntryWindow : public ModelessWindow {
    Q_OBJECT

public:
    // entryId: the entry to change, or kNewId for a new one; templateId: for a new entry, the
    // stored entry it copies, or kNewId. A window opened from another manual entry window
    // passes that window as `owner`.
    explicit ManualEntryWindow(Session& session, int entryId = kNewId, int templateId = kNewId, QWidget* owner = nullptr);

    int entryId() const { return m_entryId; }
    int templateId() const { return m_templateId; }

    // The entry as the fields now hold it (what the store button writes).
    ManualEntry entryFromFields() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void storeRequested() override { storeEntry(); }

private:
    QWidget* buildBasicPage();
    QWidget* buildDetailsPage();
    QWidget* buildSummaryPage();
    QWidget* buildButtonBar();

    void refill();
    void loadEntry(int id, bool asTemplate);
    void showEntry(const ManualEntry& entry);

    void showDetailsOrSummary();
    void enterShownPage(int page);
    // Shows the next (1) or previous (-1) page that the entry's kind has.
    void turnPage(int step);
    void checkExistingEntries();
    void normaliseWorkStart();
    int workStartMinutes() const;
    void showDetailedTotals();
    void showSummaryTotals();
    // Takes what is still being typed (an open grid cell, a km field) before storing; false
    // when a typed time was refused, whose message is still to be shown.
    bool commitTyping();

    void storeEntry();
    void newFromThis();

    Session& m_session;
    int m_entryId;
    int m_entryDayId = kNewId;
    int m_templateId;
    NightWindow m_night;

    QTabWidget* m_pages = nullptr;
    QWidget* m_basicPage = nullptr;
    QWidget* m_detailsPage = nullptr;
    QWidget* m_summaryPage = nullptr;
    QToolButton* m_scannedMark = nullptr;

    EntryHeaderPanel* m_header = nullptr;
    QCheckBox* m_detailed = nullptr;
    QToolButton* m_existingWarning = nullptr;
    QMenu* m_existingMenu = nullptr;
    QFrame* m_startPanel = nullptr;
    QLineEdit* m_workStart = nullptr;
    QLineEdit* m_workEnd = nullptr;
    QLabel* m_storedAt = nullptr;

    DayActivitiesPanel* m_day = nullptr;
    QLabel* m_foreignIntervals = nullptr;

    SummaryRowsModel* m_summary = nullptr;
    QTableView* m_summaryGrid = nullptr;
    QLabel* m_summaryTotal = nullptr;
    QLabel* m_summaryMarker = nullptr;
    QLabel* m_summaryWarning = nullptr;
    QLabel* m_summaryKilometres = nullptr;
    QLabel* m_summarySpeed = nullptr;

    QPushButton* m_cancel = nullptr;
    QPushButton* m_newFromThis = nullptr;
    QPushButton* m_store = nullptr;
};

// Opens a manual entry window and shows it without blocking; it is released when closed.
// The main window opens a new entry with OpenManualEntryWindow(session, kNewId, kNewId, mainWindow).
ManualEntryWindow* OpenManualEntryWindow(Session& session, int entryId, int templateId, QWidget* owner);
