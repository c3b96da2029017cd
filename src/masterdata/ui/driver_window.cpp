#include "masterdata/ui/driver_window.h"

#include "ui/date_field.h"
#include "ui/field_makers.h"
#include "ui/message_box.h"
#include "session/session.h"
#include "masterdata/driver_store.h"
#include "masterdata/record_fields.h"
#include "masterdata/ui/record_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kNoName = QStringLiteral("Niste unijeli ime i prezime djelatnika!");
DateField* NewDateField(QWidget* parent, const char* objectName)
{
    auto* field = new DateField(parent);
    field->setObjectName(QLatin1String(objectName));
    return field;
}

// Two fields side by side in one row of the form.
QWidget* Pair(QWidget* parent, QWidget* left, QWidget* right)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(left);
    layout->addWidget(right);
    return row;
}

}  // namespace

DriverWindow::DriverWindow(Session& session, QWidget* parent) : RecordWindow(parent), m_session(session)
{
    setObjectName(QStringLiteral("DjelatnikForm"));
    setWindowTitle(QStringLiteral("Podaci o vozaču"));
    buildFields();
    connect(m_radnoMjesto, &QLineEdit::editingFinished, this, &DriverWindow::markDriverByJobTitle);
    connect(m_maticniBroj, &QLineEdit::editingFinished, this, &DriverWindow::normaliseRegistrationNumber);
}

