#pragma once

#include <QFrame>

class QHBoxLayout;
class QPushButton;
class QToolButton;

// A flat text button of a list window's tool bar ("Dodaj novo", "Promijeni", "Obriši").
QToolButton* NewToolButton(QWidget* parent, const char* objectName, const QString& caption);

// The grey bar at the bottom of a window with its buttons: those added on the left side stand
// from the left edge, those on the right side end at the right edge. No button is a default
// button, so Enter in a field presses none of them.
class ButtonBar : public QFrame {
public:
    enum class Side { Left, Right };

    explicit ButtonBar(QWidget* parent);

    QPushButton* addButton(const char* objectName, const QString& caption, Side side);

private:
    QHBoxLayout* m_layout;
    int m_leftCount = 0;
};
