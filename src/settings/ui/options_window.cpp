#include "settings/ui/options_window.h"

#include "common/profile_file.h"
#include "common/time_text.h"
#include "ui/field_makers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QSpinBox>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {


const QString kSpecialKorekcijaCaption = QStringLiteral("korekcija i za \"smetnje\" do                 minute");
const QString kSpecialKorekcijaLead = QStringLiteral("korekcija i za \"smetnje\" do ");
constexpr int kSpecialMinBlanks = 16;  // the blanks of the caption the minutes field covers
constexpr int kSwatchWidth = 60;
constexpr int kSwatchHeight = 18;
constexpr int kPrinterListWidth = 260;

QComboBox* NewPrinterList(const char* name, const QStringList& printers)
{
    auto* list = new QComboBox;
    list->setObjectName(QLatin1String(name));
    list->addItems(printers);
    list->setMinimumWidth(kPrinterListWidth);
    return list;
}

QGroupBox* NewGroup(const QString& title, QLayout* layout)
{
    auto* group = new QGroupBox(title);
    group->setLayout(layout);
    return group;
}

QWidget* NewPage(const QList<QWidget*>& groups)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    for (QWidget* group : groups) {
        layout->addWidget(group);
    }
    layout->addStretch();
    return page;
}

void ChooseItem(QComboBox* list, const QString& text)
{
    list->setCurrentIndex(text.isEmpty() ? -1 : list->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive));
}

}  // namespace


OptionsWindow::OptionsWindow(Settings& settings, const QStringList& installedPrinters, QWidget* parent)
    : QDialog(parent)
    , m_settings(settings)
{
    setObjectName(QStringLiteral("TopcijeForm"));
    setWindowTitle(QStringLiteral("Postavke"));

    m_evPrinter = NewPrinterList("EVPrinter", installedPrinters);
    m_izvjPrinter = NewPrinterList("IzvjPrinter", installedPrinters);
    m_grPrinter = NewPrinterList("GRPrinter", installedPrinters);

    auto* pages = new QTabWidget;
    pages->setObjectName(QStringLiteral("PageControl1"));
    pages->addTab(buildCompanyPage(), QStringLiteral("Tvrtka"));
    pages->addTab(buildPrintPage(), QStringLiteral("Ispis"));
    pages->addTab(buildDisplayPage(), QStringLiteral("Prikaz"));
    pages->addTab(buildAccountingPage(), QStringLiteral("Obračun"));
    pages->addTab(buildChartPage(), QStringLiteral("Taholistići"));
    pages->setTabVisible(pages->addTab(buildHiddenPage(), QStringLiteral("Ostalo")), false);

    auto* save = new QPushButton(QStringLiteral("Zapamti"));
    save->setObjectName(QStringLiteral("BitBtnZapamti"));
    auto* cancel = new QPushButton(QStringLiteral("Otkaži"));
    cancel->setObjectName(QStringLiteral("BitBtnOtkazi"));
    // Enter in a field does not close the window: only the buttons do.
    save->setAutoDefault(false);
    cancel->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &OptionsWindow::storeSettings);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addLayout(buttons);

    m_kept = m_settings.values();
    showValues(m_kept);

    // Every change is live at once, as the operator leaves a field or ticks a box.
    for (QLineEdit* field : findChildren<QLineEdit*>())
        connect(field, &QLineEdit::editingFinished, this, &OptionsWindow::commit);
    for (QCheckBox* box : findChildren<QCheckBox*>())
        connect(box, &QCheckBox::toggled, this, &OptionsWindow::commit);
    for (QComboBox* list : findChildren<QComboBox*>())
        connect(list, &QComboBox::currentIndexChanged, this, &OptionsWindow::commit);
}

OptionsWindow::~OptionsWindow() = default;

