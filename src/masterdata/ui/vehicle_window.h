#pragma once

#include "masterdata/ui/record_window.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class Session;

// The vehicle record "Podaci o vozilu": one row of VOZILO, new or existing. The caller sets ID
// and shows it modally with exec(); Accepted ("OK") means it was closed by the store button (the
// vehicle was stored, or nothing had changed), Rejected that nothing was stored.
class VehicleWindow : public RecordWindow {
    Q_OBJECT

public:
    explicit VehicleWindow(Session& session, QWidget* parent = nullptr);

private:
    void buildFields();
    void clearForNew() override;
    bool loadExisting() override;
    QWidget* firstField() const override;
    void store() override { storeRecord(); }
    void markChanged();
    void storeRecord();

    Session& m_session;
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
};
