#include "entries/ui/entry_header_panel.h"

#include "common/decimal_text.h"
#include "entries/day_totals.h"
#include "entries/entry_pick_lists.h"
#include "entries/ui/entry_widgets.h"
#include "masterdata/ui/driver_window.h"
#include "masterdata/ui/vehicle_window.h"
#include "session/session.h"
#include "ui/date_field.h"
#include "ui/field_makers.h"
#include "ui/look.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kRemarkLength = 250;
constexpr int kRemarkLinesHeight = 60;
const QMargins kGroupMargins(6, 6, 6, 6);

QString KmText(Decimal3 value)
{
    return FormatDecimalZero(value.toText());
}

void SelectById(QComboBox* list, int id)
{
    list->setCurrentIndex(list->findData(id));
}

} // namespace

EntryHeaderPanel::EntryHeaderPanel(Session& session, const Setup& setup, QWidget* parent)
    : QWidget(parent), m_session(session), m_setup(setup)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* people = new QGroupBox(QStringLiteral("Podaci o vozaču i vozilu: "), this);
    m_peopleGrid = new QGridLayout(people);
    m_peopleGrid->setContentsMargins(kGroupMargins);
    m_driver = NewComboBox(people, setup.driverListName);
    m_vehicle = NewComboBox(people, setup.vehicleListName);
    m_addDriver = NewSmallButton(people, "DodajVozaca", QStringLiteral("+"), QStringLiteral("Dodaj novog djelatnika"));
    m_addVehicle = NewSmallButton(people, "DodajVozilo", QStringLiteral("+"), QStringLiteral("Dodaj novo vozilo u sustav"));
    m_coDriver = NewCheckBox(people, "Suvozac", QStringLiteral("Suvozač"));
    m_crew = NewCheckBox(people, "Posada", QStringLiteral("Posada (nije vozio samostalno)"));
    m_peopleGrid->addWidget(NewLabel(QStringLiteral("Djelatnik/vozač:"), people), 0, 0);
    m_peopleGrid->addWidget(m_driver, 0, 1);
    m_peopleGrid->addWidget(m_addDriver, 0, 2);
    m_peopleGrid->addWidget(NewLabel(QStringLiteral("Vozilo:"), people), 1, 0);
    m_peopleGrid->addWidget(m_vehicle, 1, 1);
    m_peopleGrid->addWidget(m_addVehicle, 1, 2);
    m_peopleGrid->addWidget(m_coDriver, 2, 1, 1, 2);
    m_peopleGrid->addWidget(m_crew, 3, 1, 1, 2);
    m_peopleGrid->setColumnStretch(1, 1);
    layout->addWidget(people);

    auto* day = new QGroupBox(QStringLiteral("Datum i vožnja: "), this);
    m_dayGrid = new QGridLayout(day);
    m_dayGrid->setContentsMargins(kGroupMargins);
    m_date = new DateField(day);
    m_date->setObjectName(QStringLiteral("Datum"));
    m_startKm = NewKmField(day, "Pocetno");
    m_endKm = NewKmField(day, "Zavrsno");
    m_distance = NewReadOnlyLine(day, setup.distanceName);
    m_distance->setStyleSheet(QStringLiteral("QLineEdit { background: %1; }").arg(Look::kButtonFace.name()));
    m_kmMarker = NewLabel(QStringLiteral("!!"), day, setup.kmMarkerName);
    m_kmMarker->setStyleSheet(QStringLiteral("QLabel { background: red; color: yellow; font-weight: bold; }"));
    m_kmMarker->setToolTip(setup.kmMarkerHint);
    KeepRoomWhenHidden(m_kmMarker);
    m_kmMarker->hide();
    QWidget* remark = nullptr;
    if (setup.remarkOnSeveralLines) {
        m_remarkLines = new QPlainTextEdit(day);
        m_remarkLines->setObjectName(QStringLiteral("Napomena"));
        m_remarkLines->setTabChangesFocus(true);
        m_remarkLines->setFixedHeight(kRemarkLinesHeight);
        connect(m_remarkLines, &QPlainTextEdit::textChanged, this, [this] {
            const QString text = m_remarkLines->toPlainText();
            if (text.size() > kRemarkLength) {
                m_remarkLines->setPlainText(text.left(kRemarkLength));
                m_remarkLines->moveCursor(QTextCursor::End);
            }
        });
        remark = m_remarkLines;
    } else {
        m_remarkLine = NewLineEdit(day, "Napomena", kRemarkLength);
        remark = m_remarkLine;
    }
    m_dayGrid->addWidget(NewLabel(QStringLiteral("Datum:"), day), 0, 0);
    m_dayGrid->addWidget(m_date, 0, 1);
    m_dayGrid->addWidget(NewLabel(QStringLiteral("Početno km:"), day), 2, 0);
    m_dayGrid->addWidget(m_startKm, 2, 1);
    m_dayGrid->addWidget(m_kmMarker, 2, 2);
    m_dayGrid->addWidget(NewLabel(QStringLiteral("Završno km:"), day), 3, 0);
    m_dayGrid->addWidget(m_endKm, 3, 1);
    m_dayGrid->addWidget(NewLabel(QStringLiteral("Pređeno km:"), day), 4, 0);
    m_dayGrid->addWidget(m_distance, 4, 1);
    m_dayGrid->addWidget(NewLabel(QStringLiteral("Napomena:"), day), 5, 0, Qt::AlignTop);
    m_dayGrid->addWidget(remark, 5, 1, 1, 3);
    m_dayGrid->setColumnStretch(3, 1);
    layout->addWidget(day);

    connect(m_addDriver, &QToolButton::clicked, this, [this] {
        if (AddedThroughRecordWindow<DriverWindow>(m_session, window()))
            fillDriverList();
    });
    connect(m_addVehicle, &QToolButton::clicked, this, [this] {
        if (AddedThroughRecordWindow<VehicleWindow>(m_session, window()))
            fillVehicleList();
    });
    connect(m_driver, &QComboBox::activated, this, &EntryHeaderPanel::driverOrDateChosen);
    connect(m_date, &DateField::committed, this, &EntryHeaderPanel::driverOrDateChosen);
    connect(m_startKm, &QLineEdit::editingFinished, this, [this] { kilometresExit(m_startKm); });
    connect(m_endKm, &QLineEdit::editingFinished, this, [this] { kilometresExit(m_endKm); });
}

