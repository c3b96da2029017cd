#include "attestation/ui/attestation_window.h"

#include "session/session.h"

#include "attestation/attestation_printout.h"
#include "common/conversion_error.h"
#include "common/time_text.h"
#include "db/db_error.h"
#include "print/ui/print_preview.h"
#include "ui/button_bar.h"
#include "ui/date_field.h"
#include "ui/look.h"
#include "ui/message_box.h"
#include "ui/pick_list_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kClientWidth = 848;
// The fields of this toolkit are taller than the form's: room for them all. The layout keeps the
// window at least as high as its fields need, well above the form's 451 pixels.
constexpr int kClientHeight = 560;
const QString kPickHint = QStringLiteral("odaberi iz evidencije djelatnika");
const QString kFillerSql = QStringLiteral(
    "SELECT IMEPREZIME,IDDJ,RADNOMJESTO FROM DJELATNICI WHERE (VOZAC<>1) OR (NOT RADNOMJESTO CONTAINING ('VOZA'))  "
    "ORDER BY IMEPREZIME");
const QString kDriverSql = QStringLiteral(
    "SELECT IMEPREZIME,IDDJ,RADNOMJESTO FROM DJELATNICI WHERE VOZAC=1 ORDER BY IMEPREZIME");

QToolButton* PickButton(QWidget* parent, const char* objectName)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(objectName));
    button->setText(QStringLiteral("..."));
    button->setToolTip(kPickHint);
    return button;
}

DateField* NewDate(QWidget* parent, const char* objectName)
{
    auto* field = new DateField(parent);
    field->setObjectName(QLatin1String(objectName));
    return field;
}

}  // namespace

AttestationWindow::AttestationWindow(Session& session, int id, QWidget* owner)
    : AttestationWindow(session, id, std::nullopt, owner)
{
}

AttestationWindow::AttestationWindow(Session& session, const AttestationDraft& draft, QWidget* owner)
    : AttestationWindow(session, -1, draft, owner)
{
}

AttestationWindow::AttestationWindow(Session& session, int id, std::optional<AttestationDraft> draft, QWidget* owner)
    : ModelessWindow(QStringLiteral("PAktivnostiForm"), owner, session.settingsPath()), m_session(session), m_id(id),
      m_draft(std::move(draft))
{
    setWindowTitle(QStringLiteral("Potvrda o aktivnosti"));
    resize(kClientWidth, kClientHeight);
    buildFields();
    restorePlacement();
    refill();
}

QLineEdit* AttestationWindow::field(const char* objectName, int maxLength)
{
    auto* line = new QLineEdit(this);
    line->setObjectName(QLatin1String(objectName));
    line->setMaxLength(maxLength);
    return line;
}

