#pragma once
// The one way the program writes a file: a temporary file in the target's folder, every write and the
// sync checked, then a rename over the target. On any failure the temporary file goes and the target
// stays byte for byte.

#include <QString>

#include <string_view>

namespace tavrin {

// Outcome of writing a whole file; Reason is a Korean sentence for a message box ("" when Ok).
struct TFileWriteResult
{
    bool Ok = false;
    QString Reason;
};

TFileWriteResult WriteFileReplacing(const QString& path, std::string_view bytes);

} // namespace tavrin
