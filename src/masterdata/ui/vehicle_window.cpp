#include "masterdata/ui/vehicle_window.h"

#include "ui/field_makers.h"
#include "ui/look.h"
#include "ui/message_box.h"
#include "common/decimal_text.h"
#include "session/session.h"
#include "masterdata/record_fields.h"
#include "masterdata/ui/record_window.h"
#include "masterdata/vehicle_store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kNoMake = QStringLiteral("Niste unijeli marku i tip vozila!");
const QString kNoPlate = QStringLiteral("Niste unijeli oznaku vozila!");
constexpr int kMassLength = 12;

QString MassText(Decimal3 mass)
{
    return FormatDecimal(mass.toText());
}

}  // namespace

VehicleWindow::VehicleWindow(Session& session, QWidget* parent) : RecordWindow(parent), m_session(session)
{
    setObjectName(QStringLiteral("VoziloForm"));
    setWindowTitle(QStringLiteral("Podaci o vozilu"));
    buildFields();
    for (QLineEdit* field : {m_tip, m_oznaka, m_masa, m_nosivost, m_ukupno, m_garazniBroj, m_brojSasije, m_brojSjedala,
                             m_godPro, m_godPrveReg})
        connect(field, &QLineEdit::textEdited, this, &VehicleWindow::markChanged);
    connect(m_vrsta, &QComboBox::activated, this, &VehicleWindow::markChanged);
    connect(m_napomena, &QPlainTextEdit::textChanged, this, &VehicleWindow::markChanged);
    connect(m_aktivan, &QCheckBox::clicked, this, &VehicleWindow::markChanged);
}

void VehicleWindow::buildFields()
{
    m_tip = NewLineEdit(this, "Tip", 40);
    m_oznaka = NewLineEdit(this, "Oznaka", 20);
    m_masa = NewLineEdit(this, "masa", kMassLength);
    m_nosivost = NewLineEdit(this, "Nosivost", kMassLength);
    m_ukupno = NewLineEdit(this, "Ukupno", kMassLength);
    // Room for the largest mass the column holds, as the field shows it.
    for (QLineEdit* mass : {m_masa, m_nosivost, m_ukupno})
        mass->setMinimumWidth(Look::TextWidth(mass, QStringLiteral("9.999,999")));
    m_vrsta = new QComboBox(this);
    m_vrsta->setObjectName(QStringLiteral("Vrsta"));
    m_vrsta->addItems(VehicleKindNames());
    m_napomena = new QPlainTextEdit(this);
    m_napomena->setObjectName(QStringLiteral("Napomena"));
    m_napomena->setTabChangesFocus(true);
    m_garazniBroj = NewLineEdit(this, "GarazniBroj", 10);
    m_brojSasije = NewLineEdit(this, "BrojSasije", 30);
    m_brojSjedala = NewLineEdit(this, "BrojSjedala", 0);
    m_aktivan = new QCheckBox(QStringLiteral("Aktivan"), this);
    m_aktivan->setObjectName(QStringLiteral("CheckBox1"));
    m_godPro = NewLineEdit(this, "GodPro", 0);
    m_godPrveReg = NewLineEdit(this, "GodPrveReg", 0);

    // Columns: label, field, unit, and on the total mass row the kind with its label.
    auto* grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const QString& label, QWidget* field, const QString& unit = QString()) {
        grid->addWidget(new QLabel(label, this), row, 0);
        grid->addWidget(field, row, 1, 1, unit.isEmpty() ? 4 : 1);
        if (!unit.isEmpty())
            grid->addWidget(new QLabel(unit, this), row, 2);
        ++row;
    };
    const QString tonnes = QStringLiteral("(t)");
    addRow(QStringLiteral("Marka i tip:"), m_tip);
    addRow(QStringLiteral("Reg.oznaka:"), m_oznaka);
    addRow(QStringLiteral("Masa:"), m_masa, tonnes);
    addRow(QStringLiteral("Nosivost:"), m_nosivost, tonnes);
    grid->addWidget(new QLabel(QStringLiteral("Vrsta:"), this), row, 3);
    grid->addWidget(m_vrsta, row, 4);
    addRow(QStringLiteral("Ukupna masa:"), m_ukupno, tonnes);
    addRow(QStringLiteral("Napomena:"), m_napomena);
    addRow(QStringLiteral("Garažni broj:"), m_garazniBroj);
    addRow(QStringLiteral("Broj šasije:"), m_brojSasije);
    addRow(QStringLiteral("Broj sjedala:"), m_brojSjedala);
    addRow(QString(), m_aktivan);
    addRow(QStringLiteral("Godina proizvodnje:"), m_godPro);
    addRow(QStringLiteral("Godina prve registracije:"), m_godPrveReg);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    addButtonBar(*layout);
    resize(381, 476);
}

