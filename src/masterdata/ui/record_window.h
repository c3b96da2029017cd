#pragma once

#include <QDialog>
#include <QString>

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

// Closes the window with Rejected once the event being handled is over (a window cannot close
// while it is still being shown).
void CloseAtOnce(QDialog& window);

// A record window: one row, new (ID -1) or existing, shown modally with exec(); Accepted
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
