#include "services/IniFileStorage.h"

#include "services/ConfigPaths.h"
#include "services/IniFileIo.h"

#include <QDir>
#include <QFileInfo>

namespace tavrin {

QString TAppIniFileStorage::DefaultFileName()
{
    return ProgramFolder() + QStringLiteral("status.ini");
}

TAppIniFileStorage::TAppIniFileStorage(QString fileName) : FFileName(std::move(fileName))
{
    const TFileText file = ReadSettingsFile(FFileName);
    FKeepFile = file.State == TFileText::TState::Unreadable;
    if (file.State == TFileText::TState::Read) FStore = TIniStore::Parse(file.Bytes);
}

bool TAppIniFileStorage::Save()
{
    if (FSaved) return false;
    FSaved = true;
    if (FKeepFile || IsMarkedReadOnly(FFileName)) return false;
    if (!QDir().mkpath(QFileInfo(FFileName).absolutePath())) return false;
    return ReplaceFile(FFileName, FStore.Format());
}

} // namespace tavrin
