#pragma once

#include "temp_database.h"

#include "session/session.h"

#include <QMessageBox>
#include <QObject>
#include <QPoint>
#include <QStringList>
#include <QTimer>

#include <memory>

class QAbstractButton;
class QDialog;
class QWidget;

// An upgraded database in a temporary folder with a session connected to it, its settings file
// (postavke.dat) in the same folder, and the test's own transactions on the session's connection.
class ConnectedDatabase {
public:
    ConnectedDatabase();
    Session& session() { return *m_session; }
    TestTransactions& data() { return *m_data; }
    QString settingsPath() const;
    // The database's location, for a second connection (another user) to it.
    const QString& path() const { return m_file.path(); }

    // Runs one statement in the write transaction and commits.
    void run(const QString& sql);
    // Makes every insert (or update) into the table fail with the message "Upis odbijen".
    void refuseWrites(const QString& table, const QString& event);
    void allowWrites(const QString& table, const QString& event);

private:
    TempDatabase m_file;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<TestTransactions> m_data;
};

// Answers every message box that opens while it lives: records its text, presses `answer`.
class MessageAnswerer : public QObject {
public:
    explicit MessageAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok);
    QStringList texts;

private:
    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
};

// Shows a window and waits until it is the active one.
bool ShowActive(QWidget& window);

// Types the text into the widget key by key, letters outside ASCII (and beyond the basic plane)
// included.
void TypeText(QWidget* widget, const QString& text);

// Selects the whole text of a line edit, types over it and leaves the field with Tab.
void ReplaceAndLeave(QWidget* field, const QString& text);

// Clicks a check box on its box (a click in the middle of a wide check box misses it).
void ClickBox(QAbstractButton* box);

// After a message box the window is active again, its focus where it was.
void Reactivate(QWidget* window);

// A key pressed on whatever has the focus.
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Types into whatever has the focus, as the operator does: the first key opens a cell's editor.
void Type(const QString& text);

// Answers the next message box over the window with the button of this text, keeping the
// box's text; a box that never comes is waited for no longer than the window lives.
void AnswerNextBox(QWidget* window, const QString& button, QString* text = nullptr);

// Clicks, double-clicks or types through the window, as the system delivers input: a window
// that a modal window blocks gets none of it. A point is in the widget's coordinates, its middle
// when none is given; typing covers ASCII.
void ClickThroughWindow(QWidget* widget, QPoint at = QPoint(-1, -1));
void DoubleClickThroughWindow(QWidget* widget, QPoint at = QPoint(-1, -1));
void PressThroughWindow(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void TypeThroughWindow(QWidget* window, const QString& text);

template <typename T>
T* Child(const QObject& parent, const char* name)
{
    T* child = parent.findChild<T*>(QLatin1String(name));
    if (!child)
        qFatal("no control %s", name);
    return child;
}
