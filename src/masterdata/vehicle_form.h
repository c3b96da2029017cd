#pragma once

#include "common/latest_instance.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The vehicle record "Podaci o vozilu": one row of VOZILO, new or existing. One window is
// created at start-up and reused: the caller sets ID and shows it modally with exec();
// Accepted ("OK") means it was closed by the store button (the vehicle was stored, or nothing
// had changed), Rejected that nothing was stored.
class TVoziloForm : public QDialog, public LatestInstance<TVoziloForm> {
    Q_OBJECT

public:
    explicit TVoziloForm(QWidget* parent = nullptr);

    // The window created at start-up (the latest one alive); nullptr when there is none.
    static TVoziloForm* instance() { return latest(); }

    // The vehicle to change (IDVOZ), or -1 for a new one; set before showing.
    int ID = -1;

    // After "OK": the IDVOZ of the vehicle (the new key for a new one).
    int storedId() const { return m_storedId; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildFields();
    void FormShow();
    void clearForNew();
    bool loadExisting();
    void markChanged();
    void BitBtn1Click();

    int m_storedId = -1;
    // Whether any field was touched since the vehicle was loaded.
    bool m_changed = false;

    QLineEdit* m_tip = nullptr;
    QLineEdit* m_oznaka = nullptr;
    QLineEdit* m_masa = nullptr;
    QLineEdit* m_nosivost = nullptr;
    QLineEdit* m_ukupno = nullptr;
    QComboBox* m_vrsta = nullptr;
    QPlainTextEdit* m_napomena = nullptr;
    QLineEdit* m_garazniBroj = nullptr;
    QLineEdit* m_brojSasije = nullptr;
    QLineEdit* m_brojSjedala = nullptr;
    QCheckBox* m_aktivan = nullptr;
    QLineEdit* m_godPro = nullptr;
    QLineEdit* m_godPrveReg = nullptr;
    QPushButton* m_storeButton = nullptr;
};
