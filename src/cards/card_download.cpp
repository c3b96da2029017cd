#include "cards/card_download.h"

#include "cards/card_text.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <map>
#include <optional>

namespace {

constexpr int kHeaderSize = 5; // file identifier (2), type (1), length (2)
constexpr qint64 kSecondsPerDay = 24 * 60 * 60;

// CardIdentification followed by DriverCardHolderIdentification.
constexpr int kIdentificationSize = 143;
constexpr int kNationOffset = 0;
constexpr int kCardNumberOffset = 1;
constexpr int kCardNumberLength = 16;
constexpr int kSurnameOffset = 65;
constexpr int kFirstNamesOffset = 101;
constexpr int kNameSize = 36; // code page and 35 bytes
constexpr int kBirthDateOffset = 137;

// CardDriverActivity and CardActivityDailyRecord.
constexpr int kActivityPointersSize = 4;
constexpr int kDayHeaderSize = 12;
constexpr int kChangeSize = 2;
constexpr int kMaxChangesPerDay = 1440;

// CardVehicleRecord and PlaceRecord, with the size of the pointer before their sets.
constexpr int kVehicleRecordFirst = 31;
constexpr int kVehicleRecordSecond = 48;
constexpr int kVehiclePointerSize = 2;
constexpr int kPlaceRecordFirst = 10;
constexpr int kPlaceRecordSecond = 21;
constexpr int kPlacePointerFirst = 1;
constexpr int kPlacePointerSecond = 2;
constexpr int kRegistrationSize = 14; // code page and 13 bytes

// EntryTypeDailyWorkPeriod: even codes begin a daily work period, odd ones end it; 0 and 1 are
// the moments of card insertion and withdrawal, the others entered by hand or assumed.
constexpr int kPlaceByCard = 1;

struct RawFile {
    std::uint16_t id = 0;
    QByteArray data;
    std::optional<QByteArray> signature;
};

QString FileIdText(std::uint16_t id)
{
    return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0')).toUpper();
}

QString PartName(std::uint16_t id)
{
    switch (id) {
    case CardFileId::kIdentification:
        return QStringLiteral("identifikacija kartice (EF %1)").arg(FileIdText(id));
    case CardFileId::kDriverActivityData:
        return QStringLiteral("aktivnosti vozača (EF %1)").arg(FileIdText(id));
    case CardFileId::kVehiclesUsed:
        return QStringLiteral("korištena vozila (EF %1)").arg(FileIdText(id));
    case CardFileId::kPlaces:
        return QStringLiteral("mjesta početka i kraja rada (EF %1)").arg(FileIdText(id));
    }
    return QStringLiteral("EF %1").arg(FileIdText(id));
}

// Big-endian numbers, as the card stores them; the caller has checked that the bytes are there.
std::uint32_t Be(const std::uint8_t* p, int size)
{
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 | p[i];
    return value;
}

int Bcd(const std::uint8_t* p, int size)
{
    int value = 0;
    for (int i = 0; i < size; ++i) {
        const int high = p[i] >> 4;
        const int low = p[i] & 0x0F;
        value = value * 100 + (high > 9 ? 0 : high) * 10 + (low > 9 ? 0 : low);
    }
    return value;
}

const std::uint8_t* Bytes(const QByteArray& data, int offset = 0)
{
    return reinterpret_cast<const std::uint8_t*>(data.constData()) + offset;
}

class Reader {
public:
    Reader(const QByteArray& bytes, const QString& fileName) : m_bytes(bytes), m_fileName(fileName) {}

    CardDownload read();

private:
    [[noreturn]] void fail(const QString& what) const
    {
        throw CardFileError(QStringLiteral("%1: %2").arg(m_fileName, what));
    }

    void splitFiles();
    const RawFile& required(std::uint16_t id) const;
    void readIdentification(const QByteArray& data, CardHolder& holder) const;
    std::vector<CardDayRecord> readActivity(const QByteArray& data) const;
    std::vector<VehicleUse> readVehicles(const QByteArray& data) const;
    std::vector<WorkPlace> readPlaces(const QByteArray& data) const;

