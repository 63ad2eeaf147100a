#pragma once
// The one way the program writes a file. The new contents go to a temporary file in the target's folder;
// every write, the sync and the final size are checked, and only then is the temporary file renamed over
// the target. A full disk, a read-only folder or an I/O error therefore never leaves a shortened or empty
// file where a good one was: the target stays byte for byte and the caller gets a reason to show.

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
// compares the written size, and only then renames it over path (keeping an existing file's permission
// bits; new files get the user's normal umask permissions). On any failure the temporary file is removed
// and the target stays byte for byte. A symbolic link at path is kept: the file it points to is replaced.
TFileWriteResult WriteFileReplacing(const QString& path, std::string_view bytes);

// The same replacement fed piece by piece, for a writer that streams a large file instead of building it
// in memory first. The temporary file is made at once; Write appends (false once anything has failed,
// with Reason saying why); Commit syncs, checks the size and renames. Destroyed without a successful
// Commit, it removes the temporary file and the target stays as it was.
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

    QString FTarget;
    QByteArray FTempName;
    int FFd = -1;
    int FError = 0; // errno of the first failure; -1: the written size did not match
    int FWriteCalls = 0;
    std::size_t FWritten = 0;
    bool FCommitted = false;
};

// Test seam: makes the routine fail on purpose, so that the failure paths can be tried on any disk.
// While set, it applies to every later call in the process; Clear it when done.
struct TFileWriteFault
{
    int FailAtWrite = 0;       // the n-th write(2) call of a file (1-based) fails; 0: none
    bool FailFlush = false;    // the fsync fails
    int Error = 0;             // errno reported by the failing call (ENOSPC when 0)
    std::size_t MaxWriteBytes = 0; // each write(2) passes at most this many bytes (short writes); 0: any
};
void SetFileWriteFaultForTest(const TFileWriteFault& fault);
void ClearFileWriteFaultForTest();

// Bytes handed to one write(2) call; larger files take several calls.
inline constexpr std::size_t FileWriteChunkBytes = 1 << 20;

} // namespace tavrin
