#include "db/database_health.h"

#include "common/little_endian.h"
#include "db/catalogue.h"
#include "db/connection.h"
#include "db/statement.h"
#include "db/transaction.h"
#include "db/db_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVector>

#include <cstdint>

namespace {

// The on-disk page layout these checks read: every page starts with its kind; the header
// page gives the page size; a page inventory page is a bitmap over a range of pages in which
// a set bit is a free page; a pointer page lists the data pages of one table.
constexpr std::uint8_t kHeaderPage = 1;
constexpr std::uint8_t kInventoryPage = 2;
constexpr std::uint8_t kTransactionPage = 3;
constexpr std::uint8_t kPointerPage = 4;
constexpr std::uint8_t kDataPage = 5;
constexpr std::uint8_t kIndexRootPage = 6;
constexpr std::uint8_t kGeneratorPage = 9;
constexpr std::uint8_t kChangeCounterPage = 10;
// Pages at fixed places: the header, the first page inventory, and from on-disk structure 12
// (Firebird 3) on, the first page of change counters.
constexpr qint64 kFirstChangeCounterPage = 2;
constexpr qint64 kOdsVersionOffset = 18;
constexpr std::uint32_t kOdsMajorMask = 0x7FFF;
constexpr std::uint32_t kOdsWithChangeCounters = 12;
constexpr qint64 kPageSizeOffset = 16;
constexpr qint64 kPipBitsOffset = 28;
constexpr qint64 kPointerCountOffset = 24;
constexpr qint64 kPointerRelationOffset = 26;
constexpr qint64 kPointerPagesOffset = 32;
constexpr qint64 kMinPageSize = 1024;
constexpr qint64 kMaxPageSize = 65536;
constexpr qint64 kFirstInventoryPage = 1;

// The program's tables, each read once at start-up.
const QStringList kProgramTables{"DJELATNICI", "AKTPOTVRDA", "VOZACI", "UTOVARIVACI", "VOZILO",
                                 "UNOS",       "DUNOS",      "SATIUNOS", "SKENLOG"};
// The tables every database of this program holds from its first day.
const QStringList kBaseTables{"DJELATNICI", "AKTPOTVRDA"};

std::uint32_t Little16(const QByteArray& bytes, qint64 at)
{
    return ReadLittle16(reinterpret_cast<const std::uint8_t*>(bytes.constData() + at));
}

std::uint32_t Little32(const QByteArray& bytes, qint64 at)
{
    return ReadLittle32(reinterpret_cast<const std::uint8_t*>(bytes.constData() + at));
}

// A database file opened for reading pages; the page size from its header.
class PageFile {
public:
    explicit PageFile(const QString& path) : m_file(path) {}

    // False when the file cannot be read or has no sound header page.
    bool open()
    {
        if (!m_file.open(QIODevice::ReadOnly))
            return false;
        const QByteArray header = m_file.read(kOdsVersionOffset + 2);
        if (header.size() < kOdsVersionOffset + 2 || std::uint8_t(header[0]) != kHeaderPage)
            return false;
        m_pageSize = Little16(header, kPageSizeOffset);
        m_odsMajor = Little16(header, kOdsVersionOffset) & kOdsMajorMask;
        if (m_pageSize < kMinPageSize || m_pageSize > kMaxPageSize || (m_pageSize & (m_pageSize - 1)) != 0)
            return false;
        m_pages = m_file.size() / m_pageSize;
        return true;
    }

    qint64 pageSize() const { return m_pageSize; }
    qint64 pages() const { return m_pages; }
    std::uint32_t odsMajor() const { return m_odsMajor; }

    // The first `bytes` of a page within the file; empty when it cannot be read.
    QByteArray read(qint64 page, qint64 bytes)
    {
        if (page < 0 || page >= m_pages || !m_file.seek(page * m_pageSize))
            return {};
        QByteArray data = m_file.read(bytes);
        return data.size() == bytes ? data : QByteArray();
    }

