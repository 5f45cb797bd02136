#pragma once

#include <QString>
#include <memory>

class QFileDevice;

// What the user is told when a page cannot be written at path.
QString cannotWriteText(const QString& path);

// A page or CSV file written whole or not at all: lines go to a file beside the target, which replaces the
// target only on commit(). Dropped uncommitted, it leaves the disk as it was.
class PageFile {
public:
    PageFile();
    ~PageFile();
    PageFile(const PageFile&) = delete;
    PageFile& operator=(const PageFile&) = delete;

    // How commit() puts the file in place. Both replace the target in one step; ToDisk also waits until the
    // text is on the disk, which a page rewritten every few minutes does not need.
    enum class Sync { ToDisk, Skip };

    // Starts a new file for path, creating its folder when missing; false when it cannot be written.
    bool open(const QString& path, Sync sync = Sync::ToDisk);
    // Appends the text and CR LF, in UTF-8. False when not open or the write failed.
    bool writeLine(const QString& text);
    // Puts the file in place; false (and nothing changed) when any step failed.
    bool commit();

    bool isOpen() const;
    const QString& path() const { return m_path; }

private:
    std::unique_ptr<QFileDevice> m_file; // a QSaveFile, or a QTemporaryFile beside the target for Sync::Skip
    QString m_path;
    bool m_failed = false;
};
