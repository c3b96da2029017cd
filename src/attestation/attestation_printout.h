#pragma once

#include "attestation/attestation_record.h"
#include "print/printout.h"

// The trilingual AETR attestation form on one A4 page, filled with the attestation's values:
// the fixed texts of the official form at their places in millimetres, the data centred in
// their boxes over dotted guide lines, and the box of the attested activity filled.
class AttestationPrintout : public Printout {
public:
    explicit AttestationPrintout(Attestation attestation, QString webAddress = QString());

    int pageCount() const override { return 1; }
    void paintPage(PageCanvas& canvas, int page) const override;
    QString fileName() const override;
    // The form is printed twice.
    int copies() const override { return 2; }

    // The texts of the data fields as printed ("08:00/01/03/2010" for a period start with its
    // hour, dates as dd/mm/yyyy).
    static QString PeriodFromText(const Attestation& attestation);
    static QString PeriodToText(const Attestation& attestation);

private:
    Attestation m_attestation;
    QString m_webAddress;
};

// The form filled with the attestation, drawn on the canvas's page: the one page of
// AttestationPrintout, and each page of a printout of several attestations.
void PaintAttestationForm(PageCanvas& canvas, const Attestation& attestation, const QString& webAddress);

inline const QString kNoPrinterChosenMessage = QStringLiteral("Nedefiniran printer (Podaci-Postavke)!");