    // The kind of a page; -1 beyond the end of the file.
    int kind(qint64 page)
    {
        const QByteArray first = read(page, 1);
        return first.isEmpty() ? -1 : std::uint8_t(first[0]);
    }

private:
    QFile m_file;
    qint64 m_pageSize = 0;
    qint64 m_pages = 0;
    std::uint32_t m_odsMajor = 0;
};

QString PageFault(qint64 page, int expected, int found)
{
    if (found < 0)
        return QStringLiteral("stranica %1 je iza kraja datoteke").arg(page);
    return QStringLiteral("stranica %1 je vrste %2 umjesto %3").arg(page).arg(found).arg(expected);
}

// Data pages a pointer page lists, after checking that it is the pointer page of the table.
std::optional<QString> CheckPointerPage(PageFile& file, qint64 page, std::uint32_t relation)
{
    const QByteArray bytes = file.read(page, file.pageSize());
    if (bytes.isEmpty())
        return PageFault(page, kPointerPage, -1);
    if (std::uint8_t(bytes[0]) != kPointerPage)
        return PageFault(page, kPointerPage, std::uint8_t(bytes[0]));
    if (Little16(bytes, kPointerRelationOffset) != relation)
        return QStringLiteral("stranica %1 pripada drugoj tablici").arg(page);
    const qint64 count = Little16(bytes, kPointerCountOffset);
    if (kPointerPagesOffset + count * 4 > file.pageSize())
        return QStringLiteral("stranica %1 je neispravna").arg(page);
    for (qint64 i = 0; i < count; ++i) {
        const qint64 dataPage = Little32(bytes, kPointerPagesOffset + i * 4);
        if (dataPage == 0)
            continue;  // a slot freed when its page emptied
        if (const int kind = file.kind(dataPage); kind != kDataPage)
            return PageFault(dataPage, kDataPage, kind);
    }
    return std::nullopt;
}

// Highest page of an inventory's range that is in use, scanning its bitmap from the end; -1
// when all of them are free.
qint64 LastUsedPage(const QByteArray& inventory, qint64 first)
{
    for (qint64 i = inventory.size() - 1; i >= kPipBitsOffset; --i) {
        const auto byte = std::uint8_t(inventory[i]);
        if (byte == 0xFF)
            continue;
        for (int bit = 7; bit >= 0; --bit) {
            if (!(byte & (1u << bit)))
                return first + (i - kPipBitsOffset) * 8 + bit;
        }
    }
    return -1;
}

}  // namespace

std::optional<QString> DatabaseFileDamage(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    PageFile file(path);
    if (!file.open())
        return QStringLiteral("datoteka nema zaglavlje Firebirdove baze podataka");
    // The first inventory is page 1 and maps the pages from 0; each further one stands on the
    // last page of the range before its own. Where that page holds no inventory, the check
    // ends without a verdict on the later ranges.
    if (file.odsMajor() >= kOdsWithChangeCounters) {
        if (const int kind = file.kind(kFirstChangeCounterPage); kind != kChangeCounterPage)
            return PageFault(kFirstChangeCounterPage, kChangeCounterPage, kind);
    }
    const qint64 pagesPerInventory = (file.pageSize() - kPipBitsOffset) * 8;
    qint64 inventory = kFirstInventoryPage;
    for (qint64 first = 0;; first += pagesPerInventory) {
        const QByteArray bits = file.read(inventory, file.pageSize());
        if (bits.isEmpty())
            return PageFault(inventory, kInventoryPage, -1);
        if (std::uint8_t(bits[0]) != kInventoryPage)
            return first == 0 ? std::optional(PageFault(inventory, kInventoryPage, std::uint8_t(bits[0]))) : std::nullopt;
        const qint64 lastUsed = LastUsedPage(bits, first);
        if (lastUsed >= file.pages())
            return QStringLiteral("datoteka ima %1 stranica, a u upotrebi je i stranica %2")
                .arg(file.pages())
                .arg(lastUsed);
        inventory = first + pagesPerInventory - 1;
        if (lastUsed < inventory)
            return std::nullopt;
    }
}

