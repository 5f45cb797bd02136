#pragma once

#include <QString>
#include <memory>

class QSaveFile;

// A page or CSV file written whole or not at all: lines go to a file beside the target, which replaces the
// target only on commit(). Dropped uncommitted, it leaves the disk as it was.
class PageFile {
public:
    PageFile();
    ~PageFile();
    PageFile(const PageFile&) = delete;
    PageFile& operator=(const PageFile&) = delete;

    // Starts a new file for path, creating its folder when missing; false when it cannot be written.
    bool open(const QString& path);
    // Appends the text and CR LF, in UTF-8. False when not open or the write failed.
    bool writeLine(const QString& text);
    // Puts the file in place; false (and nothing changed) when any step failed.
    bool commit();

    bool isOpen() const;
    const QString& path() const { return m_path; }

private:
    std::unique_ptr<QSaveFile> m_file;
    QString m_path;
    bool m_failed = false;
};
