#include "ui/button_bar.h"

#include "ui/look.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace {

constexpr int kMinimumButtonWidth = 100;

}  // namespace

ButtonBar::ButtonBar(QWidget* parent) : QFrame(parent), m_layout(new QHBoxLayout(this))
{
    Look::Paint(this, QPalette::Window, Look::kButtonBar);
    m_layout->addStretch(1);
}

QPushButton* ButtonBar::addButton(const char* objectName, const QString& caption, Side side)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(objectName));
    button->setAutoDefault(false);
    button->setMinimumWidth(kMinimumButtonWidth);
    if (side == Side::Left)
        m_layout->insertWidget(m_leftCount++, button);
    else
        m_layout->addWidget(button);
    return button;
}
