#include "reports/pagefile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

PageFile::PageFile() = default;

PageFile::~PageFile() = default; // QSaveFile drops its temporary file unless committed

bool PageFile::open(const QString& path) {
    m_file.reset();
    m_failed = false;
    m_path = path;
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    auto file = std::make_unique<QSaveFile>(path);
    if (!file->open(QIODevice::WriteOnly))
        return false;
    m_file = std::move(file);
    return true;
}

bool PageFile::writeLine(const QString& text) {
    if (!m_file)
        return false;
    const QByteArray data = (text + QStringLiteral("\r\n")).toUtf8();
    if (m_file->write(data) != data.size())
        m_failed = true;
    return !m_failed;
}

bool PageFile::commit() {
    if (!m_file)
        return false;
    std::unique_ptr<QSaveFile> file = std::move(m_file);
    if (m_failed) {
        file->cancelWriting();
        return false;
    }
    return file->commit();
}

bool PageFile::isOpen() const {
    return m_file != nullptr;
}
