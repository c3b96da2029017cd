#include "ui/button_bar.h"

#include "ui/look.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>

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

QToolButton* NewToolButton(QWidget* parent, const char* objectName, const QString& caption)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(objectName));
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}
