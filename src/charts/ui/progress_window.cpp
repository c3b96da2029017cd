#include "charts/ui/progress_window.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

ProgressWindow::ProgressWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("progress"));
    setWindowTitle(QStringLiteral("Analiza u tijeku..."));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(360, 260);

    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("pb"));
    m_bar->setRange(0, kSteps);
    m_bar->setValue(0);
    m_log = new QListWidget(this);
    m_log->setObjectName(QStringLiteral("LB"));
    m_log->viewport()->installEventFilter(this);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("opis"));
    m_status->setAlignment(Qt::AlignCenter);
    m_status->setStyleSheet(QStringLiteral("QLabel { color: blue; font-weight: bold; }"));
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("BitBtn1"));
    m_ok->setEnabled(false); // the run still needs the window
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(kCloseAfterMs);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_bar);
    layout->addWidget(m_log, 1);
    layout->addWidget(m_status);
    layout->addWidget(m_ok, 0, Qt::AlignRight);

    connect(m_ok, &QPushButton::clicked, this, &ProgressWindow::closeNow);
    connect(m_timer, &QTimer::timeout, this, &ProgressWindow::closeNow);

    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

ProgressWindow::~ProgressWindow()
{
    if (m_run)
        m_run->wait();
}

void ProgressWindow::watch(QThread* run)
{
    m_run = run;
}

void ProgressWindow::setStatus(const QString& text)
{
    m_status->setText(text);
}

void ProgressWindow::addLog(const QString& line)
{
    m_log->addItem(line);
    m_log->scrollToBottom();
}

void ProgressWindow::step()
{
    m_bar->setValue(std::min(m_bar->value() + 1, kSteps));
}

void ProgressWindow::finish()
{
    m_bar->setValue(kSteps);
    m_ok->setEnabled(true);
    if (!m_keptOpen)
        m_timer->start();
}

QStringList ProgressWindow::logLines() const
{
    QStringList lines;
    for (int i = 0; i < m_log->count(); ++i)
        lines << m_log->item(i)->text();
    return lines;
}

void ProgressWindow::keepOpen()
{
    m_keptOpen = true;
    m_timer->stop();
}

void ProgressWindow::closeNow()
{
    hide();
    close();
}

bool ProgressWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_log->viewport() && event->type() == QEvent::MouseButtonPress)
        keepOpen();
    return QDialog::eventFilter(watched, event);
}

void ProgressWindow::mousePressEvent(QMouseEvent* event)
{
    keepOpen();
    QDialog::mousePressEvent(event);
}

void ProgressWindow::keyPressEvent(QKeyEvent* event)
{
    // Escape does not take the window away while a run may still report to it.
    if (event->key() == Qt::Key_Escape && !m_ok->isEnabled())
        return;
    QDialog::keyPressEvent(event);
}
