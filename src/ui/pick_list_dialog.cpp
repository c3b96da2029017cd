#include "ui/pick_list_dialog.h"

#include "common/name_order.h"
#include "ui/message_box.h"
#include "ui/selector_combo.h"
#include "ui/selector_items.h"
#include "ui/row_source.h"

#include <QAbstractItemView>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

constexpr int kCreatedWidth = 551;
constexpr int kCreatedHeight = 254;
constexpr int kShownHeight = 100;
constexpr int kComboWidth = 493;
constexpr int kComboTop = 12;
constexpr int kBarMargin = 6;

QFrame* NewButtonBar(QPushButton* button)
{
    auto* bar = new QFrame;
    bar->setObjectName(QStringLiteral("Panel1"));
    bar->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bar->setAutoFillBackground(true);
    bar->setBackgroundRole(QPalette::Button);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(kBarMargin, kBarMargin, kBarMargin, kBarMargin);
    layout->addStretch();
    layout->addWidget(button);
    return bar;
}

}  // namespace

PickListDialog::PickListDialog(RowSource& source, QWidget* parent)
    : QDialog(parent), m_source(source)
{
    setObjectName(QStringLiteral("SelectorForm"));
    setWindowTitle(QStringLiteral("Odaberite"));

    m_comboSelect = new SelectorComboBox;
    m_comboSelect->setObjectName(QStringLiteral("ComboSelect"));
    QFont bold = m_comboSelect->font();
    bold.setBold(true);
    m_comboSelect->setFont(bold);
    m_comboSelect->view()->setFont(bold);
    m_comboSelect->setFixedWidth(kComboWidth);

    auto* choose = new QPushButton(QStringLiteral("Odaberi"));
    choose->setObjectName(QStringLiteral("BitBtn1"));
    choose->setDefault(true);
    connect(choose, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, kComboTop, 0, 0);
    layout->addWidget(m_comboSelect, 0, Qt::AlignHCenter);
    layout->addStretch();
    layout->addWidget(NewButtonBar(choose));

    resize(kCreatedWidth, kCreatedHeight);
}

int PickListDialog::ChosenIndex() const
{
    return m_comboSelect->currentIndex();
}

QString PickListDialog::ChosenItem() const
{
    return ChosenIndex() > 0 ? m_comboSelect->currentText() : QString();
}

bool PickListDialog::HasChoice() const
{
    return result() == QDialog::Accepted && ChosenIndex() > 0;
}

void PickListDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        refill();
    }
}

void PickListDialog::refill()
{
    resize(width(), kShownHeight);
    m_comboSelect->clear();
    RowSource::Rows read = m_source.rows(SQL);
    SortItemsByName(read.rows);
    const QStringList items = SelectorItems(read.rows);
    m_comboSelect->addItems(items);
    m_comboSelect->setCurrentIndex(SelectorChoice(items, InitialIndex, Key, KeyField));
    m_comboSelect->setFocus();
    if (!read.failure.isEmpty()) {
        ShowError(this, read.failure);
    }
}
