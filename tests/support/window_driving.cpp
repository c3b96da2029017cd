#include "window_driving.h"

#include <QAbstractButton>
#include <QDir>
#include <QMessageBox>
#include <QTimer>
#include <QApplication>
#include <QWidget>
#include <QWindow>
#include <QtTest>

ConnectedDatabase::ConnectedDatabase()
    : m_session(std::make_unique<Session>(QDir(m_file.folder()).filePath(QStringLiteral("postavke.dat"))))
{
    const QStringList messages = ConnectUpgraded(m_session->connection(), m_file.path());
    if (!messages.isEmpty())
        qFatal("connecting failed: %s", qPrintable(messages.join(QLatin1Char(' '))));
    m_data = std::make_unique<TestTransactions>(m_session->connection());
}

QString ConnectedDatabase::settingsPath() const
{
    return m_session->settingsPath();
}

void ConnectedDatabase::run(const QString& sql)
{
    m_data->sql.prepare(sql);
    m_data->sql.execute();
    m_data->sql.close();
    m_data->write.commit();
}

void ConnectedDatabase::refuseWrites(const QString& table, const QString& event)
{
    run(QStringLiteral("CREATE OR ALTER EXCEPTION E_ODBIJENO 'Upis odbijen'"));
    run(QStringLiteral("CREATE OR ALTER TRIGGER T_ODBIJENO_%1_%2 FOR %1 ACTIVE BEFORE %2 POSITION 0 "
                       "AS BEGIN EXCEPTION E_ODBIJENO; END")
            .arg(table, event));
}

void ConnectedDatabase::allowWrites(const QString& table, const QString& event)
{
    run(QStringLiteral("DROP TRIGGER T_ODBIJENO_%1_%2").arg(table, event));
}

MessageAnswerer::MessageAnswerer(QMessageBox::StandardButton answer) : m_answer(answer)
{
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        texts << box->text();
        QAbstractButton* button = box->button(m_answer);
        button ? button->click() : box->reject();
    });
    m_timer.start();
}

bool ShowActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

void TypeText(QWidget* widget, const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 128) {
            QTest::keyClick(widget, c.toLatin1());
            continue;
        }
        // A character beyond the basic plane (an emoji) comes as one key with both its halves.
        const qsizetype length = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString typed = text.mid(i, length);
        i += length - 1;
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, typed, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, typed, Qt::NoModifier);
    }
}

void ReplaceAndLeave(QWidget* field, const QString& text)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    TypeText(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
}

void ClickBox(QAbstractButton* box)
{
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

// After a message box the window is active again, its focus where it was.
void Reactivate(QWidget* window)
{
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        qWarning("The window did not become active again");
}

void Press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

// Types into whatever has the focus, as the operator does: the first key opens a cell's editor.
void Type(const QString& text)
{
    for (const QChar c : text)
        TypeText(QApplication::focusWidget(), QString(c));
}

// Answers the next message box over the window with the button of this text, keeping the
// box's text; a box that never comes is waited for no longer than the window lives.
void AnswerNextBox(QWidget* window, const QString& button, QString* text)
{
    auto* timer = new QTimer(window);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, button, text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        if (text)
            *text = box->text();
        for (QAbstractButton* candidate : box->buttons()) {
            if (candidate->text() == button) {
                timer->stop();
                timer->deleteLater();
                candidate->click();
                return;
            }
        }
    });
    timer->start();
}


namespace {

// The widget's window and the point in it.
std::pair<QWindow*, QPoint> WindowPoint(QWidget* widget, QPoint at)
{
    if (at == QPoint(-1, -1))
        at = widget->rect().center();
    QWidget* window = widget->window();
    return {window->windowHandle(), widget->mapTo(window, at)};
}

}  // namespace

void ClickThroughWindow(QWidget* widget, QPoint at)
{
    const auto [window, point] = WindowPoint(widget, at);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, point);
}

void DoubleClickThroughWindow(QWidget* widget, QPoint at)
{
    const auto [window, point] = WindowPoint(widget, at);
    QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, point);
}

void PressThroughWindow(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(window->windowHandle(), key, modifiers);
}

void TypeThroughWindow(QWidget* window, const QString& text)
{
    for (const QChar c : text)
        QTest::keyClick(window->windowHandle(), c.toLatin1());
}