QWidget* OptionsWindow::buildCompanyPage()
{
    m_naziv = NewLineEdit(nullptr, "TvNaziv");
    m_adresa = NewLineEdit(nullptr, "TvAdresa");
    m_sjediste = NewLineEdit(nullptr, "Sjediste");
    m_drzava = NewLineEdit(nullptr, "Drzava");
    m_mjObracun = NewLineEdit(nullptr, "MjObracun");
    m_mjPotpisa = NewLineEdit(nullptr, "MPotpisa", 60);
    m_posta = NewLineEdit(nullptr, "Posta");
    m_mbr = NewLineEdit(nullptr, "TvMBR", 13);
    m_oib = NewLineEdit(nullptr, "TvOIB", 11);
    m_telefon = NewLineEdit(nullptr, "Telefon", 13);
    m_faks = NewLineEdit(nullptr, "Faks", 13);
    m_email = NewLineEdit(nullptr, "email");

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Naziv tvrtke:"), m_naziv);
    form->addRow(QStringLiteral("Adresa:"), m_adresa);
    form->addRow(QStringLiteral("Sjedište:"), m_sjediste);
    form->addRow(QStringLiteral("Država:"), m_drzava);
    form->addRow(QStringLiteral("Mjesto obračuna:"), m_mjObracun);
    form->addRow(QStringLiteral("Mjesto potpisa:"), m_mjPotpisa);
    form->addRow(QStringLiteral("Pošta:"), m_posta);
    form->addRow(QStringLiteral("MBR:"), m_mbr);
    form->addRow(QStringLiteral("OIB:"), m_oib);
    form->addRow(QStringLiteral("Telefon:"), m_telefon);
    form->addRow(QStringLiteral("Faks:"), m_faks);
    form->addRow(QStringLiteral("E-mail:"), m_email);
    return NewPage({NewGroup(QStringLiteral("Podaci o tvrtki: "), form)});
}

QWidget* OptionsWindow::buildPrintPage()
{
    m_showBeforeEv = NewCheckBox(nullptr, "ShowBeforeEvIspis", QStringLiteral("Prikaži prije ispisa"));
    m_autoIspis = NewCheckBox(nullptr, "autoIspis", QStringLiteral("Automatski ispisuj nakon dodavanja ili promjene"));
    m_showBeforeIzvj = NewCheckBox(nullptr, "ShowBeforeIzvjIspis", QStringLiteral("Prikaži prije ispisa"));
    m_stretchPrint = NewCheckBox(nullptr, "StretchPrint", QStringLiteral("Ispisuj bilješke u više redaka ako ne stane..."));
    m_showBeforeGr = NewCheckBox(nullptr, "ShowBeforeGR", QStringLiteral("Prikaži prije ispisa"));
    m_head = NewLineEdit(nullptr, "Head");
    m_head->setVisible(false);

    auto* attestation = new QFormLayout;
    attestation->addRow(QStringLiteral("Ispisuj na:"), m_evPrinter);
    attestation->addRow(m_showBeforeEv);
    attestation->addRow(m_autoIspis);
    auto* reports = new QFormLayout;
    reports->addRow(QStringLiteral("Ispisuj na:"), m_izvjPrinter);
    reports->addRow(m_showBeforeIzvj);
    reports->addRow(m_stretchPrint);
    reports->addRow(m_head);
    auto* graphs = new QFormLayout;
    graphs->addRow(QStringLiteral("Ispisuj na:"), m_grPrinter);
    graphs->addRow(m_showBeforeGr);
    return NewPage({NewGroup(QStringLiteral("Ispis AETR potvrde: "), attestation),
        NewGroup(QStringLiteral("Ispis izvještaja: "), reports),
        NewGroup(QStringLiteral("Grafički ispis aktivnosti:"), graphs)});
}

