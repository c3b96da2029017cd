#pragma once

#include "masterdata/ui/record_window.h"

class QCheckBox;
class QComboBox;
class DateField;
class QLineEdit;
class QPlainTextEdit;
class Session;

// The driver record "Podaci o vozaču": one employee (a driver or other staff) of DJELATNICI,
// new or existing. The caller sets ID and shows it modally with exec(); Accepted ("OK") means
// the employee was stored, Rejected that nothing was.
class DriverWindow : public RecordWindow {
    Q_OBJECT

public:
    explicit DriverWindow(Session& session, QWidget* parent = nullptr);

private:
    void buildFields();
    void clearForNew() override;
    bool loadExisting() override;
    QWidget* firstField() const override;
    void store() override { storeRecord(); }
    void markDriverByJobTitle();
    void normaliseRegistrationNumber();
    void storeRecord();

    Session& m_session;

    QLineEdit* m_ime = nullptr;
    QComboBox* m_zap = nullptr;
    QLineEdit* m_maticniBroj = nullptr;
    QLineEdit* m_zvanje = nullptr;
    QLineEdit* m_radnoMjesto = nullptr;
    QComboBox* m_tip = nullptr;
    QLineEdit* m_tipStr = nullptr;
    QCheckBox* m_vozac = nullptr;
    QCheckBox* m_aktiv = nullptr;
    QLineEdit* m_adresa = nullptr;
    QLineEdit* m_kontakt = nullptr;
    QLineEdit* m_oib = nullptr;
    QLineEdit* m_kartica = nullptr;
    QLineEdit* m_osobna = nullptr;
    QLineEdit* m_vozacka = nullptr;
    QLineEdit* m_putovnica = nullptr;
    DateField* m_dRodenja = nullptr;
    DateField* m_datZaposlen = nullptr;
    QPlainTextEdit* m_napomena = nullptr;
};
