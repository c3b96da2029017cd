#include "db/connection.h"

#include "common/win1250.h"
#include "db/database_location.h"
#include "db/db_error.h"
#include "db/firebird_api.h"
#include "db/server_messages.h"
#include "db/statement.h"
#include "db/transaction.h"

#include <algorithm>

using namespace Firebird;

namespace {

// How a parameter's value goes into the block: as text, as a number, or nothing (the name alone).
enum class ParamForm { Text, Number, Flag };

struct ParamTag {
    const char* name;
    unsigned char tag;
    ParamForm form;
};

// The parameter names a connection understands, with their database parameter block tags.
// force_write=0 lets the engine leave writing pages to the operating system (only for a
// database being filled in bulk), num_buffers sets the page cache of the attachment,
// no_garbage_collect keeps a checking attachment from cleaning up old record versions.
constexpr ParamTag kParamTags[] = {
    {"lc_ctype", isc_dpb_lc_ctype, ParamForm::Text},
    {"user_name", isc_dpb_user_name, ParamForm::Text},
    {"password", isc_dpb_password, ParamForm::Text},
    {"sql_role_name", isc_dpb_sql_role_name, ParamForm::Text},
    {"no_garbage_collect", isc_dpb_no_garbage_collect, ParamForm::Flag},
    {"force_write", isc_dpb_force_write, ParamForm::Number},
    {"num_buffers", isc_dpb_num_buffers, ParamForm::Number},
};

}  // namespace

Connection::~Connection()
{
    try {
        close();
    } catch (const DbError&) {
        // Closing at the end of the process: nothing is left to tell the user.
    }
}

std::vector<unsigned char> Connection::parameterBlock(bool forCreate, const QString& characterSet) const
{
    FirebirdStatus status;
    IXpbBuilder* dpb = FirebirdUtil()->getXpbBuilder(status.get(), IXpbBuilder::DPB, nullptr, 0);
    status.check();
    for (const QString& param : m_params) {
        const int eq = param.indexOf(QLatin1Char('='));
        const QString name = param.left(eq).trimmed().toLower();
        const QByteArray value = ToWin1250(eq < 0 ? QString() : param.mid(eq + 1));
        const auto known = std::find_if(std::begin(kParamTags), std::end(kParamTags),
                                        [&](const ParamTag& t) { return name == QLatin1String(t.name); });
        if (known == std::end(kParamTags)) {
            dpb->dispose();
            throw DbError(QStringLiteral("Nepoznat parametar veze: %1").arg(param), 0);
        }
        if (known->form == ParamForm::Flag)
            dpb->insertTag(status.get(), known->tag);
        else if (known->form == ParamForm::Number)
            dpb->insertInt(status.get(), known->tag, value.toInt());
        else
            dpb->insertString(status.get(), known->tag, value.constData());
    }
    if (forCreate) {
        dpb->insertInt(status.get(), isc_dpb_sql_dialect, 3);
        dpb->insertInt(status.get(), isc_dpb_page_size, 8192);
        dpb->insertString(status.get(), isc_dpb_set_db_charset, characterSet.toLatin1().constData());
    }
    const auto* begin = dpb->getBuffer(status.get());
    std::vector<unsigned char> block(begin, begin + dpb->getBufferLength(status.get()));
    dpb->dispose();
    status.check();
    return block;
}

void Connection::setAccount(const DatabaseAccount& account)
{
    m_account = account;
    m_params = {QStringLiteral("lc_ctype=NONE"), QStringLiteral("user_name=") + account.user,
                QStringLiteral("password=") + account.password};
}

void Connection::open()
{
    if (m_attachment)
        return;
    const std::vector<unsigned char> dpb = parameterBlock(false, {});
    FirebirdStatus status;
    IProvider* provider = FirebirdMaster()->getDispatcher();
    IAttachment* attachment = provider->attachDatabase(status.get(), ToWin1250(m_databaseName).constData(),
                                                       static_cast<unsigned>(dpb.size()), dpb.data());
    provider->release();
    status.check();
    m_attachment = attachment;
    m_lost = false;
}