void AttestationWindow::buildFields()
{
    m_place = field("MjestoPotvrde", 60);
    m_date = NewDate(this, "DatumPotvrde");
    m_company = field("NazivTvrtke", 120);
    m_street = field("UlicaTvrtke", 120);
    m_country = field("DrzavaTvrtke", 80);
    m_telephone = field("TelefonTvrtke", 40);
    m_fax = field("FaksTvrtke", 40);
    m_email = field("MailTvrtke", 100);
    m_fillerName = field("ImePopunio", 70);
    m_fillerPosition = field("FunkcijaPopunio", 70);
    m_driverName = field("ImeVozac", 70);
    m_documents = field("BrojVozac", 70);
    m_birthDate = NewDate(this, "DRodenja");
    m_employedSince = NewDate(this, "DatZaposlen");
    m_from = NewDate(this, "RazdobljeOd");
    m_fromTime = field("SatOd", 10);
    m_hasEnd = new QCheckBox(this);
    m_hasEnd->setObjectName(QStringLiteral("DoCheck"));
    m_to = NewDate(this, "RazdobljeDo");
    m_toTime = field("SatDO", 10);
    m_activities = new QListWidget(this);
    m_activities->setObjectName(QStringLiteral("AktivnostLista"));
    m_activities->addItems(AttestedActivityTexts());
    // All six activities in sight.
    m_activities->setMinimumHeight(m_activities->sizeHintForRow(0) * m_activities->count() + 2 * m_activities->frameWidth() + 4);
    m_printSignature = new QCheckBox(QStringLiteral("Ispiši na dnu"), this);
    m_printSignature->setObjectName(QStringLiteral("PotpisCheck"));
    m_signaturePlace = field("MPotpisa", 60);
    m_signatureDate = NewDate(this, "DatumPotpisa");
    for (QLineEdit* time : {m_fromTime, m_toTime})
        connect(time, &QLineEdit::editingFinished, this, [this, time] { normaliseTime(time); });

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Mjesto:"), this));
    top->addWidget(m_place, 1);
    top->addWidget(new QLabel(QStringLiteral("Datum:"), this));
    top->addWidget(m_date);

    auto* company = new QGroupBox(QStringLiteral("Tvrtka: "), this);
    auto* companyGrid = new QGridLayout(company);
    companyGrid->addWidget(new QLabel(QStringLiteral("Naziv tvrtke:"), company), 0, 0);
    companyGrid->addWidget(m_company, 0, 1, 1, 3);
    companyGrid->addWidget(new QLabel(QStringLiteral("Ulica, pošta..:"), company), 1, 0);
    companyGrid->addWidget(m_street, 1, 1, 1, 3);
    companyGrid->addWidget(new QLabel(QStringLiteral("Država:"), company), 2, 0);
    companyGrid->addWidget(m_country, 2, 1, 1, 3);
    companyGrid->addWidget(new QLabel(QStringLiteral("Telefon:"), company), 3, 0);
    companyGrid->addWidget(m_telephone, 3, 1);
    companyGrid->addWidget(new QLabel(QStringLiteral("Fax:"), company), 3, 2);
    companyGrid->addWidget(m_fax, 3, 3);
    companyGrid->addWidget(new QLabel(QStringLiteral("e-mail:"), company), 4, 0);
    companyGrid->addWidget(m_email, 4, 1, 1, 3);

    auto* filler = new QGroupBox(QStringLiteral("Popunjava:"), this);
    auto* fillerGrid = new QGridLayout(filler);
    QToolButton* pickFiller = PickButton(filler, "BitBtn3");
    fillerGrid->addWidget(new QLabel(QStringLiteral("Ime i prezime:"), filler), 0, 0);
    fillerGrid->addWidget(m_fillerName, 0, 1);
    fillerGrid->addWidget(pickFiller, 0, 2);
    fillerGrid->addWidget(new QLabel(QStringLiteral("Funkcija:"), filler), 1, 0);
    fillerGrid->addWidget(m_fillerPosition, 1, 1);

    auto* driver = new QGroupBox(QStringLiteral("Vozač:"), this);
    auto* driverGrid = new QGridLayout(driver);
    QToolButton* pickDriver = PickButton(driver, "BitBtn4");
    driverGrid->addWidget(new QLabel(QStringLiteral("Ime i prezime:"), driver), 0, 0);
    driverGrid->addWidget(m_driverName, 0, 1);
    driverGrid->addWidget(pickDriver, 0, 2);
    driverGrid->addWidget(new QLabel(QStringLiteral("Vozačka...:"), driver), 1, 0);
    driverGrid->addWidget(m_documents, 1, 1);
    driverGrid->addWidget(new QLabel(QStringLiteral("Dat. rođenja:"), driver), 2, 0);
    driverGrid->addWidget(m_birthDate, 2, 1);
    driverGrid->addWidget(new QLabel(QStringLiteral("Zaposlen od:"), driver), 3, 0);
    driverGrid->addWidget(m_employedSince, 3, 1);

    auto* period = new QGroupBox(QStringLiteral("Razdoblje i aktivnost:"), this);
    auto* periodGrid = new QGridLayout(period);
    periodGrid->addWidget(new QLabel(QStringLiteral("Od:"), period), 0, 1);
    periodGrid->addWidget(m_from, 0, 2);
    periodGrid->addWidget(m_fromTime, 0, 3);
    periodGrid->addWidget(new QLabel(QStringLiteral("(sat)"), period), 0, 4);
    periodGrid->addWidget(m_hasEnd, 1, 0);
    periodGrid->addWidget(new QLabel(QStringLiteral("Do:"), period), 1, 1);
    periodGrid->addWidget(m_to, 1, 2);
    periodGrid->addWidget(m_toTime, 1, 3);
    periodGrid->addWidget(new QLabel(QStringLiteral("(sat)"), period), 1, 4);
    periodGrid->addWidget(m_activities, 0, 5, 3, 1);
    periodGrid->setColumnStretch(5, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_printSignature);
    bottom->addWidget(new QLabel(QStringLiteral("Mjesto potpisa:"), this));
    bottom->addWidget(m_signaturePlace, 1);
    bottom->addWidget(new QLabel(QStringLiteral("Datum potpisa:"), this));
    bottom->addWidget(m_signatureDate);

    auto* bar = new ButtonBar(this);
    QPushButton* cancel = bar->addButton("BitBtn2", QStringLiteral("Otkaži"), ButtonBar::Side::Left);
    QPushButton* print = bar->addButton("BitBtn7", QStringLiteral("Ispiši"), ButtonBar::Side::Left);
    m_store = bar->addButton("BitBtn1", QString(), ButtonBar::Side::Right);

    auto* columns = new QGridLayout;
    columns->addWidget(company, 0, 0, 2, 1);
    columns->addWidget(filler, 0, 1);
    columns->addWidget(driver, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(columns);
    layout->addWidget(period, 1);
    layout->addLayout(bottom);
    layout->addWidget(bar);

    connect(pickFiller, &QToolButton::clicked, this, &AttestationWindow::chooseFiller);
    connect(pickDriver, &QToolButton::clicked, this, &AttestationWindow::chooseDriver);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    connect(print, &QPushButton::clicked, this, &AttestationWindow::print);
    connect(m_store, &QPushButton::clicked, this, &AttestationWindow::storeRecord);
}

void AttestationWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    ModelessWindow::keyPressEvent(event);
}