void EntryHeaderPanel::reset(const QDate& date)
{
    m_coDriver->setChecked(false);
    m_crew->setChecked(false);
    m_date->setDate(date);
    fillDriverList();
    fillVehicleList();
}

EntryHeader EntryHeaderPanel::value() const
{
    EntryHeader header;
    header.driverId = PickedId(m_driver);
    header.vehicleId = PickedId(m_vehicle);
    header.coDriver = m_coDriver->isChecked();
    header.crew = m_crew->isChecked();
    header.date = m_date->date();
    header.startKm = Decimal3::fromText(m_startKm->text());
    header.endKm = Decimal3::fromText(m_endKm->text());
    header.remark = m_remarkLines ? m_remarkLines->toPlainText() : m_remarkLine->text();
    return header;
}

void EntryHeaderPanel::setValue(const EntryHeader& header)
{
    SelectById(m_driver, header.driverId);
    SelectById(m_vehicle, header.vehicleId);
    m_startKm->setText(KmText(header.startKm));
    m_endKm->setText(KmText(header.endKm));
    m_kmMarker->setVisible(OdometerReversed(header.startKm, header.endKm));
    m_date->setDate(header.date);
    if (m_remarkLines)
        m_remarkLines->setPlainText(header.remark);
    else
        m_remarkLine->setText(header.remark);
    m_coDriver->setChecked(header.coDriver);
    m_crew->setChecked(header.crew);
}

Decimal3 EntryHeaderPanel::distance() const
{
    return Decimal3::fromText(m_distance->text());
}

void EntryHeaderPanel::setDistance(Decimal3 distance)
{
    m_distance->setText(KmText(distance));
}

int EntryHeaderPanel::driverId() const
{
    return PickedId(m_driver);
}

QDate EntryHeaderPanel::date() const
{
    return m_date->date();
}

void EntryHeaderPanel::fillDriverList()
{
    FillPickList(m_session, m_driver, DriverListQuery(m_setup.activeOnly));
}

void EntryHeaderPanel::fillVehicleList()
{
    FillPickList(m_session, m_vehicle, VehicleListQuery(m_setup.activeOnly));
}

void EntryHeaderPanel::addPeopleRow(QWidget* row)
{
    m_peopleGrid->addWidget(row, m_peopleGrid->rowCount(), 0, 1, 3);
    m_peopleTabStops << row;
}

void EntryHeaderPanel::setDateNote(QWidget* note)
{
    m_dayGrid->addWidget(note, 1, 1, 1, 3, Qt::AlignLeft);
    m_dateNote = note;
}

void EntryHeaderPanel::addDayRow(QWidget* row, QWidget* tabStop)
{
    m_dayGrid->addWidget(row, m_dayGrid->rowCount(), 1, 1, 3);
    m_dayTabStops << tabStop;
}

void EntryHeaderPanel::chainTabOrder(const QList<QWidget*>& others)
{
    QList<QWidget*> order{m_driver, m_vehicle, m_coDriver, m_crew};
    order << m_peopleTabStops << m_date;
    if (m_dateNote)
        order << m_dateNote;
    order << m_startKm << m_endKm;
    order << (m_remarkLines ? static_cast<QWidget*>(m_remarkLines) : m_remarkLine);
    order << m_dayTabStops << others << m_addDriver << m_addVehicle;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void EntryHeaderPanel::kilometresExit(QLineEdit* field)
{
    if (m_setup.distanceFromTypedReadingsOnly && !field->isModified())
        return;
    RewriteKmField(field);
    const OdometerCheck odometer = CheckOdometer(m_startKm, m_endKm);
    m_distance->setText(odometer.distance.isZero() ? QString() : KmText(odometer.distance));
    m_kmMarker->setVisible(odometer.reversed);
    emit kilometresLeft(field == m_endKm ? KmField::End : KmField::Start, odometer.distance);
}
