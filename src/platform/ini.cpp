#include "platform/ini.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>
#include <QThread>
#include <functional>

namespace {

// The file's lines without their line ends; empty for a missing file or one that is not text.
QStringList loadLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    bytes.replace(QByteArray(1, '\0'), QByteArray()); // a stray NUL is skipped; the rest of the file stays
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError()) // an older file in a single-byte code page
        text = QString::fromLatin1(bytes);
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

std::optional<QString> sectionOf(const QString& line) {
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    return t.mid(1, close - 1).trimmed();
}

// The key of a "key=value" line; comments and other lines have none.
std::optional<QString> keyOf(const QString& line) {
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char(';')))
        return std::nullopt;
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return std::nullopt;
    const QString key = t.left(eq).trimmed();
    if (key.isEmpty())
        return std::nullopt;
    return key;
}

QString unquoted(const QString& stored) {
    QString v = stored.trimmed();
    if (v.size() >= 2 && v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
        v = v.mid(1, v.size() - 2);
    return v;
}

QString valueOf(const QString& line) {
    return unquoted(line.mid(line.indexOf(QLatin1Char('=')) + 1));
}

bool same(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Index of the first line of the section's header, -1 when absent.
qsizetype findSection(const QStringList& lines, const QString& section) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = sectionOf(lines.at(i));
        if (name && same(*name, section))
            return i;
    }
    return -1;
}

// One past the section's last line: the next header or the end of the file.
qsizetype sectionEnd(const QStringList& lines, qsizetype header) {
    qsizetype i = header + 1;
    while (i < lines.size() && !sectionOf(lines.at(i)))
        ++i;
    return i;
}

qsizetype findKey(const QStringList& lines, qsizetype header, qsizetype end, const QString& key) {
    for (qsizetype i = header + 1; i < end; ++i) {
        const auto k = keyOf(lines.at(i));
        if (k && same(*k, key))
            return i;
    }
    return -1;
}

bool hasLineBreak(const QString& s) {
    return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
}

bool unstorable(const QString& s) {
    return hasLineBreak(s) || s.contains(QChar(0));
}

// Waits up to 10 s for another copy's write to the same file. Short even polls rather than QLockFile's
// growing sleeps, so that a copy is not starved while others write one key after another.
bool takeLock(QLockFile& lock) {
    QDeadlineTimer deadline(10000);
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
        QThread::msleep(2 + QRandomGenerator::global()->bounded(8));
    }
    return true;
}

// Sets the (trimmed) key in the lines: a missing section is appended at the end, a missing key after its
// section's last non-blank line, so the blank line before the next section stays.
void setEntry(QStringList& lines, const QString& s, const QString& k, const QString& value) {
    const QString entry = k + QLatin1Char('=') + value;
    const qsizetype header = findSection(lines, s);
    if (header < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(QLatin1Char('[') + s + QLatin1Char(']'));
        lines.append(entry);
        return;
    }
    const qsizetype end = sectionEnd(lines, header);
    const qsizetype at = findKey(lines, header, end, k);
    if (at >= 0) {
        lines[at] = entry;
        return;
    }
    qsizetype last = end - 1;
    while (last > header && lines.at(last).trimmed().isEmpty())
        --last;
    lines.insert(last + 1, entry);
}

// Reads the file's lines, lets change alter them and replaces the file whole with the result, all under a
// lock file beside it: other copies read, change and replace the same file, one at a time or one's change is
// lost. The file stays as it is when change returns false.
bool rewrite(const QString& path, const std::function<bool(QStringList&)>& change) {
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(5000); // a write takes milliseconds: an older lock is one a lost copy left
    if (!takeLock(lock))
        return false;

    QStringList lines = loadLines(path);
    if (!change(lines))
        return true;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray data = (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

IniFile::IniFile(const QString& path) : m_path(path) {}

std::optional<QString> IniFile::read(const QString& section, const QString& key) const {
    const QStringList lines = loadLines(m_path);
    const qsizetype header = findSection(lines, section.trimmed());
    if (header < 0)
        return std::nullopt;
    const qsizetype at = findKey(lines, header, sectionEnd(lines, header), key.trimmed());
    if (at < 0)
        return std::nullopt;
    return valueOf(lines.at(at));
}

bool IniFile::storable(const QString& section, const QString& key, const QString& value) {
    const QString s = section.trimmed();
    const QString k = key.trimmed();
    return !k.isEmpty() && !k.contains(QLatin1Char('=')) && !k.startsWith(QLatin1Char(';')) &&
           !k.startsWith(QLatin1Char('[')) && !s.contains(QLatin1Char(']')) && !unstorable(s) && !unstorable(k) &&
           !unstorable(value);
}

QString IniFile::asRead(const QString& value) {
    return unquoted(value);
}

bool IniFile::write(const QString& section, const QString& key, const QString& value) const {
    if (m_path.isEmpty() || !storable(section, key, value))
        return false;
    return rewrite(m_path, [&](QStringList& lines) {
        setEntry(lines, section.trimmed(), key.trimmed(), value);
        return true;
    });
}

bool IniFile::fillMissing(const QList<Entry>& entries) const {
    if (m_path.isEmpty())
        return false;
    bool all = true;
    const bool written = rewrite(m_path, [&](QStringList& lines) {
        bool changed = false;
        for (const Entry& e : entries) {
            if (!storable(e.section, e.key, e.value)) {
                all = false;
                continue;
            }
            const QString s = e.section.trimmed();
            const QString k = e.key.trimmed();
            const qsizetype header = findSection(lines, s);
            if (header >= 0) {
                const qsizetype at = findKey(lines, header, sectionEnd(lines, header), k);
                if (at >= 0 && !valueOf(lines.at(at)).isEmpty())
                    continue;
            }
            setEntry(lines, s, k, e.value);
            changed = true;
        }
        return changed;
    });
    return written && all;
}
