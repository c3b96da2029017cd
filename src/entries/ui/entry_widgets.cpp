#include "entries/ui/entry_widgets.h"

#include "common/list_fields.h"
#include "common/name_order.h"
#include "db/data_module.h"
#include "db/db_error.h"
#include "db/query_to_list.h"
#include "entries/day_totals.h"
#include "entries/entry_pick_lists.h"
#include "settings/settings.h"
#include "ui/look.h"
#include "ui/message_box.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

const QStringList kDayTotalsLineNames{
    QStringLiteral("Odmor"),         QStringLiteral("Spremnost"),   QStringLiteral("Ostali rad"),
    QStringLiteral("Vožnja"),        QStringLiteral("Noćni rad uk."), QStringLiteral("Noć ukupno"),
    QStringLiteral("Noćna vožnja"),  QStringLiteral("Noćni ostali rad"),
};

NightWindow CurrentNightWindow()
{
    const std::pair<int, int> minutes = LiveSettings().nightWindowMinutes();
    return NightWindow{minutes.first, minutes.second};
}

void KeepRoomWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

QLabel* NewLabel(const QString& text, QWidget* parent, const char* objectName)
{
    auto* label = new QLabel(text, parent);
    if (objectName)
        label->setObjectName(QLatin1String(objectName));
    return label;
}

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

QLineEdit* NewLine(QWidget* parent, const char* objectName, bool readOnly)
{
    auto* line = new QLineEdit(parent);
    line->setObjectName(QLatin1String(objectName));
    line->setReadOnly(readOnly);
    if (readOnly)
        line->setFocusPolicy(Qt::NoFocus);
    return line;
}

void FillPickList(QComboBox* list, const QString& sql)
{
    const QString selected = list->currentData().toString();
    QStringList items;
    try {
        QueryToList(TDataModule1::instance(), sql, QStringLiteral("||"), items);
    } catch (const DbError& error) {
        ShowError(list->window(), error.text());
    }
    SortItemsByName(items);
    list->clear();
    for (const QString& item : items)
        list->addItem(ListField(item, 1), item);
    list->setCurrentIndex(list->findData(selected));
}

int PickedId(const QComboBox* list)
{
    return ListItemId(list->currentData().toString());
}
