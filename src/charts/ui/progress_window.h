#pragma once

#include <QDialog>
#include <QPointer>
#include <QThread>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;

// "Analiza u tijeku...": the steps of one scan's intake with their durations. It stays on top
// without title-bar buttons; once the run is over it closes itself after 2 seconds, unless the
// operator clicked it, which keeps it open until "OK".
// Controls by object name: pb, LB, opis, BitBtn1 ("OK"), Timer1.
class ProgressWindow : public QDialog {
    Q_OBJECT

public:
    static constexpr int kSteps = 5;
    static constexpr int kCloseAfterMs = 2000;

    explicit ProgressWindow(QWidget* parent = nullptr);
    // Waits for the run that reports here, so it never reports to a window that is gone.
    ~ProgressWindow() override;

    // The thread of the run reporting here.
    void watch(QThread* run);

    void setStatus(const QString& text);
    void addLog(const QString& line);
    void step();
    // The run is over: the bar full, "OK" usable and the closing timer started.
    void finish();

    QStringList logLines() const;
    bool keptOpen() const { return m_keptOpen; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void keepOpen();
    void closeNow();

    QProgressBar* m_bar = nullptr;
    QListWidget* m_log = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_ok = nullptr;
    QTimer* m_timer = nullptr;
    bool m_keptOpen = false;
    QPointer<QThread> m_run;
};
