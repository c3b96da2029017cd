#pragma once

#include "attestation/attestation_draft.h"
#include "attestation/attestation_record.h"
#include "ui/modeless_window.h"

class DateField;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class Session;
class Transaction;

// "Potvrda o aktivnosti": one attestation of activities, new (id -1, or filled from a draft) or
// stored, filled in, stored and printed. A window of its own for each attestation; it goes when closed by
// "Otkaži" or after storing. Controls by object name as the form names them (MjestoPotvrde,
// DatumPotvrde, NazivTvrtke, ..., AktivnostLista, PotpisCheck, BitBtn1, BitBtn2, BitBtn7).
class AttestationWindow : public ModelessWindow {
    Q_OBJECT

public:
    explicit AttestationWindow(Session& session, int id = -1, QWidget* owner = nullptr);
    // A new attestation with the defaults of a new one, then the draft's driver, period and
    // activity.
    AttestationWindow(Session& session, const AttestationDraft& draft, QWidget* owner);

    int id() const { return m_id; }
    // The attestation as the fields now hold it.
    Attestation fromFields() const;

    // "Ispiši": the form of the fields as they stand, saved or not.
    void print();
    // The save button: validates, stores, prints when Auto is on, and closes.
    void storeRecord();

protected:
    void storeRequested() override { storeRecord(); }
    void keyPressEvent(QKeyEvent* event) override;

private:
    AttestationWindow(Session& session, int id, std::optional<AttestationDraft> draft, QWidget* owner);
    void buildFields();
    QLineEdit* field(const char* objectName, int maxLength);
    void refill();
    void showAttestation(const Attestation& attestation);
    void showDraft(Transaction& read, const AttestationDraft& draft);
    // Fills the driver's fields from his employee record; nothing changes when there is none.
    void takeDriver(Transaction& read, int driverId);
    void normaliseTime(QLineEdit* field);
    void chooseFiller();
    void chooseDriver();

    Session& m_session;
    int m_id;
    std::optional<AttestationDraft> m_draft;
    int m_fillerId = -1;
    int m_driverId = -1;

    QLineEdit* m_place = nullptr;
    DateField* m_date = nullptr;
    QLineEdit* m_company = nullptr;
    QLineEdit* m_street = nullptr;
    QLineEdit* m_country = nullptr;
    QLineEdit* m_telephone = nullptr;
    QLineEdit* m_fax = nullptr;
    QLineEdit* m_email = nullptr;
    QLineEdit* m_fillerName = nullptr;
    QLineEdit* m_fillerPosition = nullptr;
    QLineEdit* m_driverName = nullptr;
    QLineEdit* m_documents = nullptr;
    DateField* m_birthDate = nullptr;
    DateField* m_employedSince = nullptr;
    DateField* m_from = nullptr;
    QLineEdit* m_fromTime = nullptr;
    QCheckBox* m_hasEnd = nullptr;
    DateField* m_to = nullptr;
    QLineEdit* m_toTime = nullptr;
    QListWidget* m_activities = nullptr;
    QCheckBox* m_printSignature = nullptr;
    QLineEdit* m_signaturePlace = nullptr;
    DateField* m_signatureDate = nullptr;
    QPushButton* m_store = nullptr;
};

// Opens an attestation window, shown without blocking.
AttestationWindow* OpenAttestationWindow(Session& session, int id, QWidget* owner);
AttestationWindow* OpenAttestationWindow(Session& session, const AttestationDraft& draft, QWidget* owner);