    const QByteArray& m_bytes;
    QString m_fileName;
    // The application's files by identifier, generation 1 and 2 apart.
    std::map<std::uint16_t, RawFile> m_files[2];
    CardGeneration m_generation = CardGeneration::First;
};

void Reader::splitFiles()
{
    const qsizetype size = m_bytes.size();
    qsizetype pos = 0;
    // Each round takes at least the header's five bytes, so the loop ends.
    while (pos < size) {
        if (size - pos < kHeaderSize)
            fail(QStringLiteral("datoteka je prekinuta u zaglavlju elementarne datoteke (bajt %1 od %2).").arg(pos).arg(size));
        const std::uint8_t* header = Bytes(m_bytes, int(pos));
        const auto id = static_cast<std::uint16_t>(Be(header, 2));
        const std::uint8_t type = header[2];
        const int length = int(Be(header + 3, 2));
        if (type > CardFileType::kSignatureSecond)
            fail(QStringLiteral("nepoznata vrsta zapisa %1 kod EF %2 (bajt %3).").arg(type).arg(FileIdText(id)).arg(pos));
        if (size - pos - kHeaderSize < length) {
            fail(QStringLiteral("%1 navodi duljinu %2 bajtova, a do kraja datoteke ima samo %3 — datoteka je prekinuta ili oštećena.")
                     .arg(PartName(id))
                     .arg(length)
                     .arg(size - pos - kHeaderSize));
        }
        const QByteArray value = m_bytes.mid(pos + kHeaderSize, length);
        pos += kHeaderSize + length;

        const int generation = type >= CardFileType::kDataSecond ? 1 : 0;
        const bool signature = type == CardFileType::kSignatureFirst || type == CardFileType::kSignatureSecond;
        auto& files = m_files[generation];
        if (signature) {
            const auto data = files.find(id);
            if (data == files.end())
                fail(QStringLiteral("potpis %1 bez same datoteke.").arg(PartName(id)));
            data->second.signature = value;
        } else {
            files[id] = RawFile{id, value, std::nullopt};
        }
    }
}

const RawFile& Reader::required(std::uint16_t id) const
{
    const auto& files = m_files[m_generation == CardGeneration::Second ? 1 : 0];
    const auto found = files.find(id);
    if (found == files.end())
        fail(QStringLiteral("nedostaje %1 — datoteka je nepotpuna.").arg(PartName(id)));
    if (!found->second.signature)
        fail(QStringLiteral("iza %1 nema potpisa — datoteka je prekinuta ili nepotpuna.").arg(PartName(id)));
    return found->second;
}

void Reader::readIdentification(const QByteArray& data, CardHolder& holder) const
{
    if (data.size() < kIdentificationSize) {
        fail(QStringLiteral("%1 ima %2 bajtova, a treba ih %3.")
                 .arg(PartName(CardFileId::kIdentification))
                 .arg(data.size())
                 .arg(kIdentificationSize));
    }
    const std::uint8_t* p = Bytes(data);
    holder.issuingState = NationText(p[kNationOffset]);
    holder.cardNumber = Ia5Text(p + kCardNumberOffset, kCardNumberLength);
    holder.surname = CardNameText(p + kSurnameOffset, kNameSize);
    holder.firstNames = CardNameText(p + kFirstNamesOffset, kNameSize);
    const int year = Bcd(p + kBirthDateOffset, 2);
    holder.birthDate = QDate(year, Bcd(p + kBirthDateOffset + 2, 1), Bcd(p + kBirthDateOffset + 3, 1));
    if (year == 0)
        holder.birthDate = QDate();
}

std::vector<CardDayRecord> Reader::readActivity(const QByteArray& data) const
{
    const QString part = PartName(CardFileId::kDriverActivityData);
    if (data.size() < kActivityPointersSize)
        fail(QStringLiteral("%1 je prekratka (%2 bajtova).").arg(part).arg(data.size()));
    const int oldest = int(Be(Bytes(data), 2));
    const int newest = int(Be(Bytes(data, 2), 2));
    const QByteArray ring = data.mid(kActivityPointersSize);
    const int size = int(ring.size());
    if (size == 0)
        return {};
    if (oldest >= size)
        fail(QStringLiteral("%1: pokazivač najstarijeg dana (%2) je izvan spremnika od %3 bajtova.").arg(part).arg(oldest).arg(size));
    if (newest >= size)
        fail(QStringLiteral("%1: pokazivač najnovijeg dana (%2) je izvan spremnika od %3 bajtova.").arg(part).arg(newest).arg(size));

    const std::uint8_t* bytes = Bytes(ring);
    // The buffer is cyclic: a record, and even a field of it, may go on from its first byte.
    const auto at = [&](qint64 offset) { return bytes[offset % size]; };
    const auto number = [&](qint64 offset, int length) {
        std::uint32_t value = 0;
        for (int i = 0; i < length; ++i)
            value = value << 8 | at(offset + i);
        return value;
    };

    std::vector<CardDayRecord> days;
    qint64 pos = oldest;
    qint64 walked = 0; // bytes of the buffer passed so far: never more than its size
    for (;;) {
        const int length = int(number(pos + 2, 2));
        if (length == 0 && days.empty() && pos == newest)
            return days; // a card that has recorded nothing yet
        if (length < kDayHeaderSize + kChangeSize || (length - kDayHeaderSize) % kChangeSize != 0 || length > size)
            fail(QStringLiteral("%1: dnevni zapis na bajtu %2 navodi nemoguću duljinu %3.").arg(part).arg(pos).arg(length));
        if (walked + length > size) {
            fail(QStringLiteral("%1: dnevni zapisi od najstarijeg ne dolaze do najnovijeg (pokazivač %2) — pokazivači su pogrešni.")
                     .arg(part)
                     .arg(newest));
        }
        const qint64 toNewest = (newest - pos + size) % size;
        if (toNewest > 0 && toNewest < length) {
            fail(QStringLiteral("%1: dnevni zapisi od najstarijeg ne dolaze do najnovijeg (pokazivač %2) — pokazivači su pogrešni.")
                     .arg(part)
                     .arg(newest));
        }
        const int count = (length - kDayHeaderSize) / kChangeSize;
        if (count > kMaxChangesPerDay)
            fail(QStringLiteral("%1: dnevni zapis na bajtu %2 ima %3 promjena, više od 1440.").arg(part).arg(pos).arg(count));
        CardDayRecord day;
        const qint64 date = number(pos + 4, 4);
        day.dayStart = date - date % kSecondsPerDay;
        std::array<std::uint8_t, 2> counter{at(pos + 8), at(pos + 9)};
        day.presenceCounter = Bcd(counter.data(), 2);
        day.distanceKm = int(number(pos + 10, 2));
        day.changes.reserve(std::size_t(count));
        for (int i = 0; i < count; ++i) {
            const std::uint32_t word = number(pos + kDayHeaderSize + qint64(i) * kChangeSize, kChangeSize);
            ActivityChange change;
            change.coDriverSlot = (word & 0x8000) != 0;
            change.crewOrKnown = (word & 0x4000) != 0;
            change.cardOut = (word & 0x2000) != 0;
            change.activity = int(word >> 11 & 0x3);
            change.minute = int(word & 0x7FF);
            if (change.minute >= kMaxChangesPerDay) {
                fail(QStringLiteral("%1: promjena aktivnosti u %2 ima nemoguće vrijeme %3 min.")
                         .arg(part, UtcMomentText(day.dayStart))
                         .arg(change.minute));
            }
            day.changes.push_back(change);
        }
        days.push_back(std::move(day));
        walked += length;
        if (pos == newest)
            break;
        pos = (pos + length) % size;
    }
    std::stable_sort(days.begin(), days.end(),
                     [](const CardDayRecord& a, const CardDayRecord& b) { return a.dayStart < b.dayStart; });
    return days;
}

std::vector<VehicleUse> Reader::readVehicles(const QByteArray& data) const
{
    const QString part = PartName(CardFileId::kVehiclesUsed);
    const int recordSize = m_generation == CardGeneration::Second ? kVehicleRecordSecond : kVehicleRecordFirst;
    const int records = int(data.size()) - kVehiclePointerSize;
    if (records < 0 || records % recordSize != 0) {
        fail(QStringLiteral("%1 ima %2 bajtova, što nije pokazivač i cijeli broj zapisa od %3 bajtova.")
                 .arg(part)
                 .arg(data.size())
                 .arg(recordSize));
    }
    const int count = records / recordSize;
    const int newest = int(Be(Bytes(data), 2));
    if (count > 0 && newest >= count)
        fail(QStringLiteral("%1: pokazivač najnovijeg zapisa (%2) je izvan %3 zapisa.").arg(part).arg(newest).arg(count));
    std::vector<VehicleUse> uses;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t* p = Bytes(data, kVehiclePointerSize + i * recordSize);
        VehicleUse use;
        use.odometerBegin = int(Be(p, 3));
        use.odometerEnd = int(Be(p + 3, 3));
        use.firstUse = Be(p + 6, 4);
        use.lastUse = Be(p + 10, 4);
        use.nation = NationText(p[14]);
        use.registration = CardNameText(p + 15, kRegistrationSize);
        if (use.firstUse == 0 || use.registration.isEmpty())
            continue; // a record never written
        uses.push_back(use);
    }
    std::stable_sort(uses.begin(), uses.end(), [](const VehicleUse& a, const VehicleUse& b) { return a.firstUse < b.firstUse; });
    return uses;
}

