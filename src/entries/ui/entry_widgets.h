#pragma once

#include "entries/activity_interval.h"

#include <QDialog>
#include <QStringList>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

// Controls and steps that the entry windows (manual entry, chart workspace) share.

// The eight lines of a day's totals grid: the four kinds, then the night totals.
extern const QStringList kDayTotalsLineNames;

// The night window of the live settings, as a new entry is counted with.
NightWindow CurrentNightWindow();

// A control shown only at times keeps its room while hidden, so that showing it moves nothing.
void KeepRoomWhenHidden(QWidget* widget);

QLabel* NewLabel(const QString& text, QWidget* parent, const char* objectName = nullptr);
// A shown value in teal.
QLabel* NewValue(QWidget* parent, const char* objectName);
// The red "!!" of a day above 24 hours of activity, hidden at first.
QLabel* NewOverOneDayMarker(QWidget* parent, const char* objectName);
// A read-only line takes no focus.
QLineEdit* NewLine(QWidget* parent, const char* objectName, bool readOnly = false);

// Fills a driver or vehicle pick list from its query (items "name||key", showing the name, in the
// order of the names) and keeps the item that was selected. A database error is shown and leaves the list empty.
void FillPickList(QComboBox* list, const QString& sql);
// The key of the selected item, or kNoneChosen.
int PickedId(const QComboBox* list);

// Shows the record window of drivers or vehicles for a new record, modally; true when a record
// was stored. The window created at start-up is used, or one made for the occasion.
template <typename RecordWindow>
bool AddedThroughRecordWindow(QWidget* parent)
{
    std::unique_ptr<RecordWindow> own;
    RecordWindow* window = RecordWindow::instance();
    if (window == nullptr) {
        own = std::make_unique<RecordWindow>(parent);
        window = own.get();
    }
    window->ID = -1;
    return window->exec() == QDialog::Accepted;
}