QWidget* OptionsWindow::buildDisplayPage()
{
    const std::array<QString, 4> labels = {QStringLiteral("Odmor:"), QStringLiteral("Spremnost:"),
        QStringLiteral("Ostali rad:"), QStringLiteral("Vožnja:")};
    auto* colours = new QFormLayout;
    for (int kind = 0; kind < int(labels.size()); ++kind) {
        auto* swatch = new QFrame;
        swatch->setObjectName(QStringLiteral("T%1Boja").arg(kind));
        swatch->setFrameShape(QFrame::Box);
        swatch->setFixedSize(kSwatchWidth, kSwatchHeight);
        swatch->setAutoFillBackground(true);
        m_colourSwatches[kind] = swatch;
        colours->addRow(labels[kind], swatch);
    }
    m_sumarno2x2 = NewCheckBox(nullptr, "Sumarno2x2", QStringLiteral("Sumarno dani 2x2"));
    return NewPage({NewGroup(QStringLiteral("Boje na dnevnom grafu po aktivnostima: "), colours), m_sumarno2x2});
}

QWidget* OptionsWindow::buildAccountingPage()
{
    m_nocniOd = NewLineEdit(nullptr, "NocniOd");
    m_nocniDo = NewLineEdit(nullptr, "NocniDo");
    for (QLineEdit* field : {m_nocniOd, m_nocniDo}) {
        connect(field, &QLineEdit::editingFinished, this, [this, field] { commitTimeField(field); });
    }
    m_addCheck = NewCheckBox(nullptr, "AddCheck", QStringLiteral("Dodatna kontrola od-do unosa + automatska korekcija"));

    auto* night = new QHBoxLayout;
    night->addWidget(new QLabel(QStringLiteral("Noćni rad od:")));
    night->addWidget(m_nocniOd);
    night->addWidget(new QLabel(QStringLiteral("do:")));
    night->addWidget(m_nocniDo);
    night->addStretch();
    auto* manual = new QVBoxLayout;
    manual->addWidget(m_addCheck);
    m_refMjeseci = new QSpinBox;
    m_refMjeseci->setObjectName(QStringLiteral("RefMjeseci"));
    m_refMjeseci->setRange(1, 12);
    m_praznineOdmor = NewCheckBox(nullptr, "PraznineOdmor", QStringLiteral("Vrijeme bez ikakvog zapisa smatraj odmorom"));
    auto* reference = new QHBoxLayout;
    reference->addWidget(new QLabel(QStringLiteral("Referentno razdoblje prosjeka od 48 sati (mjeseci):")));
    reference->addWidget(m_refMjeseci);
    reference->addStretch();
    m_prazninaSati = new QSpinBox;
    m_prazninaSati->setObjectName(QStringLiteral("PrazninaSati"));
    m_prazninaSati->setRange(1, 7 * 24);
    auto* gaps = new QHBoxLayout;
    gaps->addWidget(new QLabel(QStringLiteral("Praznina u evidenciji najmanje (sati):")));
    gaps->addWidget(m_prazninaSati);
    gaps->addStretch();
    auto* checks = new QVBoxLayout;
    checks->addLayout(reference);
    checks->addWidget(m_praznineOdmor);
    checks->addLayout(gaps);
    return NewPage({NewGroup(QStringLiteral("Noćni rad: "), night),
        NewGroup(QStringLiteral("Ručni unos satnice aktivnosti: "), manual),
        NewGroup(QStringLiteral("Kontrola propisa: "), checks)});
}

