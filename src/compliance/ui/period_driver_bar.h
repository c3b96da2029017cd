#pragma once

#include "db/db_error.h"
#include "session/session.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>
#include <vector>

class DateField;
class ListReadNotice;
class QComboBox;
class QPushButton;
class QTableWidget;

// The bar above a search over a period: "Razdoblje od" OdDatum "do" DoDatum (the last 28 days
// and today at first), "Vozač:" with the list Vozac (all drivers first, then each by name), and
// the button that runs the search.
class PeriodDriverBar : public QWidget {
    Q_OBJECT

public:
    PeriodDriverBar(const char* runName, const QString& runCaption, const QString& allDriversCaption,
                    QWidget* parent);

    // Reads the drivers' list with `load` (a core function of a read transaction giving rows
    // with an id and a name): all drivers first, then each by its name. When it cannot be read
    // the list says so, is disabled until read again, and the reason is given.
    template <typename Load>
    std::optional<QString> readDrivers(Session& session, Load load)
    {
        try {
            Transaction read = session.read();
            const auto drivers = load(read);
            startDrivers();
            for (const auto& driver : drivers)
                addDriver(driver.id, driver.name);
            return std::nullopt;
        } catch (const DbError& error) {
            showDriversNotRead(error.text());
            return error.text();
        }
    }
    bool driversRead() const;

    QDate from() const;
    QDate to() const;
    // The driver chosen, or nothing for all.
    std::optional<int> chosenDriver() const;
    // The chosen driver's name, or the caption of all drivers.
    QString chosenDriverText() const;
    // False, with a message, when the period ends before it begins.
    bool periodValid();

    QPushButton* runButton() const { return m_run; }

private:
    void startDrivers();
    void showDriversNotRead(const QString& reason);
    void addDriver(int id, const QString& name);

    QString m_allDrivers;
    DateField* m_from = nullptr;
    DateField* m_to = nullptr;
    QComboBox* m_drivers = nullptr;
    QPushButton* m_run = nullptr;
};

// A read-only list of found rows under such a bar: whole rows chosen one at a time, bold
// column titles.
QTableWidget* NewFoundList(QWidget* parent, const char* objectName, const QStringList& titles);

// Lays out a window of a search over a period: the bar, the line told when the lists could not
// be read, the found lists (`upper` over `lower`, split 3 to `lowerShare`) and the buttons.
// Gives that line.
ListReadNotice* LayOutPeriodSearch(QWidget& window, PeriodDriverBar* bar, QWidget* upper, QWidget* lower,
                                   int lowerShare, QWidget* buttons);
