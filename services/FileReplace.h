#pragma once
// The one way the program writes a file. The new contents go to a temporary file in the target's folder
// (an unnamed one where the file system offers it, so that a save killed part-way leaves nothing behind);
// every write, the sync and the final size are checked, and only then does the temporary file take the
// target's place in one atomic rename. A full disk, a read-only folder or an I/O error therefore never
// leaves a shortened or empty file where a good one was: the target stays byte for byte and the caller gets
// a reason to show.
//
// Before anything is written the target is checked: links are followed to the final file (a link in a
// shared sticky folder only when it belongs to the user or the folder's owner), and a folder, a FIFO, a
// device node, a socket or a file the user may not write is refused. Root may replace any file that has
// at least one write bit; a file with none was protected on purpose and is refused for root too.

#include "services/FileReplaceTarget.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <string_view>

namespace tavrin {

// Outcome of writing a whole file; Reason is a Korean sentence for a message box ("" when Ok).
struct TFileWriteResult
{
    bool Ok = false;
    QString Reason;
};

// Writes bytes to a temporary file in the target's folder, checks every write and the flush, fsyncs,
// compares the written size, and only then puts it in the target's place (keeping an existing file's
// permission bits and, where the process may, its owner and group; new files get the user's normal umask
// permissions). On any failure the temporary file is removed and the target stays byte for byte. Symbolic
// links at path are kept: the file at the end of the chain is replaced.
TFileWriteResult WriteFileReplacing(const QString& path, std::string_view bytes);

// The reason the routine would refuse to replace path (a protected file, a target that is not a regular
// file, a planted link), or "" when it would go ahead. Lets a save refuse before it asks whether to
// replace a file that it may not replace anyway.
QString ReplacementRefusal(const QString& path);

// The same replacement fed piece by piece, for a writer that streams a large file instead of building it
// in memory first. The temporary file is made at once; Write appends (false once anything has failed,
// with Reason saying why); Commit syncs, checks the size and renames. Destroyed without a successful
// Commit, it removes the temporary file and the target stays as it was. A new file is linked straight
// into place; an existing one is replaced by linking the unnamed file under a short temporary name and
// renaming that over it, so only a kill between those two calls can leave a (complete) temporary file.
// Where the file system has no unnamed files, a named temporary file is written instead.
class TFileReplacement
{
  public:
    explicit TFileReplacement(const QString& path);
    ~TFileReplacement();
    TFileReplacement(const TFileReplacement&) = delete;
    TFileReplacement& operator=(const TFileReplacement&) = delete;

    bool Write(std::string_view bytes);
    TFileWriteResult Commit();
    bool Ok() const { return FError == 0; }
    QString Reason() const;

  private:
    void Discard();
    int LinkUnnamed();

    TUniqueFd FFolder; // the folder of the file replaced
    QByteArray FName;  // the file's name in it
    QString FShown;    // the file, for messages
    bool FExisted = false;
    bool FUnnamed = false; // the contents are in an unnamed temporary file
    QByteArray FTempName;  // the temporary file's name in the folder, once it has one
    int FFd = -1;
    int FError = 0; // errno of the first failure, or one of the program's own refusals (negative)
    int FWriteCalls = 0;
    std::size_t FWritten = 0;
    bool FCommitted = false;
};

// Test seam: makes the routine fail on purpose, so that the failure paths can be tried on any disk.
// While set, it applies to every later call in the process; Clear it when done.
struct TFileWriteFault
{
    int FailAtWrite = 0;             // the n-th write(2) call of a file (1-based) fails; 0: none
    bool FailFlush = false;          // the fsync fails
    int Error = 0;                   // errno reported by the failing call (ENOSPC when 0)
    std::size_t MaxWriteBytes = 0;   // each write(2) passes at most this many bytes (short writes); 0: any
    bool NoUnnamedTemporary = false; // the file system is taken to offer no unnamed temporary files
};
void SetFileWriteFaultForTest(const TFileWriteFault& fault);
void ClearFileWriteFaultForTest();

// Test seam: the identity the checks of owner, write permission and shared folders use instead of the
// process's own (the permission bits then decide, as for the classic owner, group and other classes).
void SetFileUserForTest(const TFileUser& user);
void ClearFileUserForTest();

// Bytes handed to one write(2) call; larger files take several calls.
inline constexpr std::size_t FileWriteChunkBytes = 1 << 20;

} // namespace tavrin
