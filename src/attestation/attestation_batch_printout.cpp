#include "attestation/attestation_batch_printout.h"

#include "attestation/attestation_printout.h"

AttestationBatchPrintout::AttestationBatchPrintout(std::vector<Attestation> attestations, QString name, QString webAddress)
    : m_attestations(std::move(attestations)), m_name(std::move(name)), m_webAddress(std::move(webAddress))
{
}

void AttestationBatchPrintout::paintPage(PageCanvas& canvas, int page) const
{
    PaintAttestationForm(canvas, m_attestations.at(static_cast<size_t>(page)), m_webAddress);
}

QString AttestationBatchPrintout::fileName() const
{
    return PrintoutFileName({QStringLiteral("Potvrde o aktivnostima"), m_name});
}