std::optional<QString> DatabaseStructureDamage(Connection& connection, const QString& path)
{
    try {
        Transaction read(connection, TransactionAccess::ReadOnly);
        Statement sql(read);
        // Pages the catalogue lists, with their kind and table: nothing allocates them between
        // attaching and this check, so each is on disk as listed.
        struct ListedPage {
            qint64 page;
            int kind;
            std::uint32_t relation;
            QString table;
        };
        QVector<ListedPage> listed;
        sql.prepare(QStringLiteral(
            "SELECT P.RDB$PAGE_NUMBER, P.RDB$PAGE_TYPE, P.RDB$RELATION_ID, TRIM(R.RDB$RELATION_NAME) "
            "FROM RDB$PAGES P LEFT JOIN RDB$RELATIONS R ON R.RDB$RELATION_ID = P.RDB$RELATION_ID "
            "WHERE P.RDB$PAGE_TYPE IN (%1, %2, %3, %4)")
                        .arg(kTransactionPage)
                        .arg(kPointerPage)
                        .arg(kIndexRootPage)
                        .arg(kGeneratorPage));
        sql.execute();
        while (sql.next()) {
            listed.append({sql.intValue(0).value_or(0), sql.intOr(1, 0),
                           std::uint32_t(sql.intValue(2).value_or(0)), sql.textOr(3, QString())});
        }
        const QStringList tables = UserTables(sql);
        for (const QString& table : kProgramTables) {
            if (!tables.contains(table))
                continue;
            sql.prepare(QStringLiteral("SELECT FIRST 1 * FROM %1").arg(table));
            sql.execute();
            sql.next();
            sql.close();
        }
        PageFile file(path);
        if (QFileInfo(path).isFile() && file.open()) {
            for (const ListedPage& page : listed) {
                std::optional<QString> damage;
                if (kProgramTables.contains(page.table) && page.kind == kPointerPage)
                    damage = CheckPointerPage(file, page.page, page.relation);
                else if (const int kind = file.kind(page.page); kind != page.kind)
                    damage = PageFault(page.page, page.kind, kind);
                if (damage)
                    return damage;
            }
        }
    } catch (const DbError& error) {
        if (error.isPermissionDenied())
            throw;
        return error.text();
    }
    return std::nullopt;
}

QStringList MissingBaseTables(Connection& connection)
{
    Transaction read(connection, TransactionAccess::ReadOnly);
    Statement sql(read);
    const QStringList tables = UserTables(sql);
    QStringList missing;
    for (const QString& table : kBaseTables) {
        if (!tables.contains(table))
            missing << table;
    }
    return missing;
}

PageSnapshot PageSnapshot::take(const QString& path)
{
    PageSnapshot snapshot;
    PageFile file(path);
    if (!QFileInfo(path).isFile() || !file.open())
        return snapshot;
    for (qint64 page = 0; page < file.pages(); ++page) {
        const int kind = file.kind(page);
        if (kind == kHeaderPage || kind == kTransactionPage || kind == kChangeCounterPage)
            snapshot.m_pages.push_back({page * file.pageSize(), file.read(page, file.pageSize())});
    }
    snapshot.m_size = QFileInfo(path).size();
    snapshot.m_path = path;
    return snapshot;
}

bool PageSnapshot::restore() const
{
    if (m_path.isEmpty())
        return true;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    for (const auto& [offset, bytes] : m_pages) {
        if (!file.seek(offset) || file.write(bytes) != bytes.size())
            return false;
    }
    return file.resize(m_size) && file.flush();
}

QString DamagedDatabaseMessage(const QString& path)
{
    return QStringLiteral("Baza podataka %1 je oštećena ili nije baza ovog programa, pa je program ne otvara i "
                          "ništa u njoj ne mijenja.\n"
                          "Popravite je Firebirdovim alatom gfix (provjera: gfix -v -full, popravak: gfix -mend) "
                          "ili vratite posljednju sigurnosnu kopiju.")
        .arg(QDir::toNativeSeparators(path));
}

QString ForeignDatabaseMessage(const QString& path, const QStringList& missingTables)
{
    return QStringLiteral("Baza podataka %1 nije baza ovog programa (u njoj nema tablica %2), pa je program ne "
                          "otvara i ništa u njoj ne mijenja. Provjerite koja je baza navedena (VTDB.DAT).")
        .arg(QDir::toNativeSeparators(path), missingTables.join(QStringLiteral(", ")));
}
