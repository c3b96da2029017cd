#pragma once

#include "common/decimal3.h"
#include "entries/activity_interval.h"
#include "settings/settings_values.h"

#include <QDialog>
#include <QStringList>

#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;
class Session;

// Controls and steps that the entry windows (manual entry, chart workspace) share.

// The eight lines of a day's totals grid: the four kinds, then the night totals.
extern const QStringList kDayTotalsLineNames;

// A shown value in teal.
QLabel* NewValue(QWidget* parent, const char* objectName);
// The red "!!" of a day above 24 hours of activity, hidden at first.
QLabel* NewOverOneDayMarker(QWidget* parent, const char* objectName);

// An odometer field ("Početno km", "Završno km", "Stanje km na kraju dana:"). Entered by the
// mouse it selects its text, as when entered by Tab, so that a new reading replaces the old
// one rather than being typed into it.
QLineEdit* NewKmField(QWidget* parent, const char* objectName);
// The reading of a km field ("1.000,5" is 1000,5); none while the field is empty.
std::optional<Decimal3> KmReading(const QLineEdit* field);
// Leaving a km field rewrites that field only, with two decimals ("1000,50"); an empty field
// stays empty.
void RewriteKmField(QLineEdit* field);

// What the two odometer readings of a day tell: the distance driven (0 unless both are there
// and the end is above the start) and whether the odometer runs backwards.
struct OdometerCheck {
    Decimal3 distance;
    bool reversed = false;
};
OdometerCheck CheckOdometer(const QLineEdit* startField, const QLineEdit* endField);

// Fills a driver or vehicle pick list from its query (items showing the name and carrying the
// id as their data, in the order of the names) and keeps the item that was selected. A list
// that could not be read shows so (ShowComboNotRead) and the database's error is shown.
void FillPickList(Session& session, QComboBox* list, const QString& sql);
// The key of the selected item, or kNoneChosen.
int PickedId(const QComboBox* list);

// Shows the record window of drivers or vehicles for a new record, modally; true when a record
// was stored.
template <typename RecordWindow>
bool AddedThroughRecordWindow(Session& session, QWidget* parent)
{
    RecordWindow window(session, parent);
    window.recordId = -1;
    return window.exec() == QDialog::Accepted;
}
