#pragma once

#include "charts/chart_analysis.h"
#include "charts/chart_overlay.h"
#include "charts/chart_text_export.h"
#include "charts/geometry_controls.h"
#include "entries/chart_entry.h"
#include "entries/ui/entry_header_panel.h"
#include "ui/modeless_window.h"

class DayActivitiesPanel;
class DiscView;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QToolButton;
class Session;
class TraceStripView;

// What scan intake hands to a chart's workspace besides the disc: for the scan log.
struct ChartHandOff {
    QString scanFileName; // as it stood in the chooser's field
    int discNumber = 0;
    int scanWidth = 0;
    int scanHeight = 0;
    int entryMarker = -1; // a new entry
};

// "Digitalizacija tahografskog listića (analogni tahograf)": one chart disc read into activity
// intervals, checked and corrected by the operator, and stored as an entry ("Arhiviraj").
// Every geometry change reads the chart again and rebuilds the day grids from the reading.
//
// Controls by object name: Kartice (the two top tabs), Slika (the disc image, DiscCanvas inside
// it takes the image keys), Traka, Info (the readout of the trace), ICaption, ProvjeraNule (the
// warning that 00:00 should be checked), AGrid, Pocetak,
// PostaviRucno, Sljedeca, Prethodna, Ponoc, UkupnoListic, SumGrid, BitBtn3..BitBtn20 (the
// geometry buttons), Djelatnici, Vozila, DodajVozaca, DodajVozilo, Suvozac, Posada, Datum,
// DatumPostoji, Pocetno, Zavrsno, Predeno, KmDefGreska, Napomena, DvodnevniPanel,
// OdDoDvodnevni, KmKrajDana, Dani (the day tabs), AG1, SG1, Ukupno1, Marker1, Kilometara1,
// Litara1, Prosjek1 and the same with 2, Otkazi, BitBtn26 ("Arhiviraj").
class ChartWorkspace : public ModelessWindow {
    Q_OBJECT

public:
    // `analysis` has been set up; the window shows its reading.
    ChartWorkspace(Session& session, ChartAnalysis analysis, const ChartHandOff& handOff, QWidget* owner = nullptr);

    const ChartAnalysis& analysis() const { return m_analysis; }
    const ChartHandOff& handOff() const { return m_handOff; }

    // A new geometry: the chart is read again (nothing happens when it is the same).
    void applyGeometry(const ChartGeometry& geometry);
    // The chart as the fields now hold it (what "Arhiviraj" stores).
    ChartEntry entryFromFields() const;

    // The text export of a kind as one text with CR LF line ends; empty without intervals.
    QString exportText(ChartExportKind kind) const;
    // Writes the whole chart's export to a file in Windows-1250; false (with a message) when it
    // could not be written, in which case a file already there is left as it was.
    bool exportToFile(const QString& path);

protected:
    void storeRequested() override { storeEntry(); }
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildChartTab();
    QWidget* buildAnalysisColumn();
    QWidget* buildDriverTab();
    QWidget* buildButtonBar();

    void refill();
    void showReading();
    void showDays();
    void showOverlay();
    void showChartTotals();
    void setSplitPoint(int minute);
    void splitFieldExit();
    void geometryButton(GeometryButton button);
    void imageKey(ImageKey key);

    void checkExistingEntry();
    // After "Početno km" or "Završno km" was left: the day totals with the new distance.
    void kilometresLeft(EntryHeaderPanel::KmField field, Decimal3 distance);
    void estimateEndOfDayKm();
    void showTwoDayRange();

    void exportTo(ChartExportKind kind);
    void saveExport();
    void storeEntry();
    void discard();

    Session& m_session;
    ChartAnalysis m_analysis;
    ChartHandOff m_handOff;
    NightWindow m_night;
    bool m_leaving = false; // stored or discarded: closing asks nothing

    QTabWidget* m_tabs = nullptr;
    DiscView* m_disc = nullptr;
    TraceStripView* m_strip = nullptr;
    QLabel* m_readout = nullptr;
    QLabel* m_caption = nullptr;
    QLabel* m_zeroWarning = nullptr; // "Provjerite položaj 00:00" when the reading could not settle 00:00
    QTableWidget* m_chartGrid = nullptr;
    QLineEdit* m_splitField = nullptr;
    QLabel* m_chartTotal = nullptr;
    QLabel* m_chartMarker = nullptr;
    QTableWidget* m_chartSums = nullptr;
    QToolButton* m_zeroPlus = nullptr;

    EntryHeaderPanel* m_header = nullptr;
    QLabel* m_dateExists = nullptr;
    QGroupBox* m_twoDayPanel = nullptr;
    QLabel* m_twoDayRange = nullptr;
    QLineEdit* m_endOfDayKm = nullptr;
    QTabWidget* m_days = nullptr;
    DayActivitiesPanel* m_day1 = nullptr;
    DayActivitiesPanel* m_day2 = nullptr;
    QWidget* m_day2Page = nullptr;
    QPushButton* m_store = nullptr;
};

// Opens a workspace for a disc, set up and shown without blocking.
ChartWorkspace* OpenChartWorkspace(Session& session, ChartAnalysis analysis, const ChartHandOff& handOff, QWidget* owner);
