#pragma once

#include "entries/entry_header.h"

#include <QList>
#include <QWidget>

class DateField;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;
class Session;

// The head of an entry as both entry windows (manual entry, chart workspace) show it: the group
// "Podaci o vozaču i vozilu: " with the driver and vehicle pick lists, their add buttons
// (DodajVozaca, DodajVozilo), Suvozac and Posada; and the group "Datum i vožnja: " with Datum,
// Pocetno, Zavrsno, the distance, the red "!!" of an odometer running backwards, and Napomena.
//
// The odometer fields select their text when the mouse enters them. Leaving one rewrites that
// field only ("1000,50"; an empty field stays empty) and shows the distance and the "!!" from
// both readings. An added driver or vehicle refills its list.
class EntryHeaderPanel : public QWidget {
    Q_OBJECT

public:
    // What the two windows show differently.
    struct Setup {
        const char* driverListName;
        const char* vehicleListName;
        const char* distanceName;
        const char* kmMarkerName;
        QString kmMarkerHint;
        // The pick lists hold only the drivers and vehicles in use (for a new entry).
        bool activeOnly = true;
        // The remark on several lines (Tab leaves it), or on one.
        bool remarkOnSeveralLines = false;
        // Only typed readings replace the distance: an entry shown with a distance and no
        // readings keeps it when the operator merely passes through the odometer fields.
        bool distanceFromTypedReadingsOnly = false;
    };
    enum class KmField { Start, End };

    EntryHeaderPanel(Session& session, const Setup& setup, QWidget* parent = nullptr);

    // A new entry's head: no co-driver, no crew, the given day, the pick lists filled.
    void reset(const QDate& date);
    EntryHeader value() const;
    // Shows a stored entry's head (the "!!" from its readings).
    void setValue(const EntryHeader& header);
    Decimal3 distance() const;
    void setDistance(Decimal3 distance);

    int driverId() const;
    QDate date() const;
    QComboBox* driverList() const { return m_driver; }
    QComboBox* vehicleList() const { return m_vehicle; }
    QLineEdit* endKmField() const { return m_endKm; }

    // Refill a pick list from the database, keeping its selected item.
    void fillDriverList();
    void fillVehicleList();

    // A window's own controls: a row across the people group below Posada, a note below the date,
    // a row below the remark. Each follows its neighbour in the tab order; `tabStop` is the
    // control of the row that Tab reaches.
    void addPeopleRow(QWidget* row);
    void setDateNote(QWidget* note);
    void addDayRow(QWidget* row, QWidget* tabStop);
    // The tab order of the window: the panel's fields with the controls placed in it, then
    // `others`, then the two add buttons.
    void chainTabOrder(const QList<QWidget*>& others);

signals:
    // A driver picked from the list, or a day entered: the window may look for the day's entries.
    void driverOrDateChosen();
    // An odometer field was left and the distance and "!!" shown anew.
    void kilometresLeft(KmField field, Decimal3 distance);

private:
    void kilometresExit(QLineEdit* field);

    Session& m_session;
    Setup m_setup;
    QGridLayout* m_peopleGrid = nullptr;
    QGridLayout* m_dayGrid = nullptr;
    QComboBox* m_driver = nullptr;
    QComboBox* m_vehicle = nullptr;
    QToolButton* m_addDriver = nullptr;
    QToolButton* m_addVehicle = nullptr;
    QCheckBox* m_coDriver = nullptr;
    QCheckBox* m_crew = nullptr;
    DateField* m_date = nullptr;
    QLineEdit* m_startKm = nullptr;
    QLineEdit* m_endKm = nullptr;
    QLineEdit* m_distance = nullptr;
    QLabel* m_kmMarker = nullptr;
    QLineEdit* m_remarkLine = nullptr;
    QPlainTextEdit* m_remarkLines = nullptr;
    QList<QWidget*> m_peopleTabStops;
    QWidget* m_dateNote = nullptr;
    QList<QWidget*> m_dayTabStops;
};
