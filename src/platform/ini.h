#pragma once

#include <QList>
#include <QString>
#include <optional>

// One settings file in the Windows INI layout: "[Section]" lines followed by "key=value" lines. Sections and
// keys match without regard to case; values are trimmed and lose one pair of surrounding double quotes.
// Every call reads the file anew, so other running copies' changes are seen.
class IniFile {
public:
    explicit IniFile(const QString& path);

    const QString& path() const { return m_path; }

    // The value of the first matching key in the first matching section; nullopt when the file, the
    // section or the key is missing. NUL bytes in the file are skipped.
    std::optional<QString> read(const QString& section, const QString& key) const;

    // Sets one key, keeping every other line (comments included) as it was. A missing section is appended
    // at the end of the file, a missing key at the end of its section; the file and its folder are created
    // when missing. The file is replaced whole or not at all, under a lock file beside it so that writes of
    // several copies never lose one another. False, with nothing changed, when the key cannot be stored (a
    // line break or NUL in any part, "=" in the key or a key starting with "[" or ";", "]" in the section, an
    // empty key), the lock stays taken too long or the file cannot be written.
    bool write(const QString& section, const QString& key, const QString& value) const;

    struct Entry {
        QString section;
        QString key;
        QString value;
    };

    // Gives each entry's key its value where the key is missing or empty, in order and as write would, in ONE
    // replacement of the file under its lock; a key holding a value (another copy may have written it
    // meanwhile) keeps it. Entries write would refuse are left out. False when the file cannot be written or
    // an entry was left out; the file is not touched when nothing is missing.
    bool fillMissing(const QList<Entry>& entries) const;

    // Whether write accepts this section, key and value.
    static bool storable(const QString& section, const QString& key, const QString& value);
    // What read gives back for a key that write stored with this value.
    static QString asRead(const QString& value);

private:
    QString m_path;
};
