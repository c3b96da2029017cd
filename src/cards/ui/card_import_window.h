#pragma once

#include "cards/card_import.h"

#include <QDialog>
#include <QStringList>

#include <optional>
#include <vector>

class QCheckBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class Session;
class Transaction;

// "Uvoz digitalne kartice": driver card download files chosen one or many at a time; per file
// its holder, whether the driver and vehicles are in the records (and an offer to record them),
// the signature, and its days beside the entries already stored on them, each conflict with a
// choice to replace it. "Uvezi" imports every readable file, each in one transaction, and
// lists what was done. The database work is the card core's, in transactions of the session.
class CardImportWindow : public QDialog {
    Q_OBJECT

public:
    // The settings give the night window, the European key (none: signatures are not checked)
    // and the folder where the file chooser starts.
    explicit CardImportWindow(Session& session, QWidget* parent = nullptr);

    // Reads the files and adds them to the list (what the file chooser does).
    void addFiles(const QStringList& paths);

private:
    struct CardFile {
        QString path;
        std::optional<CardImportPlan> plan;
        QString error; // why the file cannot be imported
    };

    void chooseFiles();
    void showFile(int index);
    void importAll();
    CardFile readFile(const QString& path) const;
    QString fileCaption(const CardFile& file) const;

    Session& m_session;
    std::vector<CardFile> m_files;
    QListWidget* m_fileList;
    QLabel* m_holder;
    QLabel* m_records;
    QLabel* m_signature;
    QCheckBox* m_createMissing;
    QTableWidget* m_days;
    QPlainTextEdit* m_summary;
    QPushButton* m_import;
};
