#pragma once

#include <QMainWindow>
#include <QStyle>

#include <memory>

class QAction;
class QToolButton;
class Session;
class AboutWindow;
class DriverListWindow;
class WorkTimeWindow;
class AttestationRegisterWindow;
class OverviewWindow;
class OptionsWindow;
class VehicleListWindow;

// The program's home: the menu and six large buttons from which every other window is
// reached. Its first showing opens the database and brings the schema up to date; closing
// asks for confirmation. The windows the program keeps one of are made the first time they
// are wanted and live as long as this one.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Session& session, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The folder of uputstva.pdf and the database location's default (the executable's).
    void setProgramFolder(const QString& folder) { m_programFolder = folder; }

    QAction* action(const QString& objectName) const;

    // The commands of the menu and the buttons.
    void showNewDriver();
    void openManualEntry();
    void showVehicles();
    void showSettings();
    void showAbout();
    void openInstructions();

signals:
    // Emitted after the first showing has opened and upgraded the database.
    void databaseReady(bool open);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void buildButtons();
    QToolButton* addButton(const char* objectName, const QString& caption, const QColor& captionColour,
                           const QRect& position, Qt::ToolButtonStyle style, QStyle::StandardPixmap picture,
                           const QString& hint);
    void connectAndUpgrade();

    Session& m_session;
    QString m_programFolder;
    bool m_shown = false;
    std::unique_ptr<OptionsWindow> m_options;
    std::unique_ptr<AboutWindow> m_about;
    std::unique_ptr<DriverListWindow> m_drivers;
    std::unique_ptr<VehicleListWindow> m_vehicles;
    std::unique_ptr<OverviewWindow> m_overview;
    std::unique_ptr<WorkTimeWindow> m_workTime;
    std::unique_ptr<AttestationRegisterWindow> m_attestations;
};
