#pragma once

#include <QDate>
#include <QLineEdit>

class QCalendarWidget;

// The date field of every window: the operator types a date as a clerk writes it
// ("15.03.2025", "15.3.2025", "1.3.2025", "15032025"; see ParseDateText) or picks it from the
// calendar (the button at its right end, or Alt+Down). What was typed is read when the field is
// left or Enter is pressed: a date is shown as "dd.MM.yyyy"; a text that is no date gets a
// message and the field shows its previous date again. Tab leaves the field.
class DateField : public QLineEdit {
    Q_OBJECT

public:
    explicit DateField(QWidget* parent = nullptr);

    QDate date() const { return m_date; }
    void setDate(const QDate& date);

signals:
    void dateChanged(const QDate& date);
    // The field was left, or Enter pressed, with what was typed read (every time, also when
    // nothing changed).
    void committed();

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void commitText();
    void showCalendar();

    QDate m_date;
    QCalendarWidget* m_calendar = nullptr;
};
