#include "services/IniFileIo.h"

#include <QFile>
#include <QFileInfo>

namespace tavrin {

TFileText ReadSettingsFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return {TFileText::TState::Missing, {}};
    TFileText unreadable{TFileText::TState::Unreadable, {}};
    if (!info.isFile() || info.size() > MaxSettingsFileSize) return unreadable;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return unreadable;
    // Read at most one byte past the limit, in case the file grew after the size check.
    const QByteArray bytes = file.read(MaxSettingsFileSize + 1);
    if (bytes.size() > MaxSettingsFileSize || file.error() != QFileDevice::NoError) return unreadable;
    return {TFileText::TState::Read, std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()))};
}

bool IsMarkedReadOnly(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) return false;
    return !(info.permissions() & QFileDevice::WriteOwner) || !info.isWritable();
}

bool ReplaceFile(const QString& path, std::string_view bytes)
{
    return WriteFileReplacing(path, bytes).Ok;
}

} // namespace tavrin
