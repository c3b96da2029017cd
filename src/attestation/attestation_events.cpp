#include "attestation/attestation_events.h"

AttestationEvents& AttestationEvents::instance()
{
    static AttestationEvents events;
    return events;
}
