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
class Transaction;

// "Uvoz digitalne kartice": driver card download files chosen one or many at a time; per file
// its holder, whether the driver and vehicles are in the records (and an offer to record them),
// the signature, and its days beside the entries already stored on them, each conflict with a
// choice to replace it. "Uvezi" imports every readable file, each in one transaction, and
// lists what was done. The database work is the card core's; the window takes the
// transactions and settings it needs from whoever opens it.
class CardImportWindow : public QDialog {
    Q_OBJECT

public:
    struct Setup {
        Transaction& read;
        Transaction& write;
        NightWindow night;
        QString europeanKeyPath; // empty: signatures are not checked
        QString folder;          // where the file chooser starts
    };
    CardImportWindow(const Setup& setup, QWidget* parent = nullptr);

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

    Setup m_setup;
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
