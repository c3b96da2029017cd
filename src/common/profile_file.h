#pragma once

#include <QHash>
#include <QString>

#include <memory>
#include <optional>

// An INI-style profile file (postavke.dat, ktspostavke.dat) with the semantics of the
// Windows profile functions it was first written with: sections and keys match without
// regard to letter case, a missing file, section or key gives the default, and a write
// changes the one value in place so that every other line survives. Lines end in CR LF
// and text is Windows-1250. Every call reads (and a write rewrites) the file itself, except
// for a snapshot, which reads it once. Only a regular file of at most 8 MB is read: anything
// else (a folder, a FIFO, a device) reads as a missing file.
// Blanks around section names, keys and values are ignored, and a value in matching
// quotes (single or double) is read without them.
class ProfileFile {
public:
    explicit ProfileFile(QString path);
    // The file read once, for reading many keys: each read is then a look-up.
    static ProfileFile snapshot(QString path);
    // True when something is at the path but is not read: not a regular file, or too large.
    static bool refusesToRead(const QString& path);

    const QString& path() const { return m_path; }

    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    // Whole numbers: the value must be a decimal whole number (a sign allowed) that fits an
    // int; anything else, an empty value included, gives the default.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    // Yes/no values: written as "1"/"0"; read as yes when the value is a whole number other
    // than 0, as no when it is 0, and as the default when it is not a whole number.
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;
    // Decimal numbers: written with a decimal comma and at most two decimals ("180,5",
    // "331,89"); read with a decimal comma or point, an exponent allowed ("12,25", "12.25",
    // "1,5E3"). Anything else, an empty value included, gives the default.
    double readDecimal(const QString& section, const QString& key, double defaultValue) const;

    // Returns false when the file could not be written.
    bool writeString(const QString& section, const QString& key, const QString& value);
    bool writeInteger(const QString& section, const QString& key, int value);
    bool writeBool(const QString& section, const QString& key, bool value);
    bool writeDecimal(const QString& section, const QString& key, double value);

    // A decimal number as writeDecimal writes it.
    static QString decimalText(double value);

private:
    std::optional<QString> lookUp(const QString& section, const QString& key) const;

    QString m_path;
    // A snapshot's values: the first of each key in the first section of each name, by the
    // names in lower case.
    std::shared_ptr<const QHash<QString, QHash<QString, QString>>> m_values;
};
