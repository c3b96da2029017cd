#include "ui/list_read_notice.h"

#include <QComboBox>

QString ListNotReadText(const QString& reason)
{
    // The first line says why; the rest (the database's own text) is in the message box.
    return QStringLiteral("Popis nije pročitan: ") + reason.section(QLatin1Char('\n'), 0, 0);
}

ListReadNotice::ListReadNotice(QWidget* list, QWidget* parent) : QLabel(parent), m_list(list)
{
    setObjectName(QStringLiteral("PopisNijeProcitan"));
    setWordWrap(true);
    setStyleSheet(QStringLiteral("color: #B00000; font-weight: bold"));
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    hide();
}

void ListReadNotice::showRead()
{
    m_read = true;
    clear();
    hide();
    m_list->setEnabled(true);
}

void ListReadNotice::showNotRead(const QString& reason)
{
    m_read = false;
    setText(ListNotReadText(reason));
    setToolTip(reason);
    show();
    m_list->setEnabled(false);
}

void ShowComboNotRead(QComboBox* combo, const QString& reason)
{
    combo->setEnabled(false);
    combo->clear();
    combo->addItem(ListNotReadText(reason));
    combo->setToolTip(reason);
}

void ShowComboRead(QComboBox* combo)
{
    combo->setToolTip(QString());
    combo->setEnabled(true);
}
