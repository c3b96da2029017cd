#include "masterdata/ui/record_window.h"

#include "ui/button_bar.h"

#include <QBoxLayout>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

QPushButton* AddRecordButtonBar(QDialog& window, QBoxLayout& layout)
{
    auto* bar = new ButtonBar(&window);
    QPushButton* cancel = bar->addButton("BitBtn2", QStringLiteral("Otkaži"), ButtonBar::Side::Left);
    QPushButton* store = bar->addButton("BitBtn1", QString(), ButtonBar::Side::Right);
    QObject::connect(cancel, &QPushButton::clicked, &window, &QDialog::reject);
    layout.addWidget(bar);
    return store;
}

QString StoreButtonCaption(int id)
{
    return id < 0 ? QStringLiteral("Dodaj") : QStringLiteral("Promijeni");
}

void CloseAtOnce(QDialog& window)
{
    QTimer::singleShot(0, &window, &QDialog::reject);
}

RecordWindow::RecordWindow(QWidget* parent) : QDialog(parent)
{
}

void RecordWindow::addButtonBar(QBoxLayout& layout)
{
    m_storeButton = AddRecordButtonBar(*this, layout);
    connect(m_storeButton, &QPushButton::clicked, this, [this] { store(); });
}

void RecordWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        refill();
}

void RecordWindow::refill()
{
    m_storedId = -1;
    m_storeButton->setText(StoreButtonCaption(recordId));
    if (recordId < 0)
        clearForNew();
    else if (!loadExisting())
        CloseAtOnce(*this);
    firstField()->setFocus();
}
