#include "entries/ui/entry_widgets.h"

#include "common/decimal_text.h"
#include "common/name_order.h"
#include "entries/day_totals.h"
#include "entries/entry_header.h"
#include "session/session.h"
#include "ui/field_makers.h"
#include "ui/list_read_notice.h"
#include "ui/look.h"
#include "ui/message_box.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>

const QStringList kDayTotalsLineNames{
    QStringLiteral("Odmor"),         QStringLiteral("Spremnost"),   QStringLiteral("Ostali rad"),
    QStringLiteral("Vožnja"),        QStringLiteral("Noćni rad uk."), QStringLiteral("Noć ukupno"),
    QStringLiteral("Noćna vožnja"),  QStringLiteral("Noćni ostali rad"),
};

QLabel* NewValue(QWidget* parent, const char* objectName)
{
    QLabel* value = NewLabel(QString(), parent, objectName);
    value->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(Look::kTeal.name()));
    return value;
}

QLabel* NewOverOneDayMarker(QWidget* parent, const char* objectName)
{
    QLabel* marker = NewLabel(QStringLiteral("!!"), parent, objectName);
    marker->setStyleSheet(QStringLiteral("QLabel { color: red; font: bold 13px; }"));
    marker->setToolTip(kOverOneDayHint);
    marker->hide();
    return marker;
}

namespace {

// Selects a line's whole text when the mouse puts the focus into it: once the button is
// released, unless the operator dragged over a part of the text.
class SelectOnMouseEntry : public QObject {
public:
    explicit SelectOnMouseEntry(QLineEdit* line) : QObject(line), m_line(line) { line->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_line)
            return false;
        if (event->type() == QEvent::FocusIn)
            m_enteredByMouse = static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
        else if (event->type() == QEvent::MouseButtonRelease && m_enteredByMouse) {
            m_enteredByMouse = false;
            if (!m_line->hasSelectedText())
                m_line->selectAll();
        }
        return false;
    }

private:
    QLineEdit* m_line;
    bool m_enteredByMouse = false;
};

} // namespace

QLineEdit* NewKmField(QWidget* parent, const char* objectName)
{
    QLineEdit* field = NewLineEdit(parent, objectName);
    new SelectOnMouseEntry(field);
    return field;
}

std::optional<Decimal3> KmReading(const QLineEdit* field)
{
    const QString text = field->text().trimmed();
    if (text.isEmpty())
        return std::nullopt;
    return Decimal3::fromText(text);
}

void RewriteKmField(QLineEdit* field)
{
    const std::optional<Decimal3> reading = KmReading(field);
    field->setText(reading ? FormatDecimalZero(reading->toText()) : QString());
}

OdometerCheck CheckOdometer(const QLineEdit* startField, const QLineEdit* endField)
{
    const std::optional<Decimal3> start = KmReading(startField);
    const std::optional<Decimal3> end = KmReading(endField);
    if (!start || !end)
        return OdometerCheck{};
    return OdometerCheck{DayDistance(*start, *end), OdometerReversed(*start, *end)};
}

void FillPickList(Session& session, QComboBox* list, const QString& sql)
{
    const QVariant selected = list->currentData();
    RowSource::Rows read = session.rows(sql);
    if (!read.failure.isEmpty()) {
        ShowComboNotRead(list, read.failure);
        ShowError(list->window(), read.failure);
        return;
    }
    SortItemsByName(read.items);
    list->clear();
    ShowComboRead(list);
    for (const PickItem& item : read.items)
        list->addItem(item.text, item.id);
    list->setCurrentIndex(list->findData(selected));
}

int PickedId(const QComboBox* list)
{
    const QVariant id = list->currentData();
    return id.isValid() ? id.toInt() : kNoneChosen;
}
