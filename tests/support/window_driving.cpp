#include "window_driving.h"

#include <QAbstractButton>
#include <QApplication>
#include <QWidget>
#include <QtTest>

ConnectedDatabase::ConnectedDatabase() : m_data(std::make_unique<TDataModule1>())
{
    const QStringList messages = ConnectUpgraded(*m_data, m_file.path());
    if (!messages.isEmpty())
        qFatal("connecting failed: %s", qPrintable(messages.join(QLatin1Char(' '))));
}

void ConnectedDatabase::run(const QString& sql)
{
    m_data->IBSQL1.prepare(sql);
    m_data->IBSQL1.execute();
    m_data->IBSQL1.close();
    m_data->IBTransaction1.commit();
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
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
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
