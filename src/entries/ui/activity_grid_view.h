#pragma once

#include <QTableView>

class ActivityRowsModel;

// The activity grid of a manual entry, made for the keyboard:
// - Insert appends a new row; Ctrl+Delete deletes the current row after asking "Obrisati redak?";
// - V, B, N, M append a row of driving, rest, other work or availability that starts where the
//   current row ends; with Ctrl they change the current row's kind instead (nothing is pasted);
// - the arrows move between cells, passing over "Trajanje"; Down on the last row appends a row;
// - the letters V, B, N, M never reach a cell, also while a cell is being edited: the edit is
//   taken first, then the key acts.
class ActivityGridView : public QTableView {
    Q_OBJECT

public:
    ActivityGridView(ActivityRowsModel* model, QWidget* parent = nullptr);

    ActivityRowsModel* rows() const { return m_rows; }

    // Puts the cell cursor where typing goes on: the start of the only row, or the end of the
    // last row when there are several.
    void enterGrid();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    // Keys typed into an open cell editor.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether the key was one of the grid's own; `editor` is the open cell editor, if any.
    bool handleKey(QKeyEvent* event, QWidget* editor);
    // Takes the open editor's text into the row; false when the text was refused.
    bool finishEditing(QWidget* editor);
    void moveTo(int row, int column);
    void deleteCurrentRow();

    ActivityRowsModel* m_rows;
    bool m_refused = false;
};
