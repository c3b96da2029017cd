#pragma once

#include "worktime/worktime_record.h"

#include <QDialog>

#include <vector>

class DateField;
class ListReadNotice;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class Session;
class WorkTimeModel;

// "Evidencija radnog vremena": a driver's period day by day, each Monday-to-Sunday week closed
// by its total and the 48-hour verdict, attested days marked. One window for the whole run,
// shown modally, so the period survives closing. Controls by object name: Dat1, Dat2, DjPopis,
// BitBtn4 ("Obnovi"), VT (the grid), BrojStavki, Napredak, BitBtn7 ("Ispiši"), Povratak.
class WorkTimeWindow : public QDialog {
    Q_OBJECT

public:
    explicit WorkTimeWindow(Session& session, QWidget* parent = nullptr);
    ~WorkTimeWindow() override;

    // Builds the record of the chosen driver and period anew.
    void buildRecord();
    // "Ispiši": the record's printout, on the report printer or in the preview.
    void print();
    const std::vector<WorkTimeRow>& rows() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refill();
    void showRecordNotRead(const QString& reason);

    Session& m_session;
    DateField* m_from = nullptr;
    DateField* m_to = nullptr;
    QComboBox* m_drivers = nullptr;
    QPushButton* m_rebuild = nullptr;
    QProgressBar* m_progress = nullptr;
    WorkTimeModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    QLabel* m_count = nullptr;
    ListReadNotice* m_notice = nullptr;
};
