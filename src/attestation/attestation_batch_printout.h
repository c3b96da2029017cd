#pragma once

#include "attestation/attestation_record.h"
#include "print/printout.h"

#include <vector>

// Several attestations printed at once or saved as one PDF: one filled form on each page (the
// page of AttestationPrintout), in the order given, one copy.
class AttestationBatchPrintout : public Printout {
public:
    // `name` names the set in the offered file name ("Svi vozači - 01.03.2026-28.03.2026").
    AttestationBatchPrintout(std::vector<Attestation> attestations, QString name, QString webAddress = QString());

    int pageCount() const override { return static_cast<int>(m_attestations.size()); }
    void paintPage(PageCanvas& canvas, int page) const override;
    QString fileName() const override;

private:
    std::vector<Attestation> m_attestations;
    QString m_name;
    QString m_webAddress;
};
