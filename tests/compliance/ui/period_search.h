#pragma once

#include "window_driving.h"

#include "ui/date_field.h"

#include <QComboBox>
#include <QPushButton>

// Types the period into OdDatum and DoDatum, chooses the driver of the index in Vozac with the
// arrow keys, and runs the search with the button of `runName`, as an operator would.
inline void SearchPeriod(QWidget& window, const QString& from, const QString& to, int driverIndex, const char* runName)
{
    ReplaceAndLeave(Child<DateField>(window, "OdDatum"), from);
    ReplaceAndLeave(Child<DateField>(window, "DoDatum"), to);
    auto* drivers = Child<QComboBox>(window, "Vozac");
    drivers->setFocus();
    while (drivers->currentIndex() != driverIndex)
        Press(drivers->currentIndex() < driverIndex ? Qt::Key_Down : Qt::Key_Up);
    Child<QPushButton>(window, runName)->setFocus();
    Press(Qt::Key_Space);
}
