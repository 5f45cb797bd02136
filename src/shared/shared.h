#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

class QDateTime;

namespace qv {

// The full paths of the settings file and of the database file. The main window sets them at start-up
// (and when the database is moved); everything else only reads them.
QString& inipath();
QString& dbpath();

// While one lives (on this thread), the defaults ReadINI fills in for missing keys are kept back and written
// together, in one locked rewrite of the settings file, when the outermost one ends and before any WriteINI
// meanwhile (so writes keep their order); ReadINI sees them in the meantime. A key that another copy has given a
// value by then keeps that value. For bursts of reads such as start-up or a window reading its settings: one
// synced rewrite instead of one per default.
class SettingsBatch {
public:
    SettingsBatch();
    ~SettingsBatch();
    SettingsBatch(const SettingsBatch&) = delete;
    SettingsBatch& operator=(const SettingsBatch&) = delete;
};

// While one lives (on this thread), the WriteINI calls that fail are counted, so that a command storing several
// settings can tell the user once. The defaults ReadINI writes back are not counted: the user chose none of them.
class SettingsWrites {
public:
    SettingsWrites();
    ~SettingsWrites();
    SettingsWrites(const SettingsWrites&) = delete;
    SettingsWrites& operator=(const SettingsWrites&) = delete;
    bool outermost() const { return m_outermost; }
    // Whether a write failed since this one began.
    bool failed() const;
    // Whether every write that failed since did so for its value alone: a line break, which the file cannot keep.
    bool failedOnlyForLineBreaks() const;

private:
    bool m_outermost;
    int m_failuresBefore;
    int m_unkeptBefore;
};

// What the user is told when a setting could not be stored in the settings file at this path.
QString cannotStoreSettingsText(const QString& iniPath);
// The same when its value holds a line break, which no settings file keeps.
QString settingHasLineBreakText(const QString& iniPath);

// Settings a window holds for the whole run, with the value this copy last read or stored of each. A save writes
// only the values this copy changed since, so another copy's newer choice of the others stands; a value both
// changed ends as the last one stored.
class HeldSettings {
public:
    void remember(const QString& section, const QString& key, const QString& value);
    // Writes the value when it differs from the one remembered (or none is), and remembers it once stored.
    // False when the write failed.
    bool store(const QString& section, const QString& key, const QString& value);
    // Writes the value (chosen again, it is stored even when this copy held it already) and remembers it once
    // stored. False when the write failed.
    bool write(const QString& section, const QString& key, const QString& value);

private:
    QHash<QString, QString> m_values;
};

// The first n UTF-16 units of the text at most, never half a character: a surrogate pair at the cut goes whole.
QString leftWhole(const QString& text, qsizetype n);

} // namespace qv

// Reads a key of the settings file qv::inipath(). At most 255 characters come back, cut between whole characters
// (NUL bytes in the file are skipped). A missing or empty value gives def, which is first written back to the file
// unless it is "", so the file fills itself with defaults.
QString ReadINI(const QString& section, const QString& key, const QString& def);
// ReadINI for a path: the whole value, however long, since a cut path names another file.
QString ReadINIPath(const QString& section, const QString& key, const QString& def);

// Writes a key of the settings file qv::inipath(); true when it was stored. A failure counts with the
// qv::SettingsWrites alive.
bool WriteINI(const QString& section, const QString& key, const QString& value);

// The text with every apostrophe doubled, for a string literal inside SQL text.
QString SQLQuote(const QString& text);

// The special folder by the shell's number (5 documents, 28 local application data, 46 common), no trailing "/".
QString GetSpecialFolder(int id);

// Hands a file or link to the desktop's "open" verb; true when the desktop took it. Never throws.
bool ShellOpen(const QString& target, int showMode);

// "---" for a Null value, else the value itself.
QVariant nulldash(const QVariant& value);
// The value as a page shows it, or "---" for Null.
QString nulldashText(const QVariant& value);

// "<d> days, <h> hrs, <m> mins." between two moments on the wall clock. Minutes are counted as minute
// boundaries crossed (seconds are ignored, as the hh:mm times on screen show them); hours and days are
// whole parts of those minutes. "" when either moment is not a valid date-time.
QString FormatDuration(const QDateTime& start, const QDateTime& end);

// The path up to and including its last "/"; "" when it holds none.
QString pathonly(const QString& path);
