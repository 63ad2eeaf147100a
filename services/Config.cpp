#include "services/Config.h"

#include "services/ConfigPaths.h"
#include "services/IniFileIo.h"
#include "services/IniFileLines.h"
#include "services/IniFileNumbers.h"
#include "services/MessageSeam.h"

#include <QDir>

namespace tavrin {

namespace {

constexpr const char* OptionSection = "option";
constexpr const char* UseViewSelectedKey = "UseViewSelected";

QString ConfigFileIn(const QString& folder)
{
    QString dir = QDir(folder).absolutePath();
    if (!dir.endsWith(u'/')) dir += u'/';
    return dir + QStringLiteral("config.ini");
}

} // namespace

TConfig::TConfig(IMessageSeam& messages)
    : TConfig(messages, php_server(QStringLiteral("DOCUMENT_ROOT"), messages))
{
}

TConfig::TConfig(IMessageSeam& messages, const QString& folder)
    : FMessages(messages), FFileName(ConfigFileIn(folder))
{
    Read();
}

TConfig::~TConfig()
{
    if (!Write())
        FMessages.Show({QString(),
                        QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(FFileName)),
                        TMsgIcon::Error});
}

void TConfig::Read()
{
    const TFileText file = ReadSettingsFile(FFileName);
    if (file.State != TFileText::TState::Read) return;
    const auto text = ReadIniLine(file.Bytes, OptionSection, UseViewSelectedKey);
    if (!text) return;
    if (const auto n = ParseWholeNumber(*text)) UseViewSelected = *n != 0;
}

bool TConfig::Write() const
{
    // A file that exists but cannot be read is not replaced: its other lines would be lost.
    const TFileText file = ReadSettingsFile(FFileName);
    if (file.State == TFileText::TState::Unreadable || IsMarkedReadOnly(FFileName)) return false;
    return ReplaceFile(
        FFileName, WriteIniLine(file.Bytes, OptionSection, UseViewSelectedKey, UseViewSelected ? "1" : "0"));
}

} // namespace tavrin
