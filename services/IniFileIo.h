#pragma once
// Reading and replacing whole settings files. A file is replaced by writing a temporary file in the
// same folder and renaming it over the old one, so a failure or a crash half way leaves the old file in
// place, never a half-written one.

#include "services/FileReplace.h"

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

namespace tavrin {

// Settings files are a few hundred bytes; anything far larger is not one of ours and is not read.
inline constexpr qint64 MaxSettingsFileSize = 16 * 1024 * 1024;

struct TFileText
{
    enum class TState
    {
        Read,
        Missing,
        Unreadable
    };
    TState State = TState::Missing;
    std::string Bytes; // the file's bytes when State is Read
};

// Missing: no file there. Unreadable: something is there but cannot be read as a file (a folder, no
// permission, larger than MaxSettingsFileSize, a read error).
TFileText ReadSettingsFile(const QString& path);

// True when a file exists at path and is marked read-only (no write permission for its owner, or none
// for this process).
bool IsMarkedReadOnly(const QString& path);

// Replaces (or creates) the file at path with bytes through WriteFileReplacing. The folder must exist.
// False on any failure, in which case whatever was at path is left unchanged.
bool ReplaceFile(const QString& path, std::string_view bytes);

} // namespace tavrin
