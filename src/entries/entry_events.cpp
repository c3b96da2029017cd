#include "entries/entry_events.h"

EntryEvents& EntryEvents::instance()
{
    static EntryEvents events;
    return events;
}
