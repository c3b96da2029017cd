#pragma once

#include <QDialog>
#include <QString>

class ListReadNotice;
class QComboBox;
class QPushButton;
class RowSource;

// The pick-list dialog "Odaberite": one row of a query, or none ("Zanemari"), chosen from a
// drop-down and confirmed with "Odaberi" (or Enter). Every showing reads its items afresh from
// the source it is given; items that could not be read are told of (ListReadNotice) and leave
// nothing to choose.
class PickListDialog : public QDialog {
    Q_OBJECT

public:
    explicit PickListDialog(RowSource& source, QWidget* parent = nullptr);

    // Set by the caller before showing.
    QString SQL;       // its rows become items 1 onward, the columns joined by "||" in select order,
                       // in the order of the names they show (field 1)
    int InitialIndex = 0;  // the item chosen first
    int Key = 0;       // when above 0, the item carrying it in field KeyField is chosen first
    int KeyField = 1;  // field number, from 1

    // The chosen item: its index (0 is "Zanemari") and its "||" text, empty for "Zanemari".
    int ChosenIndex() const;
    QString ChosenItem() const;
    // True when the dialog was closed with "Odaberi" and a row (not "Zanemari") was chosen.
    bool HasChoice() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refill();

    RowSource& m_source;
    QComboBox* m_comboSelect = nullptr;
    QPushButton* m_choose = nullptr;
    ListReadNotice* m_notice = nullptr;
};