std::vector<WorkPlace> Reader::readPlaces(const QByteArray& data) const
{
    const QString part = PartName(CardFileId::kPlaces);
    const bool second = m_generation == CardGeneration::Second;
    const int recordSize = second ? kPlaceRecordSecond : kPlaceRecordFirst;
    const int pointerSize = second ? kPlacePointerSecond : kPlacePointerFirst;
    const int records = int(data.size()) - pointerSize;
    if (records < 0 || records % recordSize != 0) {
        fail(QStringLiteral("%1 ima %2 bajtova, što nije pokazivač i cijeli broj zapisa od %3 bajtova.")
                 .arg(part)
                 .arg(data.size())
                 .arg(recordSize));
    }
    const int count = records / recordSize;
    const int newest = int(Be(Bytes(data), pointerSize));
    if (count > 0 && newest >= count)
        fail(QStringLiteral("%1: pokazivač najnovijeg zapisa (%2) je izvan %3 zapisa.").arg(part).arg(newest).arg(count));
    std::vector<WorkPlace> places;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t* p = Bytes(data, pointerSize + i * recordSize);
        WorkPlace place;
        place.time = Be(p, 4);
        if (place.time == 0)
            continue;
        place.begin = p[4] % 2 == 0;
        place.manual = p[4] > kPlaceByCard;
        place.country = NationText(p[5]);
        place.odometer = int(Be(p + 7, 3));
        places.push_back(place);
    }
    std::stable_sort(places.begin(), places.end(), [](const WorkPlace& a, const WorkPlace& b) { return a.time < b.time; });
    return places;
}

