#pragma once

#include <QObject>

// Tells whoever shows entries (the entry overview, graphs) that entries were stored or
// deleted, so that a visible list refreshes itself. One object for the whole run.
class EntryEvents : public QObject {
    Q_OBJECT

public:
    static EntryEvents& instance();

signals:
    void entriesChanged();
};
