#include "reports/pagefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <filesystem>

QString cannotWriteText(const QString& path) {
    return QStringLiteral("Can't write ") + path;
}

PageFile::PageFile() = default;

PageFile::~PageFile() = default; // QSaveFile drops its temporary file unless committed

bool PageFile::open(const QString& path, Sync sync) {
    m_file.reset();
    m_failed = false;
    m_path = path;
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    if (sync == Sync::Skip) {
        auto file = std::make_unique<QTemporaryFile>(path + QStringLiteral(".XXXXXX"));
        if (!file->open())
            return false;
        // Readable as a page written in place would be, e.g. by a browser running as another user.
        file->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                             QFileDevice::ReadOther);
        m_file = std::move(file);
        return true;
    }
    auto file = std::make_unique<QSaveFile>(path);
    if (!file->open(QIODevice::WriteOnly))
        return false;
    m_file = std::move(file);
    return true;
}

bool PageFile::writeLine(const QString& text) {
    if (!m_file)
        return false;
    const QByteArray data = text.toUtf8();
    if (m_file->write(data) != data.size() || m_file->write("\r\n", 2) != 2)
        m_failed = true;
    return !m_failed;
}

bool PageFile::commit() {
    if (!m_file)
        return false;
    std::unique_ptr<QFileDevice> file = std::move(m_file);
    if (auto* save = qobject_cast<QSaveFile*>(file.get())) {
        if (m_failed) {
            save->cancelWriting();
            return false;
        }
        return save->commit();
    }
    // A temporary file: it goes with its object unless renamed over the target.
    auto* temp = static_cast<QTemporaryFile*>(file.get());
    if (m_failed || !temp->flush())
        return false;
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(temp->fileName()).toStdString(), QFile::encodeName(m_path).toStdString(),
                            error);
    if (error)
        return false;
    temp->setAutoRemove(false);
    return true;
}

bool PageFile::isOpen() const {
    return m_file != nullptr;
}
