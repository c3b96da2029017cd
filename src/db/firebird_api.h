#pragma once

#include <firebird/Interface.h>

// The client library's process-wide entry points.
Firebird::IMaster* FirebirdMaster();
Firebird::IUtil* FirebirdUtil();

// A status vector that turns every failure into a DbError: pass `status.get()` to a call, then
// `status.check()`. Owned by one call site at a time.
class FirebirdStatus {
public:
    FirebirdStatus();
    ~FirebirdStatus();
    FirebirdStatus(const FirebirdStatus&) = delete;
    FirebirdStatus& operator=(const FirebirdStatus&) = delete;

    Firebird::CheckStatusWrapper* get() { return &m_wrapper; }
    void check();

private:
    Firebird::IStatus* m_status;
    Firebird::CheckStatusWrapper m_wrapper;
};