CardDownload Reader::read()
{
    if (m_bytes.isEmpty())
        fail(QStringLiteral("datoteka je prazna."));
    splitFiles();
    m_generation = m_files[1].empty() ? CardGeneration::First : CardGeneration::Second;

    CardDownload download;
    download.fileName = m_fileName;
    download.generation = m_generation;
    download.version2 = m_files[1].count(CardFileId::kApplicationIdentificationV2) > 0;
    readIdentification(required(CardFileId::kIdentification).data, download.holder);
    download.days = readActivity(required(CardFileId::kDriverActivityData).data);
    download.vehicles = readVehicles(required(CardFileId::kVehiclesUsed).data);
    download.places = readPlaces(required(CardFileId::kPlaces).data);

    const int generation = m_generation == CardGeneration::Second ? 1 : 0;
    for (const auto& [id, file] : m_files[generation])
        download.files.push_back(SignedFile{id, m_generation, file.data, file.signature.value_or(QByteArray())});
    if (m_generation == CardGeneration::First) {
        const auto& files = m_files[0];
        if (const auto card = files.find(CardFileId::kCardCertificate); card != files.end())
            download.cardCertificate = card->second.data;
        if (const auto state = files.find(CardFileId::kCaCertificate); state != files.end())
            download.memberStateCertificate = state->second.data;
    }
    return download;
}

} // namespace

CardDownload ParseCardDownload(const QByteArray& bytes, const QString& fileName)
{
    return Reader(bytes, fileName).read();
}

CardDownload ReadCardDownload(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CardFileError(QStringLiteral("%1: datoteka se ne može otvoriti (%2).").arg(name, file.errorString()));
    if (file.size() > kMaxCardFileSize) {
        throw CardFileError(QStringLiteral("%1: datoteka ima %2 bajtova, previše za preuzimanje kartice vozača.")
                                .arg(name)
                                .arg(file.size()));
    }
    return ParseCardDownload(file.read(kMaxCardFileSize), name);
}

QString UtcMomentText(qint64 moment)
{
    return QDateTime::fromSecsSinceEpoch(moment, Qt::UTC).toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}