QWidget* OptionsWindow::buildChartPage()
{
    m_min1 = NewCheckBox(nullptr, "Min1", QStringLiteral("aktivnost od jedne minute poveži sa prethodnom"));
    m_minVoznja = NewCheckBox(nullptr, "minVoznja", QStringLiteral("poveži s vožnjom ako  je uz vožnju (vožnja prethodi ili slijedi)"));
    m_neminVoznja = NewCheckBox(nullptr, "neminVoznja", QStringLiteral("ne korigiraj ako je kratka aktivnost vožnja"));
    m_neminOdmor = NewCheckBox(nullptr, "neminOdmor", QStringLiteral("ne korigiraj ako je kratka aktivnost odmor"));
    m_odmor = NewCheckBox(nullptr, "odmor", QStringLiteral("odmor kraći od 15 min zamijeni spremnošću za rad"));
    m_centarRadijus = NewCheckBox(nullptr, "CentarRadijus", QStringLiteral("promjena radijusa uz promjenu centra listića"));
    m_finoPoravnaj = NewCheckBox(nullptr, "FinoPoravnaj", QStringLiteral("Automatski fino poravnaj geometriju"));
    m_finoPoravnaj->setToolTip(QStringLiteral(
        "Listić se traži i izrezuje usrednjavanjem piksela skena, centar, radijus i 00:00 određuju se "
        "na dio piksela odnosno stupnja, a debljina traga mjeri se na pola puta između papira i traga."));

    // The minutes field sits inside the caption's run of blanks.
    m_specialKorekcija = NewCheckBox(nullptr, "specialKorekcija", kSpecialKorekcijaCaption);
    m_specialMin = NewLineEdit(nullptr, "specialMin");
    m_specialMin->setParent(m_specialKorekcija);
    const QFontMetrics metrics = m_specialKorekcija->fontMetrics();
    const int captionLeft = style()->pixelMetric(QStyle::PM_IndicatorWidth) + style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    const int fieldHeight = m_specialMin->sizeHint().height();
    m_specialKorekcija->setMinimumHeight(fieldHeight);
    m_specialMin->setGeometry(captionLeft + metrics.horizontalAdvance(kSpecialKorekcijaLead), 0,
        metrics.horizontalAdvance(QString(kSpecialMinBlanks, QLatin1Char(' '))), fieldHeight);

    auto* shortActivities = new QVBoxLayout;
    for (QWidget* box : {m_min1, m_minVoznja, m_neminVoznja, m_neminOdmor, m_specialKorekcija}) {
        shortActivities->addWidget(box);
    }
    auto* reading = new QVBoxLayout;
    reading->addWidget(NewGroup(QStringLiteral("1 min aktivnosti/smetnje:"), shortActivities));
    reading->addWidget(m_odmor);
    reading->addWidget(m_centarRadijus);
    reading->addWidget(m_finoPoravnaj);

    m_skenFolder = NewLineEdit(nullptr, "SkenFolder");
    auto* browse = new QToolButton;
    browse->setObjectName(QStringLiteral("SkenFolderButton"));
    browse->setText(QStringLiteral("..."));
    connect(browse, &QToolButton::clicked, this, &OptionsWindow::chooseScanFolder);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(new QLabel(QStringLiteral("Direktorij:")));
    folderRow->addWidget(m_skenFolder);
    folderRow->addWidget(browse);
    auto* archive = new QVBoxLayout;
    archive->addLayout(folderRow);
    archive->addWidget(NewCheckBox(nullptr, "PremjestiSliku", QStringLiteral("Premjesti ubačenu sliku u poddirektorij")));
    archive->addWidget(NewCheckBox(nullptr, "GrupirajPoDatumima", QStringLiteral("Grupiranje obrađenih po datumima")));

    return NewPage({NewGroup(QStringLiteral("KTS - Kestrova - postavke: "), reading),
        NewGroup(QStringLiteral("Arhiva skeniranih listića: "), archive)});
}

