#include "charts/ui/keyboard_help.h"

#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace {

constexpr int kClientWidth = 318;
constexpr int kClientHeight = 206;

const QString kKeys = QStringLiteral(
    "<b>Klik na sliku</b> – tipke djeluju na listić<br>"
    "<b>← →</b> – središte lijevo / desno<br>"
    "<b>↑ ↓</b> – središte gore / dolje<br>"
    "<b>Ctrl + ←</b> / <b>Ctrl + →</b> – unutarnji krug (R1) veći / manji<br>"
    "<b>Ctrl + ↑</b> / <b>Ctrl + ↓</b> – vanjski krug (R2) veći / manji<br>"
    "<b>Ctrl + 0</b> / <b>Ctrl + 1</b> – početak (00:00) +1° / −1°<br>"
    "<b>Ctrl + F3</b> / <b>Ctrl + F4</b> – početak (00:00) +0,25° / −0,25°<br>"
    "<b>Ctrl + kotačić</b> – povećanje / smanjenje slike<br>"
    "<b>Dvoklik</b> – slika u izvornoj veličini<br>"
    "<b>Povlačenje mišem</b> – pomicanje slike");

} // namespace

KeyboardHelp::KeyboardHelp(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("InfoForm"));
    setWindowTitle(QStringLiteral("Tipkovnica"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(255, 255, 225));
    setPalette(palette);
    auto* text = new QLabel(kKeys, this);
    text->setObjectName(QStringLiteral("Tipke"));
    text->setTextFormat(Qt::RichText);
    text->setWordWrap(true);
    text->setStyleSheet(QStringLiteral("QLabel { font-family: Tahoma; font-size: 8pt; }"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->addWidget(text);
    layout->addStretch(1);
    resize(kClientWidth, kClientHeight);
}

KeyboardHelp* KeyboardHelp::showHelp(QWidget* parent)
{
    static QPointer<KeyboardHelp> window;
    if (!window)
        window = new KeyboardHelp(parent ? parent->window() : nullptr);
    window->show();
    window->raise();
    return window;
}
