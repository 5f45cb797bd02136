#include "shared/shared.h"

#include "platform/db/values.h"
#include "platform/desktop.h"
#include "platform/ini.h"

#include <QDateTime>
#include <utility>

namespace qv {

QString& inipath() {
    static QString path;
    return path;
}

QString& dbpath() {
    static QString path;
    return path;
}

} // namespace qv

namespace {
constexpr qsizetype IniBufferLength = 255;

struct PendingDefault {
    QString path;
    IniFile::Entry entry;
};

struct DefaultsBatch {
    int depth = 0;
    QList<PendingDefault> pending;
};

DefaultsBatch& batch() {
    thread_local DefaultsBatch b;
    return b;
}

struct WriteWatch {
    int depth = 0;
    int failures = 0;
    int unkeptValues = 0; // of the failures, those whose value holds a line break
};

WriteWatch& watch() {
    thread_local WriteWatch w;
    return w;
}

QString heldKey(const QString& section, const QString& key) {
    return section.trimmed().toLower() + QLatin1Char('\n') + key.trimmed().toLower();
}

bool same(const QString& a, const QString& b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// The first default kept back for this key of the current settings file, as the file will hold it.
QString pendingDefault(const QString& section, const QString& key) {
    for (const PendingDefault& p : batch().pending)
        if (p.path == qv::inipath() && same(p.entry.section, section) && same(p.entry.key, key))
            return IniFile::asRead(p.entry.value);
    return {};
}

// One rewrite per settings file (normally one), in the order the defaults were read.
void writePendingDefaults() {
    const QList<PendingDefault> pending = std::exchange(batch().pending, {});
    QList<QString> done;
    for (const PendingDefault& p : pending) {
        if (done.contains(p.path))
            continue;
        QList<IniFile::Entry> entries;
        for (const PendingDefault& q : pending)
            if (q.path == p.path)
                entries.append(q.entry);
        IniFile(p.path).fillMissing(entries);
        done.append(p.path);
    }
}

} // namespace

namespace qv {

SettingsBatch::SettingsBatch() {
    ++batch().depth;
}

SettingsBatch::~SettingsBatch() {
    if (--batch().depth == 0)
        writePendingDefaults();
}

SettingsWrites::SettingsWrites()
    : m_outermost(watch().depth == 0), m_failuresBefore(watch().failures), m_unkeptBefore(watch().unkeptValues) {
    ++watch().depth;
}

SettingsWrites::~SettingsWrites() {
    --watch().depth;
}

bool SettingsWrites::failed() const {
    return watch().failures > m_failuresBefore;
}

bool SettingsWrites::failedOnlyForLineBreaks() const {
    return failed() && watch().failures - m_failuresBefore == watch().unkeptValues - m_unkeptBefore;
}

QString cannotStoreSettingsText(const QString& iniPath) {
    return QStringLiteral("Quorvane could not store this setting in its settings file:\n") + iniPath +
           QStringLiteral("\n\nThe folder may be read-only or the disk full, or another copy of Quorvane may be "
                          "holding the file. The setting will not be there at the next start.");
}

QString settingHasLineBreakText(const QString& iniPath) {
    return QStringLiteral("Quorvane could not store this setting in its settings file:\n") + iniPath +
           QStringLiteral("\n\nThe value holds a line break, which the settings file cannot keep. Please enter it "
                          "on one line. The setting will not be there at the next start.");
}

void HeldSettings::remember(const QString& section, const QString& key, const QString& value) {
    m_values.insert(heldKey(section, key), value);
}

bool HeldSettings::store(const QString& section, const QString& key, const QString& value) {
    const auto held = m_values.constFind(heldKey(section, key));
    if (held != m_values.cend() && *held == value)
        return true;
    return write(section, key, value);
}

bool HeldSettings::write(const QString& section, const QString& key, const QString& value) {
    if (!WriteINI(section, key, value))
        return false;
    remember(section, key, value);
    return true;
}

QString leftWhole(const QString& text, qsizetype n) {
    if (n <= 0)
        return {};
    if (text.size() <= n)
        return text;
    // A pair's first half at the end would be half a character: the pair goes whole.
    return text.left(text.at(n - 1).isHighSurrogate() ? n - 1 : n);
}

} // namespace qv

namespace {

// The write of a default ReadINI fills in: no choice of the user's, so no failure to tell.
bool storeSetting(const QString& section, const QString& key, const QString& value) {
    if (!batch().pending.isEmpty())
        writePendingDefaults();
    return IniFile(qv::inipath()).write(section, key, value);
}

QString readSetting(const QString& section, const QString& key, const QString& def, qsizetype longest) {
    QString value = IniFile(qv::inipath()).read(section, key).value_or(QString());
    if (value.isEmpty() && !batch().pending.isEmpty())
        value = pendingDefault(section, key);
    if (longest > 0)
        value = qv::leftWhole(value, longest);
    if (!value.isEmpty())
        return value;
    if (def.isEmpty())
        return def;
    if (batch().depth > 0 && !qv::inipath().isEmpty() && IniFile::storable(section, key, def))
        batch().pending.append({qv::inipath(), {section, key, def}});
    else
        storeSetting(section, key, def);
    return def;
}

} // namespace

QString ReadINI(const QString& section, const QString& key, const QString& def) {
    return readSetting(section, key, def, IniBufferLength);
}

QString ReadINIPath(const QString& section, const QString& key, const QString& def) {
    return readSetting(section, key, def, 0);
}

bool WriteINI(const QString& section, const QString& key, const QString& value) {
    const bool stored = storeSetting(section, key, value);
    if (!stored) {
        ++watch().failures;
        if (value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')))
            ++watch().unkeptValues;
    }
    return stored;
}

QString SQLQuote(const QString& text) {
    QString quoted = text;
    return quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
}

QString GetSpecialFolder(int id) {
    return desktop::specialFolder(id);
}

bool ShellOpen(const QString& target, int showMode) {
    try {
        return desktop::shell().open(target, showMode);
    } catch (...) {
        return false;
    }
}

QVariant nulldash(const QVariant& value) {
    return db::isNull(value) ? QVariant(QStringLiteral("---")) : value;
}

QString nulldashText(const QVariant& value) {
    return db::isNull(value) ? QStringLiteral("---") : db::displayText(value);
}

QString FormatDuration(const QDateTime& start, const QDateTime& end) {
    if (!start.isValid() || !end.isValid())
        return {};
    // Wall-clock minutes, so a change to or from summer time adds or loses nothing.
    const auto minuteOf = [](const QDateTime& t) {
        return t.date().toJulianDay() * 1440 + t.time().hour() * 60 + t.time().minute();
    };
    const qint64 minutes = minuteOf(end) - minuteOf(start);
    const qint64 hours = minutes / 60;
    const qint64 days = hours / 24;
    return QStringLiteral("%1 days, %2 hrs, %3 mins.").arg(days).arg(hours - 24 * days).arg(minutes % 60);
}

QString pathonly(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}
