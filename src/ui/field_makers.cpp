#include "ui/field_makers.h"

#include "ui/look.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace {

void Name(QWidget* widget, const char* objectName)
{
    if (objectName)
        widget->setObjectName(QLatin1String(objectName));
}

} // namespace

QLabel* NewLabel(const QString& text, QWidget* parent, const char* objectName)
{
    auto* label = new QLabel(text, parent);
    Name(label, objectName);
    return label;
}

QLabel* NewBoldLabel(const QString& text, QWidget* parent, const char* objectName)
{
    QLabel* label = NewLabel(text, parent, objectName);
    label->setFont(Look::Bold(label->font()));
    return label;
}

QLineEdit* NewLineEdit(QWidget* parent, const char* objectName, int maxLength)
{
    auto* line = new QLineEdit(parent);
    Name(line, objectName);
    if (maxLength > 0)
        line->setMaxLength(maxLength);
    return line;
}

QLineEdit* NewReadOnlyLine(QWidget* parent, const char* objectName)
{
    QLineEdit* line = NewLineEdit(parent, objectName);
    line->setReadOnly(true);
    line->setFocusPolicy(Qt::NoFocus);
    return line;
}

QCheckBox* NewCheckBox(QWidget* parent, const char* objectName, const QString& caption)
{
    auto* box = new QCheckBox(caption, parent);
    Name(box, objectName);
    return box;
}

QComboBox* NewComboBox(QWidget* parent, const char* objectName)
{
    auto* list = new QComboBox(parent);
    Name(list, objectName);
    return list;
}

QToolButton* NewSmallButton(QWidget* parent, const char* objectName, const QString& caption, const QString& hint)
{
    auto* button = new QToolButton(parent);
    Name(button, objectName);
    button->setText(caption);
    button->setToolTip(hint);
    return button;
}

void KeepRoomWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}
