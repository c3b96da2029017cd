#include "ui/date_field.h"

#include "common/date_text.h"
#include "ui/message_box.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int kIconSize = 14;

// A small calendar sheet for the button that opens the calendar.
QIcon CalendarIcon()
{
    QPixmap sheet(kIconSize, kIconSize);
    sheet.fill(Qt::transparent);
    QPainter painter(&sheet);
    painter.setPen(Qt::darkGray);
    painter.setBrush(Qt::white);
    painter.drawRect(1, 2, kIconSize - 3, kIconSize - 4);
    painter.fillRect(2, 3, kIconSize - 4, 3, QColor(128, 0, 0));
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column)
            painter.fillRect(3 + column * 3, 7 + row * 3, 2, 2, Qt::darkGray);
    return QIcon(sheet);
}

}  // namespace

DateField::DateField(QWidget* parent) : QLineEdit(parent), m_date(QDate::currentDate())
{
    setText(DateText(m_date));
    setMaxLength(12);
    // Room for a whole date beside the calendar button.
    setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 2 * kIconSize + 12);
    QAction* pick = addAction(CalendarIcon(), QLineEdit::TrailingPosition);
    pick->setToolTip(QStringLiteral("Kalendar (Alt+Dolje)"));
    connect(pick, &QAction::triggered, this, &DateField::showCalendar);
    connect(this, &QLineEdit::returnPressed, this, [this] {
        commitText();
        emit committed();
    });
}

void DateField::setDate(const QDate& date)
{
    const bool changed = date != m_date;
    m_date = date;
    setText(DateText(date));
    if (changed)
        emit dateChanged(date);
}

void DateField::commitText()
{
    const std::optional<QDate> typed = ParseDateText(text(), QDate::currentDate());
    if (typed) {
        setDate(*typed);
        return;
    }
    const QString refused = text();
    // The field shows its date again before the message takes the focus away from it.
    setText(DateText(m_date));
    if (!isVisible())
        return;  // the window is closing
    ShowMessage(this, QStringLiteral("\"%1\" nije ispravan datum. Upišite datum kao dd.mm.gggg, npr. 15.03.2025.")
                          .arg(refused.trimmed()));
    // Back to the field, ready to type the date again.
    window()->activateWindow();
    setFocus(Qt::OtherFocusReason);
    selectAll();
}

void DateField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A calendar opened from the field takes the focus for a moment; the field is not left.
    if (m_calendar && m_calendar->isVisible())
        return;
    commitText();
    emit committed();
}

void DateField::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier)) {
        showCalendar();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void DateField::showCalendar()
{
    const std::optional<QDate> typed = ParseDateText(text(), QDate::currentDate());
    if (!m_calendar) {
        m_calendar = new QCalendarWidget(this);
        m_calendar->setWindowFlags(Qt::Popup);
        m_calendar->setFirstDayOfWeek(Qt::Monday);
        m_calendar->setGridVisible(true);
        connect(m_calendar, &QCalendarWidget::activated, this, [this](const QDate& date) {
            m_calendar->hide();
            setDate(date);
            setFocus();
            emit committed();
        });
        connect(m_calendar, &QCalendarWidget::clicked, m_calendar, &QCalendarWidget::activated);
    }
    m_calendar->setSelectedDate(typed.value_or(m_date));
    m_calendar->move(mapToGlobal(QPoint(0, height())));
    m_calendar->show();
    m_calendar->setFocus();
}
