#pragma once

#include "settings/settings.h"

#include <QDialog>
#include <QStringList>

#include <array>
#include <utility>

class QCheckBox;
class QSpinBox;
class QComboBox;
class QFrame;
class QLineEdit;

// The options window "Postavke", the editor of the live settings: it shows them as they are,
// and every field the operator changes is committed to them at once, whether or not the
// operator pressed "Zapamti" (which writes the settings file).
class OptionsWindow : public QDialog {
    Q_OBJECT

public:
    // `installedPrinters` are the printers the printer lists offer.
    OptionsWindow(Settings& settings, const QStringList& installedPrinters, QWidget* parent = nullptr);
    ~OptionsWindow() override;

    // The values of the fields, with the kept values that have no field.
    SettingsValues values() const;


    void done(int result) override;

private:
    QWidget* buildCompanyPage();
    QWidget* buildPrintPage();
    QWidget* buildDisplayPage();
    QWidget* buildAccountingPage();
    QWidget* buildChartPage();
    QWidget* buildHiddenPage();
    void showValues(const SettingsValues& values);
    void commitTimeField(QLineEdit* field);
    // Hands what the fields hold to the live settings.
    void commit();
    void storeSettings();
    void chooseScanFolder();

    Settings& m_settings;
    // The values without a field (colours, chart geometry) as read, and the last accepted night times.
    SettingsValues m_kept;

    QLineEdit* m_naziv = nullptr;
    QLineEdit* m_adresa = nullptr;
    QLineEdit* m_sjediste = nullptr;
    QLineEdit* m_drzava = nullptr;
    QLineEdit* m_mjObracun = nullptr;
    QLineEdit* m_mjPotpisa = nullptr;
    QLineEdit* m_posta = nullptr;
    QLineEdit* m_mbr = nullptr;
    QLineEdit* m_oib = nullptr;
    QLineEdit* m_telefon = nullptr;
    QLineEdit* m_faks = nullptr;
    QLineEdit* m_email = nullptr;
    QLineEdit* m_folder = nullptr;

    QComboBox* m_evPrinter = nullptr;
    QCheckBox* m_showBeforeEv = nullptr;
    QCheckBox* m_autoIspis = nullptr;
    QComboBox* m_izvjPrinter = nullptr;
    QCheckBox* m_showBeforeIzvj = nullptr;
    QLineEdit* m_head = nullptr;
    QComboBox* m_grPrinter = nullptr;
    QCheckBox* m_showBeforeGr = nullptr;
    QCheckBox* m_stretchPrint = nullptr;

    std::array<QFrame*, 4> m_colourSwatches{};
    QCheckBox* m_sumarno2x2 = nullptr;

    QComboBox* m_zona = nullptr;
    QCheckBox* m_voziloConnect = nullptr;
    QCheckBox* m_odZadnjeg = nullptr;
    QCheckBox* m_autoZadnji = nullptr;
    QCheckBox* m_snimiOriginal = nullptr;

    QLineEdit* m_nocniOd = nullptr;
    QLineEdit* m_nocniDo = nullptr;
    QCheckBox* m_addCheck = nullptr;
    QSpinBox* m_refMjeseci = nullptr;
    QCheckBox* m_praznineOdmor = nullptr;
    QSpinBox* m_prazninaSati = nullptr;

    QCheckBox* m_min1 = nullptr;
    QCheckBox* m_minVoznja = nullptr;
    QCheckBox* m_neminVoznja = nullptr;
    QCheckBox* m_odmor = nullptr;
    QCheckBox* m_neminOdmor = nullptr;
    QCheckBox* m_centarRadijus = nullptr;
    QCheckBox* m_finoPoravnaj = nullptr;
    QCheckBox* m_specialKorekcija = nullptr;
    QLineEdit* m_specialMin = nullptr;
    QLineEdit* m_skenFolder = nullptr;
};
