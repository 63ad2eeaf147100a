#pragma once
// Small file helpers for the settings tests.

#include <QDir>
#include <QFile>
#include <QString>

#include <string>

namespace tavrin::test {

inline std::string ReadBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    const QByteArray b = f.readAll();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

inline void WriteBytes(const QString& path, const std::string& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// The names in a folder, to see that no temporary file was left behind.
inline QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(
        QDir::Files | QDir::Hidden | QDir::System | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

inline void MakeReadOnly(const QString& path)
{
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

} // namespace tavrin::test