QWidget* VehicleWindow::firstField() const
{
    return m_tip;
}

void VehicleWindow::clearForNew()
{
    for (QLineEdit* field : {m_tip, m_oznaka, m_masa, m_nosivost, m_ukupno, m_garazniBroj, m_brojSasije})
        field->clear();
    m_napomena->clear();
    m_vrsta->setCurrentIndex(0);
    m_aktivan->setChecked(true);
    m_brojSjedala->setText(QString::number(kDefaultSeats));
    const QString year = QString::number(QDate::currentDate().year());
    m_godPro->setText(year);
    m_godPrveReg->setText(year);
    m_changed = false;
}

bool VehicleWindow::loadExisting()
{
    const std::optional<VehicleRecord> record = LoadShownRecord(this, m_session, recordId, LoadVehicle);
    if (!record)
        return false;
    m_tip->setText(record->make);
    m_oznaka->setText(record->plate);
    m_masa->setText(MassText(record->mass));
    m_nosivost->setText(MassText(record->payload));
    m_ukupno->setText(MassText(record->totalMass));
    m_vrsta->setCurrentIndex(record->kind >= 0 && record->kind < m_vrsta->count() ? record->kind : -1);
    m_napomena->setPlainText(record->remark);
    m_garazniBroj->setText(record->garageNumber);
    m_brojSasije->setText(record->chassis);
    m_brojSjedala->setText(QString::number(record->seats));
    m_aktivan->setChecked(record->active);
    m_godPro->setText(QString::number(record->yearMade));
    m_godPrveReg->setText(QString::number(record->yearRegistered));
    m_changed = false;  // after the remark, whose box reports the loading as a change
    return true;
}

void VehicleWindow::markChanged()
{
    m_changed = true;
}

void VehicleWindow::storeRecord()
{
    if (m_tip->text().trimmed().isEmpty()) {
        ShowMessage(this, kNoMake);
        m_tip->setFocus();
        return;
    }
    if (m_oznaka->text().trimmed().isEmpty()) {
        ShowMessage(this, kNoPlate);
        m_oznaka->setFocus();
        return;
    }
    if (recordId >= 0 && !m_changed) {
        m_storedId = recordId;
        accept();
        return;
    }
    VehicleRecord record;
    record.make = m_tip->text();
    record.plate = m_oznaka->text();
    record.mass = Decimal3::fromText(m_masa->text());
    record.payload = Decimal3::fromText(m_nosivost->text());
    record.totalMass = Decimal3::fromText(m_ukupno->text());
    record.kind = m_vrsta->currentIndex();
    record.remark = m_napomena->toPlainText();
    record.garageNumber = m_garazniBroj->text();
    record.chassis = m_brojSasije->text();
    record.seats = WholeNumberOr(m_brojSjedala->text(), kDefaultSeats);
    record.yearMade = WholeNumberOr(m_godPro->text(), kDefaultYear);
    record.yearRegistered = WholeNumberOr(m_godPrveReg->text(), kDefaultYear);
    record.active = m_aktivan->isChecked();

    const WriteResult result = StoreTryingAgain(this, [&] {
        Transaction write = m_session.write();
        return StoreVehicle(write, recordId, record);
    });
    if (!result.done)
        return;
    m_storedId = result.id;
    accept();
}
