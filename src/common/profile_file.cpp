#include "common/profile_file.h"

#include "common/number_reading.h"
#include "common/win1250.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QSet>
#include <QStringList>

#include <optional>
#include <utility>

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

constexpr qint64 kMaxProfileBytes = 8 * 1024 * 1024;

// The file as lines without their line ends; a missing or unreadable file has no lines, and
// so has anything but a regular file of a sensible size.
bool ReadableFile(const QFileInfo& info)
{
    return info.isFile() && info.size() <= kMaxProfileBytes;
}

QStringList ReadLines(const QString& path)
{
    if (!ReadableFile(QFileInfo(path))) {
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList lines = FromWin1250(file.read(kMaxProfileBytes)).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
    }
    return lines;
}

bool WriteLines(const QString& path, const QStringList& lines)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    QString text;
    for (const QString& line : lines) {
        text += line + kLineEnd;
    }
    file.write(ToWin1250(text));
    return file.commit();
}

// The name of a section header line ("[Name]", blanks allowed around it and the name),
// or nothing for any other line.
std::optional<QString> SectionName(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(QLatin1Char('['))) {
        return std::nullopt;
    }
    const qsizetype close = trimmed.lastIndexOf(QLatin1Char(']'));
    if (close < 0) {
        return std::nullopt;
    }
    return trimmed.mid(1, close - 1).trimmed();
}

struct KeyLine {
    QString key;
    QString value;
};

// A "key=value" line with the blanks around key and value removed; comment lines
// (starting with ';') and lines without '=' carry no key.
std::optional<KeyLine> ParseKeyLine(const QString& line)
{
    const QString trimmed = line.trimmed();
    const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
    if (trimmed.startsWith(QLatin1Char(';')) || equals < 0) {
        return std::nullopt;
    }
    return KeyLine{trimmed.left(equals).trimmed(), trimmed.mid(equals + 1).trimmed()};
}

// A line break in a written name or value would split its line and could forge other
// keys, so each becomes a blank.
QString OneLine(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where a section and a key were found among the lines.
struct Location {
    qsizetype sectionLine = -1;    // the header of the first matching section, -1 when none
    qsizetype keyLine = -1;        // the first matching key line inside it, -1 when none
    qsizetype lastContentLine = -1;  // the last non-blank line of that section
};

Location Find(const QStringList& lines, const QString& section, const QString& key)
{
    Location found;
    const QString wantedSection = section.trimmed();
    const QString wantedKey = key.trimmed();
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionName(lines[i])) {
            if (inSection) {
                break;
            }
            inSection = SameName(*name, wantedSection);
            if (inSection) {
                found.sectionLine = i;
                found.lastContentLine = i;
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        if (!lines[i].trimmed().isEmpty()) {
            found.lastContentLine = i;
        }
        if (found.keyLine < 0) {
            const auto keyLine = ParseKeyLine(lines[i]);
            if (keyLine && SameName(keyLine->key, wantedKey)) {
                found.keyLine = i;
            }
        }
    }
    return found;
}

// A value loses one pair of matching surrounding quotes, single or double.
QString Unquoted(const QString& value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first) {
            return value.mid(1, value.size() - 2);
        }
    }
    return value;
}

std::optional<int> WholeNumber(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

ProfileFile::ProfileFile(QString path)
    : m_path(std::move(path))
{
}

ProfileFile ProfileFile::snapshot(QString path)
{
    ProfileFile file(std::move(path));
    auto values = std::make_shared<QHash<QString, QHash<QString, QString>>>();
    QSet<QString> seenSections;
    QHash<QString, QString>* current = nullptr;
    for (const QString& line : ReadLines(file.m_path)) {
        if (const auto name = SectionName(line)) {
            const QString lower = name->toLower();
            // Only the first section of a name counts, as for the file itself.
            current = seenSections.contains(lower) ? nullptr : &(*values)[lower];
            seenSections.insert(lower);
            continue;
        }
        if (!current)
            continue;
        if (const auto keyLine = ParseKeyLine(line)) {
            const QString lower = keyLine->key.toLower();
            if (!current->contains(lower))
                current->insert(lower, Unquoted(keyLine->value));
        }
    }
    file.m_values = std::move(values);
    return file;
}

bool ProfileFile::refusesToRead(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !ReadableFile(info);
}

std::optional<QString> ProfileFile::lookUp(const QString& section, const QString& key) const
{
    if (m_values) {
        const auto found = m_values->constFind(section.trimmed().toLower());
        if (found == m_values->constEnd())
            return std::nullopt;
        const auto value = found->constFind(key.trimmed().toLower());
        return value == found->constEnd() ? std::nullopt : std::optional<QString>(*value);
    }
    const QStringList lines = ReadLines(m_path);
    const Location found = Find(lines, section, key);
    if (found.keyLine < 0)
        return std::nullopt;
    return Unquoted(ParseKeyLine(lines[found.keyLine])->value);
}

QString ProfileFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    return lookUp(section, key).value_or(defaultValue);
}

int ProfileFile::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    return WholeNumber(readString(section, key, QString())).value_or(defaultValue);
}

bool ProfileFile::readBool(const QString& section, const QString& key, bool defaultValue) const
{
    const std::optional<int> number = WholeNumber(readString(section, key, QString()));
    return number ? *number != 0 : defaultValue;
}

double ProfileFile::readDecimal(const QString& section, const QString& key, double defaultValue) const
{
    const QString text = readString(section, key, QString());
    std::optional<double> value = ReadNumber(text, QLatin1Char(','));
    if (!value)
        value = ReadNumber(text, QLatin1Char('.'));
    return value.value_or(defaultValue);
}

bool ProfileFile::writeString(const QString& section, const QString& key, const QString& value)
{
    const QString sectionName = OneLine(section).trimmed();
    const QString keyName = OneLine(key).trimmed();
    const QString equalsValue = QLatin1Char('=') + OneLine(value);
    m_values.reset();  // a written file is read afresh
    QStringList lines = ReadLines(m_path);
    const Location found = Find(lines, sectionName, keyName);
    if (found.keyLine >= 0) {
        lines[found.keyLine] = ParseKeyLine(lines[found.keyLine])->key + equalsValue;
    } else if (found.sectionLine >= 0) {
        lines.insert(found.lastContentLine + 1, keyName + equalsValue);
    } else {
        lines.append(QLatin1Char('[') + sectionName + QLatin1Char(']'));
        lines.append(keyName + equalsValue);
    }
    return WriteLines(m_path, lines);
}

bool ProfileFile::writeInteger(const QString& section, const QString& key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool ProfileFile::writeBool(const QString& section, const QString& key, bool value)
{
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool ProfileFile::writeDecimal(const QString& section, const QString& key, double value)
{
    return writeString(section, key, decimalText(value));
}

QString ProfileFile::decimalText(double value)
{
    // Two decimals at most: an estimated direction carries the noise of binary fractions
    // ("331,88999999999976"), which neither the operator nor the file needs.
    QString text = QLocale::c().toString(value, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}