void DriverWindow::buildFields()
{
    m_ime = NewLineEdit(this, "Ime", 70);
    m_zap = new QComboBox(this);
    m_zap->setObjectName(QStringLiteral("Zap"));
    m_zap->addItems({QStringLiteral("Stalni radni odnos"), QStringLiteral("Ugovor")});
    m_zap->setCurrentIndex(-1);
    m_maticniBroj = NewLineEdit(this, "MaticniBroj", 20);
    m_zvanje = NewLineEdit(this, "Zvanje", 70);
    m_radnoMjesto = NewLineEdit(this, "RadnoMjesto", 70);
    m_tip = new QComboBox(this);
    m_tip->setObjectName(QStringLiteral("Tip"));
    m_tip->addItem(QString());
    for (char letter = 'A'; letter <= 'H'; ++letter)
        m_tip->addItem(QString(QLatin1Char(letter)));
    m_tipStr = NewLineEdit(this, "TipStr", 100);
    m_vozac = NewCheckBox(this, "Vozac", QStringLiteral("Vozač"));
    m_aktiv = NewCheckBox(this, "Aktiv", QStringLiteral("Aktivan"));
    m_adresa = NewLineEdit(this, "Adresa", 100);
    m_kontakt = NewLineEdit(this, "Kontakt", 100);
    m_oib = NewLineEdit(this, "OIB", 11);
    m_kartica = NewLineEdit(this, "Kartica", 20);
    m_osobna = NewLineEdit(this, "Osobna", 20);
    m_vozacka = NewLineEdit(this, "Vozacka", 20);
    m_putovnica = NewLineEdit(this, "Putovnica", 20);
    m_dRodenja = NewDateField(this, "DRodenja");
    m_datZaposlen = NewDateField(this, "DatZaposlen");
    m_napomena = new QPlainTextEdit(this);
    m_napomena->setObjectName(QStringLiteral("Napomena"));
    m_napomena->setTabChangesFocus(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Prezime i ime:"), m_ime);
    form->addRow(QStringLiteral("Zaposlenje:"), m_zap);
    form->addRow(QStringLiteral("Matični broj:"), m_maticniBroj);
    form->addRow(QStringLiteral("Zvanje:"), m_zvanje);
    form->addRow(QStringLiteral("Radno mjesto:"), m_radnoMjesto);
    form->addRow(QStringLiteral("Tip:"), Pair(this, m_tip, m_tipStr));
    form->addRow(QString(), Pair(this, m_vozac, m_aktiv));
    form->addRow(QStringLiteral("Adresa:"), m_adresa);
    form->addRow(QStringLiteral("Kontakt:"), m_kontakt);
    form->addRow(QStringLiteral("OIB:"), m_oib);
    form->addRow(QStringLiteral("Broj digitalne kartice:"), m_kartica);
    form->addRow(QStringLiteral("Broj osobne iskaznice:"), m_osobna);
    form->addRow(QStringLiteral("Broj vozačke:"), m_vozacka);
    form->addRow(QStringLiteral("Broj putovnice:"), m_putovnica);
    form->addRow(QStringLiteral("Dat. rođenja:"), m_dRodenja);
    form->addRow(QStringLiteral("Zaposlen od:"), m_datZaposlen);
    form->addRow(QStringLiteral("Napomena:"), m_napomena);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    addButtonBar(*layout);
}

QWidget* DriverWindow::firstField() const
{
    return m_ime;
}

void DriverWindow::clearForNew()
{
    for (QLineEdit* field : {m_ime, m_zvanje, m_radnoMjesto, m_adresa, m_kontakt, m_osobna, m_maticniBroj, m_tipStr,
                             m_vozacka, m_putovnica, m_oib, m_kartica})
        field->clear();
    m_napomena->clear();
    m_vozac->setChecked(true);
    m_aktiv->setChecked(true);
    m_tip->setCurrentIndex(0);
    m_dRodenja->setDate(QDate::currentDate());
    m_datZaposlen->setDate(QDate::currentDate());
}

bool DriverWindow::loadExisting()
{
    const std::optional<DriverRecord> record = LoadShownRecord(this, m_session, recordId, LoadDriver);
    if (!record)
        return false;
    const auto choose = [](QComboBox* box, int index) {
        box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
    };
    m_ime->setText(record->name);
    choose(m_zap, record->employment);
    m_maticniBroj->setText(QString::number(record->registrationNumber));
    m_zvanje->setText(record->title);
    m_radnoMjesto->setText(record->jobTitle);
    choose(m_tip, record->category);
    m_tipStr->setText(record->categoryText);
    m_vozac->setChecked(record->driver);
    m_aktiv->setChecked(record->active);
    m_adresa->setText(record->address);
    m_kontakt->setText(record->contact);
    m_oib->setText(record->oib);
    m_kartica->setText(record->card);
    m_osobna->setText(record->idCard);
    m_vozacka->setText(record->licence);
    m_putovnica->setText(record->passport);
    m_dRodenja->setDate(record->birthDate);
    m_datZaposlen->setDate(record->employedSince);
    m_napomena->setPlainText(record->remark);
    return true;
}

void DriverWindow::markDriverByJobTitle()
{
    if (IsDriverJobTitle(m_radnoMjesto->text()))
        m_vozac->setChecked(true);
}

void DriverWindow::normaliseRegistrationNumber()
{
    m_maticniBroj->setText(RegistrationNumberText(m_maticniBroj->text()));
}

void DriverWindow::storeRecord()
{
    if (m_ime->text().trimmed().isEmpty()) {
        ShowMessage(this, kNoName);
        m_ime->setFocus();
        return;
    }
    DriverRecord record;
    record.name = m_ime->text();
    record.title = m_zvanje->text();
    record.jobTitle = m_radnoMjesto->text();
    record.driver = m_vozac->isChecked();
    record.active = m_aktiv->isChecked();
    record.remark = m_napomena->toPlainText();
    record.idCard = m_osobna->text();
    record.address = m_adresa->text();
    record.contact = m_kontakt->text();
    record.registrationNumber = WholeNumberOr(m_maticniBroj->text(), 0);
    record.category = m_tip->currentIndex();
    record.categoryText = m_tipStr->text();
    record.employment = m_zap->currentIndex();
    record.licence = m_vozacka->text();
    record.passport = m_putovnica->text();
    record.employedSince = m_datZaposlen->date();
    record.birthDate = m_dRodenja->date();
    record.oib = m_oib->text();
    record.card = m_kartica->text();

    const WriteResult result = StoreTryingAgain(this, [&] {
        Transaction write = m_session.write();
        return StoreDriver(write, recordId, record);
    });
    if (!result.done)
        return;
    m_storedId = result.id;
    accept();
}
