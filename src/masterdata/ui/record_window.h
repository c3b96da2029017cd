#pragma once

#include "db/db_error.h"
#include "session/session.h"
#include "ui/message_box.h"

#include <QDialog>
#include <QString>

#include <optional>

class QBoxLayout;
class QLineEdit;
class QPushButton;
class QWidget;

// Pieces shared by the record windows of drivers and vehicles.

inline const QString kRecordAccessError = QStringLiteral("Pogreška prilikom pristupa podacima!");

// Adds the grey bar at the bottom of a record window: "Otkaži" (BitBtn2, closes the window
// with Rejected) on the left and the store button (BitBtn1) on the right, which is returned.
// Neither button is a default button, so Enter stores nothing.
QPushButton* AddRecordButtonBar(QDialog& window, QBoxLayout& layout);

// The store button's caption: "Dodaj" for a new record (id -1), "Promijeni" otherwise.
QString StoreButtonCaption(int id);

// The record of `id` read with `load` (a core function of a read transaction and the id that
// gives an optional record). A database error, or a row no longer there, is told in `window`
// and gives nothing.
template <typename Load>
auto LoadShownRecord(QWidget* window, Session& session, int id, Load load) -> decltype(load(std::declval<Transaction&>(), id))
{
    try {
        Transaction read = session.read();
        auto record = load(read, id);
        if (!record)
            ShowMessage(window, kRecordAccessError);
        return record;
    } catch (const DbError& error) {
        ShowError(window, error.text());
        return std::nullopt;
    }
}

// Closes the window with Rejected once the event being handled is over (a window cannot close
// while it is still being shown).
void CloseAtOnce(QDialog& window);

// A record window: one row, new (recordId -1) or existing, shown modally with exec(); Accepted
// means it was closed by the store button. Each showing starts afresh: the store button's
// caption follows recordId, a new record gets empty fields, an existing one is loaded (a failed
// load closes the window with Rejected), and the first field gets the focus.
class RecordWindow : public QDialog {
public:
    // The row to change, or -1 for a new one; set before showing.
    int recordId = -1;

    // After "OK": the key of the stored row (the new key for a new one).
    int storedId() const { return m_storedId; }

protected:
    explicit RecordWindow(QWidget* parent);

    void showEvent(QShowEvent* event) override;

    // Adds the button bar below the fields and calls store() when the store button is pressed.
    void addButtonBar(QBoxLayout& layout);

    virtual void clearForNew() = 0;
    virtual bool loadExisting() = 0;
    virtual QWidget* firstField() const = 0;
    virtual void store() = 0;

    int m_storedId = -1;

private:
    void refill();

    QPushButton* m_storeButton = nullptr;
};
