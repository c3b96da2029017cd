#pragma once

#include <QDialog>

class QLineEdit;

// "Odredite slikovni zapis taholistića (sken)": asks for the scan file. Made once and kept, so
// the field keeps its path between runs; the picture dialog starts in the scan folder of the
// settings as it was when the chooser was made.
// Controls by object name: Sken, BitBtn5 (browse), BitBtn1 ("Analiziraj"), BitBtn2 ("Otkaži").
class ScanChooser : public QDialog {
    Q_OBJECT

public:
    // `startFolder` is where the file dialog opens first (the settings' folder of scans).
    explicit ScanChooser(const QString& startFolder, QWidget* parent = nullptr);

    QString scanPath() const;
    // The picture dialog's filter, kind by kind.
    static QStringList PictureFilters();

private:
    void browse();

    QLineEdit* m_path = nullptr;
    QString m_startFolder;
};