void Connection::createDatabase(const QString& defaultCharacterSet)
{
    const std::vector<unsigned char> dpb = parameterBlock(true, defaultCharacterSet);
    FirebirdStatus status;
    IProvider* provider = FirebirdMaster()->getDispatcher();
    IAttachment* attachment = provider->createDatabase(status.get(), ToWin1250(m_databaseName).constData(),
                                                       static_cast<unsigned>(dpb.size()), dpb.data());
    provider->release();
    status.check();
    attachment->detach(status.get());
    status.check();
}

void Connection::close()
{
    m_lost = false;
    if (!m_attachment)
        return;
    for (Statement* statement : m_statements)
        statement->release();
    for (Transaction* transaction : m_transactions) {
        if (transaction->isActive())
            transaction->rollback();
    }
    FirebirdStatus status;
    m_attachment->detach(status.get());
    if (status.get()->getState() & IStatus::STATE_ERRORS)
        m_attachment->release();
    m_attachment = nullptr;
    status.check();
}

void Connection::ensureAlive()
{
    if (m_lost) {
        reconnect();
        return;
    }
    if (!m_attachment || !IsServerLocation(m_databaseName))
        return;
    FirebirdStatus status;
    m_attachment->ping(status.get());
    try {
        status.check();
    } catch (const DbError& error) {
        if (!error.isConnectionLost())
            throw;
        // Nothing of the new work has started: it goes on over a new connection.
        dropLost();
        reconnect();
    }
}

void Connection::reconnect()
{
    try {
        open();
    } catch (const DbError& error) {
        throw DbError(ServerConnectionMessage(m_databaseName, m_account, error) +
                          QStringLiteral(" Program se ponovno spaja pri svakoj sljedećoj radnji.\n\n") + error.text(),
                      error.codes(), error.sqlState());
    }
}

void Connection::check(FirebirdStatus& status)
{
    try {
        status.check();
    } catch (const DbError& error) {
        if (error.isConnectionLost() && m_attachment && IsServerLocation(m_databaseName)) {
            dropLost();
            throw DbError(ConnectionLostMessage(m_databaseName) + QStringLiteral("\n\n") + error.text(), error.codes(),
                          error.sqlState());
        }
        if (error.isLockConflict())
            throw DbError(LockConflictMessage() + QStringLiteral("\n\n") + error.text(), error.codes(), error.sqlState());
        if (error.isPermissionDenied())
            throw DbError(MissingRightMessage(m_databaseName, m_account, error) + QStringLiteral("\n\n") + error.text(),
                          error.codes(), error.sqlState(), error.missingRight());
        throw;
    }
}

void Connection::dropLost()
{
    // Marked lost first: the roll-backs below fail on the dead connection and must not come
    // back here.
    IAttachment* gone = m_attachment;
    m_attachment = nullptr;
    m_lost = true;
    for (Statement* statement : m_statements)
        statement->release();
    for (Transaction* transaction : m_transactions) {
        if (!transaction->isActive())
            continue;
        try {
            transaction->rollback();
        } catch (const DbError&) {
            // Gone with the connection.
        }
    }
    FirebirdStatus status;
    gone->detach(status.get());
    if (status.get()->getState() & IStatus::STATE_ERRORS)
        gone->release();
}

IAttachment* Connection::attachment() const
{
    if (!m_attachment)
        throw DbError(QStringLiteral("Veza s bazom podataka nije otvorena."), 0);
    return m_attachment;
}

void Connection::notifyStatement(const QString& sql) const
{
    if (m_observer)
        m_observer(sql);
}

void Connection::attachTransaction(Transaction* transaction)
{
    m_transactions.push_back(transaction);
}

void Connection::detachTransaction(Transaction* transaction)
{
    std::erase(m_transactions, transaction);
}

void Connection::attachStatement(Statement* statement)
{
    m_statements.push_back(statement);
}

void Connection::detachStatement(Statement* statement)
{
    std::erase(m_statements, statement);
}

void Connection::closeCursorsOf(const Transaction* transaction)
{
    for (Statement* statement : m_statements) {
        if (&statement->transaction() == transaction)
            statement->close();
    }
}
