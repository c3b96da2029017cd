#pragma once

#include "common/pick_item.h"

#include <QDialog>
#include <QString>

#include <optional>

class ListReadNotice;
class QPushButton;
class RowSource;
class SelectorComboBox;

// The pick-list dialog "Odaberite": one row of a query, or none ("Zanemari"), chosen from a
// drop-down and confirmed with "Odaberi" (or Enter). Every showing reads its items afresh from
// the source it is given; items that could not be read are told of (ListReadNotice) and leave
// nothing to choose.
class PickListDialog : public QDialog {
    Q_OBJECT

public:
    explicit PickListDialog(RowSource& source, QWidget* parent = nullptr);

    // Set by the caller before showing.
    QString query;         // its rows become items 1 onward, in the order of their names; it
                           // selects them as RowSource reads them (name, id, optional detail)
    int initialIndex = 0;  // the item chosen first
    int keyId = 0;         // when above 0, the item of this id is chosen first

    // The chosen item: its index (0 is "Zanemari") and the item, none for "Zanemari".
    int chosenIndex() const;
    std::optional<PickItem> chosenItem() const;
    // True when the dialog was closed with "Odaberi" and a row (not "Zanemari") was chosen.
    bool hasChoice() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refill();

    RowSource& m_source;
    SelectorComboBox* m_comboSelect = nullptr;
    QPushButton* m_choose = nullptr;
    ListReadNotice* m_notice = nullptr;
};
