#pragma once

#include <QDialog>
#include <QSize>
#include <QStringList>

#include <memory>

class ListReadNotice;
class QCheckBox;
class QComboBox;
class QTableView;
class RecordListModel;
class RecordWindow;
class Session;
class Transaction;

// A list window of records (drivers, vehicles), shown modally: a page with the tool bar
// ("Dodaj novo..." as the add button, Promijeni, Obrisi, the filter Uvjet, "Samo aktivni" as
// the only-active box) over the grid DBGrid1. Adding and changing go through the record's
// window, a double click changes the row; the list is read again whenever it is shown, the
// filter changes, or a record was stored or deleted. The window keeps its placement.
class RecordListWindow : public QDialog {
    Q_OBJECT

public:
    // What a list is.
    struct Setup {
        const char* objectName = nullptr;
        QString title;
        QString pageCaption;
        const char* addName = nullptr;
        QString addCaption;
        QStringList filterNames;
        int filter = 0; // the filter shown first
        const char* onlyActiveName = nullptr;
        QString onlyActiveCaption;
        QString deleteQuestion;
        QSize size;
    };

    ~RecordListWindow() override;

    // Reads the list again, keeping the current row's position.
    void refresh();

protected:
    RecordListWindow(Session& session, const Setup& setup, RecordListModel* model, QWidget* parent);

    void showEvent(QShowEvent* event) override;

    // Reads the rows of the filter into the model (throws DbError); with no transaction,
    // leaves the list empty (it could not be read, and the notice above the grid says so).
    virtual void readRows(Transaction* read, int filter, bool onlyActive) = 0;
    // The record window of a row, to show with its ID set.
    virtual std::unique_ptr<RecordWindow> newRecordWindow() = 0;
    // Deletes a record, the question already answered; true when the list is to be read again.
    virtual bool deleteRecord(int id) = 0;
    // After the list was read, or found unreadable (readNotice()).
    virtual void listRead() {}

    // Below the grid on the page, and below the page.
    void addBelowGrid(QWidget* widget);
    void addBelowPage(QWidget* widget);
    // Takes the window's size and its stored placement; called once the window is built.
    void restorePlacement();

    Session& session() const { return m_session; }
    RecordListModel* model() const { return m_model; }
    QTableView* grid() const { return m_grid; }
    int currentRow() const;
    int currentFilter() const;
    // Whether the list was read, or says why not.
    const ListReadNotice& readNotice() const { return *m_notice; }

private:
    QWidget* buildToolBar();
    void editRecord(int id);
    void editChosen();
    void deleteChosen();

    Session& m_session;
    Setup m_setup;
    RecordListModel* m_model;
    QTableView* m_grid = nullptr;
    ListReadNotice* m_notice = nullptr;
    QComboBox* m_filter = nullptr;
    QCheckBox* m_onlyActive = nullptr;
};
