#pragma once

#include <QMainWindow>
#include <QStyle>

class QAction;
class QToolButton;
struct SharedWindows;

// The program's home: the menu and six large buttons from which every other window is
// reached. Its first showing opens the database and brings the schema up to date; closing
// asks for confirmation.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The folder of uputstva.pdf and the database location's default (the executable's).
    void setProgramFolder(const QString& folder) { m_programFolder = folder; }

    // The single-instance windows the commands show; set by start-up.
    void setSharedWindows(const SharedWindows* windows) { m_windows = windows; }

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

    QString m_programFolder;
    const SharedWindows* m_windows = nullptr;
    bool m_shown = false;
};