void AttestationWindow::refill()
{
    const SettingsValues& settings = m_session.values();
    const QDate today = QDate::currentDate();
    m_place->setText(settings.companySeat);
    for (DateField* date : {m_date, m_from, m_employedSince, m_birthDate, m_signatureDate})
        date->setDate(today);
    m_to->setDate(today.addDays(1));
    m_company->setText(settings.companyName);
    m_street->setText(settings.companyAddress + QLatin1Char(',') + settings.postCode + QLatin1Char(' ') + settings.companySeat);
    m_country->setText(settings.companyCountry);
    m_telephone->setText(settings.phone);
    m_fax->setText(settings.fax);
    m_email->setText(settings.email);
    m_activities->setCurrentRow(-1);
    m_activities->clearSelection();
    for (QLineEdit* empty : {m_fillerName, m_fillerPosition, m_driverName, m_documents, m_fromTime, m_toTime})
        empty->clear();
    m_signaturePlace->setText(settings.signingPlace);
    m_hasEnd->setChecked(false);
    m_printSignature->setChecked(true);

    Transaction read = m_session.read();
    if (m_id < 0) {
        m_store->setText(QStringLiteral("Dodaj"));
        try {
            if (const std::optional<Filler> filler = LatestFiller(read)) {
                m_fillerName->setText(filler->name);
                m_fillerPosition->setText(filler->position);
                m_fillerId = filler->id;
            }
        } catch (const DbError& error) {
            ShowError(this, error.text());
        }
        if (m_draft)
            showDraft(read, *m_draft);
        return;
    }
    m_store->setText(QStringLiteral("Promijeni"));
    std::optional<Attestation> stored;
    try {
        stored = LoadAttestation(read, m_id);
    } catch (const DbError& error) {
        ShowError(this, error.text());
    }
    if (!stored) {
        ShowMessage(this, QStringLiteral("Pogreška prilikom pristupa podacima!"));
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    showAttestation(*stored);
}

void AttestationWindow::showAttestation(const Attestation& a)
{
    m_fillerId = a.fillerId;
    m_driverId = a.driverId;
    m_activities->setCurrentRow(a.activity >= 0 && a.activity < m_activities->count() ? a.activity : -1);
    m_company->setText(a.company);
    m_street->setText(a.street);
    m_country->setText(a.country);
    m_telephone->setText(a.telephone);
    m_fax->setText(a.fax);
    m_email->setText(a.email);
    m_fillerName->setText(a.fillerName);
    m_fillerPosition->setText(a.fillerPosition);
    m_driverName->setText(a.driverName);
    m_birthDate->setDate(a.birthDate);
    m_documents->setText(a.documents);
    m_employedSince->setDate(a.employedSince);
    m_from->setDate(a.from);
    m_fromTime->setText(a.fromTime);
    m_hasEnd->setChecked(a.hasEnd);
    m_to->setDate(a.to);
    m_toTime->setText(a.toTime);
    m_place->setText(a.place);
    m_date->setDate(a.date);
    m_signaturePlace->setText(a.signaturePlace);
    m_signatureDate->setDate(a.signatureDate);
    m_printSignature->setChecked(a.printSignature);
}

void AttestationWindow::takeDriver(Transaction& read, int driverId)
{
    try {
        if (const std::optional<AttestationDriver> driver = LoadAttestationDriver(read, driverId)) {
            m_driverId = driverId;
            m_driverName->setText(driver->name);
            m_documents->setText(driver->documents);
            m_birthDate->setDate(driver->birthDate);
            m_employedSince->setDate(driver->employedSince);
        }
    } catch (const DbError& error) {
        ShowError(this, error.text());
    }
}

void AttestationWindow::showDraft(Transaction& read, const AttestationDraft& draft)
{
    if (draft.driverId > 0)
        takeDriver(read, draft.driverId);
    const auto timeText = [](const QDateTime& moment) { return moment.time().toString(QStringLiteral("HH:mm")); };
    m_from->setDate(draft.from.date());
    m_fromTime->setText(timeText(draft.from));
    m_hasEnd->setChecked(draft.to.has_value());
    m_to->setDate(draft.to ? draft.to->date() : draft.from.date());
    m_toTime->setText(timeText(draft.to.value_or(draft.from)));
    m_activities->setCurrentRow(draft.activity >= 0 && draft.activity < m_activities->count() ? draft.activity : -1);
}

Attestation AttestationWindow::fromFields() const
{
    Attestation a;
    a.fillerId = m_fillerId;
    a.driverId = m_driverId;
    // The row chosen: focus alone makes the first row current without choosing it.
    const QList<QListWidgetItem*> chosen = m_activities->selectedItems();
    a.activity = chosen.isEmpty() ? -1 : m_activities->row(chosen.first());
    a.company = m_company->text();
    a.street = m_street->text();
    a.country = m_country->text();
    a.telephone = m_telephone->text();
    a.fax = m_fax->text();
    a.email = m_email->text();
    a.fillerName = m_fillerName->text();
    a.fillerPosition = m_fillerPosition->text();
    a.driverName = m_driverName->text();
    a.birthDate = m_birthDate->date();
    a.documents = m_documents->text();
    a.employedSince = m_employedSince->date();
    a.from = m_from->date();
    a.fromTime = m_fromTime->text();
    a.hasEnd = m_hasEnd->isChecked();
    a.to = m_to->date();
    a.toTime = m_toTime->text();
    a.place = m_place->text();
    a.date = m_date->date();
    a.signaturePlace = m_signaturePlace->text();
    a.signatureDate = m_signatureDate->date();
    a.printSignature = m_printSignature->isChecked();
    return a;
}

void AttestationWindow::normaliseTime(QLineEdit* time)
{
    if (time->text().trimmed().isEmpty())
        return;
    try {
        time->setText(FormatMinutes(MinutesBetween(ParseTimeText(time->text()), 0)));
    } catch (const ConversionError& error) {
        ShowMessage(this, error.text());
    }
}

void AttestationWindow::chooseFiller()
{
    PickListDialog selector(m_session, this);
    selector.query = kFillerSql;
    selector.keyId = m_fillerId;
    if (selector.exec() != QDialog::Accepted)
        return;
    if (!selector.hasChoice()) {
        m_fillerId = -1;
        return;
    }
    const PickItem filler = *selector.chosenItem();
    m_fillerId = filler.id;
    m_fillerName->setText(filler.text);
    m_fillerPosition->setText(filler.detail);
}

void AttestationWindow::chooseDriver()
{
    PickListDialog selector(m_session, this);
    selector.query = kDriverSql;
    selector.keyId = m_driverId;
    if (selector.exec() != QDialog::Accepted)
        return;
    if (!selector.hasChoice()) {
        m_driverId = -1;
        return;
    }
    Transaction read = m_session.read();
    takeDriver(read, selector.chosenItem()->id);
}

void AttestationWindow::print()
{
    const SettingsValues& settings = m_session.values();
    if (settings.attestationPrinter.trimmed().isEmpty()) {
        ShowMessage(this, kNoPrinterChosenMessage);
        return;
    }
    auto printout = std::make_shared<AttestationPrintout>(fromFields());
    // Opened from the register, which is modal, a preview beside this window would be blocked
    // by the register: it is shown modally then.
    if (settings.attestationPreview && QApplication::activeModalWidget())
        PresentPrintoutModally(m_session.printing(), std::move(printout), PrinterRole::Attestation, this);
    else
        PresentPrintout(m_session.printing(), std::move(printout), PrinterRole::Attestation, settings.attestationPreview, this);
}

void AttestationWindow::storeRecord()
{
    const Attestation attestation = fromFields();
    if (attestation.activity < 0) {
        ShowMessage(this, kNoActivityMessage);
        m_activities->setFocus();
        return;
    }
    const WriteResult result = StoreTryingAgain(this, [&] {
        Transaction write = m_session.write();
        return StoreAttestation(write, m_id, attestation);
    });
    if (!result.done)
        return;
    m_id = result.id;
    if (m_session.values().printAfterStore)
        print();
    emit m_session.attestationsChanged();
    close();
}

AttestationWindow* OpenAttestationWindow(Session& session, int id, QWidget* owner)
{
    auto* window = new AttestationWindow(session, id, owner);
    window->show();
    return window;
}

AttestationWindow* OpenAttestationWindow(Session& session, const AttestationDraft& draft, QWidget* owner)
{
    auto* window = new AttestationWindow(session, draft, owner);
    window->show();
    return window;
}
