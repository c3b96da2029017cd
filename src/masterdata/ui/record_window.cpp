#include "masterdata/ui/record_window.h"

#include <QBoxLayout>
#include <QDialog>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

namespace {

const QColor kButtonBarColour(192, 192, 192);

}  // namespace

QLineEdit* NewTextField(QWidget* parent, const char* objectName, int maxLength)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(objectName));
    if (maxLength > 0)
        field->setMaxLength(maxLength);
    return field;
}

QPushButton* AddRecordButtonBar(QDialog& window, QBoxLayout& layout)
{
    auto* bar = new QFrame(&window);
    bar->setAutoFillBackground(true);
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Window, kButtonBarColour);
    bar->setPalette(palette);

    auto* cancel = new QPushButton(QStringLiteral("Otkaži"), bar);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    auto* store = new QPushButton(bar);
    store->setObjectName(QStringLiteral("BitBtn1"));
    for (QPushButton* button : {cancel, store}) {
        button->setAutoDefault(false);
        button->setMinimumWidth(100);
    }
    QObject::connect(cancel, &QPushButton::clicked, &window, &QDialog::reject);

    auto* row = new QHBoxLayout(bar);
    row->addWidget(cancel);
    row->addStretch();
    row->addWidget(store);
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
        FormShow();
}

void RecordWindow::FormShow()
{
    m_storedId = -1;
    m_storeButton->setText(StoreButtonCaption(ID));
    if (ID < 0)
        clearForNew();
    else if (!loadExisting())
        CloseAtOnce(*this);
    firstField()->setFocus();
}