QWidget* OptionsWindow::buildHiddenPage()
{
    m_folder = NewLineEdit(nullptr, "Folder");
    m_zona = new QComboBox;
    m_zona->setObjectName(QStringLiteral("zona"));
    for (const PickItem& zone : ZoneItems())
        m_zona->addItem(zone.text, zone.id);
    m_voziloConnect = NewCheckBox(nullptr, "VoziloConnect", QStringLiteral("Poveži vozilo"));
    m_odZadnjeg = NewCheckBox(nullptr, "OdZadnjeg", QStringLiteral("Od zadnjeg"));
    m_autoZadnji = NewCheckBox(nullptr, "AutoZadnji", QStringLiteral("Automatski zadnji"));
    m_snimiOriginal = NewCheckBox(nullptr, "SnimiOriginal", QStringLiteral("Snimi original"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Direktorij:"), m_folder);
    form->addRow(QStringLiteral("Zona:"), m_zona);
    form->addRow(m_voziloConnect);
    form->addRow(m_odZadnjeg);
    form->addRow(m_autoZadnji);
    form->addRow(m_snimiOriginal);
    auto* page = new QWidget;
    page->setLayout(form);
    return page;
}

void OptionsWindow::showValues(const SettingsValues& v)
{
    m_naziv->setText(v.companyName);
    m_adresa->setText(v.companyAddress);
    m_sjediste->setText(v.companySeat);
    m_drzava->setText(v.companyCountry);
    m_mjObracun->setText(v.calculationPlace);
    m_mjPotpisa->setText(v.signingPlace);
    m_posta->setText(v.postCode);
    m_mbr->setText(v.companyRegistrationNumber);
    m_oib->setText(v.companyTaxNumber);
    m_telefon->setText(v.phone);
    m_faks->setText(v.fax);
    m_email->setText(v.email);
    m_folder->setText(v.cardFileFolder);

    ChooseItem(m_evPrinter, v.attestationPrinter);
    m_showBeforeEv->setChecked(v.attestationPreview);
    m_autoIspis->setChecked(v.printAfterStore);
    ChooseItem(m_izvjPrinter, v.reportPrinter);
    m_showBeforeIzvj->setChecked(v.reportPreview);
    m_head->setText(v.rosterHeader);
    ChooseItem(m_grPrinter, v.graphPrinter);
    m_showBeforeGr->setChecked(v.graphPreview);
    m_stretchPrint->setChecked(v.notesOnSeveralLines);

    const std::array<int, 4> colours = {v.restColour, v.availabilityColour, v.workColour, v.drivingColour};
    for (int kind = 0; kind < int(colours.size()); ++kind) {
        QPalette palette = m_colourSwatches[kind]->palette();
        palette.setColor(QPalette::Window, SettingColour(colours[kind]));
        m_colourSwatches[kind]->setPalette(palette);
    }
    m_sumarno2x2->setChecked(v.summaryTwoByTwo);

    m_zona->setCurrentIndex(v.zoneIndex);
    m_voziloConnect->setChecked(v.zoneVehicle);
    m_odZadnjeg->setChecked(v.zoneFromLast);
    m_autoZadnji->setChecked(v.zoneAutoLast);
    m_snimiOriginal->setChecked(v.zoneSaveOriginal);

    m_nocniOd->setText(FormatMinutes(v.night.from));
    m_nocniDo->setText(FormatMinutes(v.night.to));
    m_addCheck->setChecked(v.checkTypedTimes);
    m_refMjeseci->setValue(v.referenceMonths);
    m_praznineOdmor->setChecked(v.timeWithoutRecordsIsRest);
    m_prazninaSati->setValue(v.shortestGapHours);

    m_min1->setChecked(v.joinOneMinute);
    m_minVoznja->setChecked(v.joinToDriving);
    m_neminVoznja->setChecked(v.keepShortDriving);
    m_odmor->setChecked(v.shortRestIsAvailability);
    m_neminOdmor->setChecked(v.keepShortRest);
    m_centarRadijus->setChecked(v.radiusFollowsCentre);
    m_finoPoravnaj->setChecked(v.fineAlignment);
    m_specialKorekcija->setChecked(v.correctDisturbances);
    m_specialMin->setText(QString::number(v.disturbanceMinutes));
    m_skenFolder->setText(v.scanFolder);
}

SettingsValues OptionsWindow::values() const
{
    SettingsValues v = m_kept;
    v.companyName = m_naziv->text();
    v.companyAddress = m_adresa->text();
    v.companySeat = m_sjediste->text();
    v.companyCountry = m_drzava->text();
    v.calculationPlace = m_mjObracun->text();
    v.signingPlace = m_mjPotpisa->text();
    v.postCode = m_posta->text();
    v.companyRegistrationNumber = m_mbr->text();
    v.companyTaxNumber = m_oib->text();
    v.phone = m_telefon->text();
    v.fax = m_faks->text();
    v.email = m_email->text();
    v.cardFileFolder = m_folder->text();

    v.attestationPrinter = m_evPrinter->currentText();
    v.attestationPreview = m_showBeforeEv->isChecked();
    v.printAfterStore = m_autoIspis->isChecked();
    v.reportPrinter = m_izvjPrinter->currentText();
    v.reportPreview = m_showBeforeIzvj->isChecked();
    v.rosterHeader = m_head->text();
    v.graphPrinter = m_grPrinter->currentText();
    v.graphPreview = m_showBeforeGr->isChecked();
    v.notesOnSeveralLines = m_stretchPrint->isChecked();

    v.summaryTwoByTwo = m_sumarno2x2->isChecked();

    v.zoneIndex = m_zona->currentIndex();
    v.zoneVehicle = m_voziloConnect->isChecked();
    v.zoneFromLast = m_odZadnjeg->isChecked();
    v.zoneAutoLast = m_autoZadnji->isChecked();
    v.zoneSaveOriginal = m_snimiOriginal->isChecked();

    v.checkTypedTimes = m_addCheck->isChecked();
    v.referenceMonths = m_refMjeseci->value();
    v.timeWithoutRecordsIsRest = m_praznineOdmor->isChecked();
    v.shortestGapHours = m_prazninaSati->value();

    v.joinOneMinute = m_min1->isChecked();
    v.joinToDriving = m_minVoznja->isChecked();
    v.keepShortDriving = m_neminVoznja->isChecked();
    v.shortRestIsAvailability = m_odmor->isChecked();
    v.keepShortRest = m_neminOdmor->isChecked();
    v.radiusFollowsCentre = m_centarRadijus->isChecked();
    v.fineAlignment = m_finoPoravnaj->isChecked();
    v.correctDisturbances = m_specialKorekcija->isChecked();
    bool whole = false;
    const int minutes = m_specialMin->text().trimmed().toInt(&whole);
    v.disturbanceMinutes = whole ? minutes : SettingsValues().disturbanceMinutes;
    v.scanFolder = m_skenFolder->text();
    return v;
}

void OptionsWindow::commitTimeField(QLineEdit* field)
{
    int& accepted = field == m_nocniOd ? m_kept.night.from : m_kept.night.to;
    const std::optional<int> minutes = TimeTextMinutes(field->text());
    if (!minutes) {
        QMessageBox::warning(this, windowTitle(), QStringLiteral("'%1' nije ispravno vrijeme").arg(field->text()));
    } else {
        accepted = *minutes;
    }
    field->setText(FormatMinutes(accepted));
}

void OptionsWindow::commit()
{
    // A night time being typed counts only once it reads as a time: values() takes the night
    // window accepted last.
    m_settings.commit(values());
}

void OptionsWindow::done(int result)
{
    commitTimeField(m_nocniOd);
    commitTimeField(m_nocniDo);
    commit();
    QDialog::done(result);
}

void OptionsWindow::storeSettings()
{
    commitTimeField(m_nocniOd);
    commitTimeField(m_nocniDo);
    commit();
    if (!m_settings.save()) {
        QMessageBox::warning(this, windowTitle(),
            QStringLiteral("Postavke nije moguće zapisati u datoteku %1.").arg(m_settings.path()));
        return;
    }
    accept();
}

void OptionsWindow::chooseScanFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Direktorij:"), m_skenFolder->text());
    if (!folder.isEmpty()) {
        m_skenFolder->setText(folder);
    }
}
