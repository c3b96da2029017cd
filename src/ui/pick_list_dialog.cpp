#include "ui/pick_list_dialog.h"

#include "common/name_order.h"
#include "ui/list_read_notice.h"
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

    m_choose = new QPushButton(QStringLiteral("Odaberi"));
    m_choose->setObjectName(QStringLiteral("BitBtn1"));
    m_choose->setDefault(true);
    connect(m_choose, &QPushButton::clicked, this, &QDialog::accept);
    m_notice = new ListReadNotice(m_comboSelect, this);
    m_notice->setFixedWidth(kComboWidth);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, kComboTop, 0, 0);
    layout->addWidget(m_comboSelect, 0, Qt::AlignHCenter);
    layout->addWidget(m_notice, 0, Qt::AlignHCenter);
    layout->addStretch();
    layout->addWidget(NewButtonBar(m_choose));

    resize(kCreatedWidth, kCreatedHeight);
}

int PickListDialog::chosenIndex() const
{
    return m_comboSelect->currentIndex();
}

std::optional<PickItem> PickListDialog::chosenItem() const
{
    if (chosenIndex() <= 0) {
        return std::nullopt;
    }
    return m_comboSelect->pickItem(chosenIndex());
}

bool PickListDialog::hasChoice() const
{
    return result() == QDialog::Accepted && chosenIndex() > 0;
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
    RowSource::Rows read = m_source.rows(query);
    SortItemsByName(read.items);
    const std::vector<PickItem> items = SelectorItems(read.items);
    m_comboSelect->setPickItems(items);
    m_comboSelect->setCurrentIndex(SelectorChoice(items, initialIndex, keyId));
    m_comboSelect->setFocus();
    // A list that was not read offers no choice: "Odaberi" would take "Zanemari" for one.
    m_choose->setEnabled(read.failure.isEmpty());
    if (read.failure.isEmpty()) {
        m_notice->showRead();
    } else {
        m_notice->showNotRead(read.failure);
        ShowError(this, read.failure);
    }
}
