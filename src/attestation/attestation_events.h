#pragma once

#include <QObject>

// Tells the register that attestations were stored or deleted, so that it reloads its list
// whether or not it is showing. One object for the whole run.
class AttestationEvents : public QObject {
    Q_OBJECT

public:
    static AttestationEvents& instance();

signals:
    void attestationsChanged();
};
