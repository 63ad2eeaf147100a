#pragma once
// Finding the file a save replaces: the whole chain of symbolic links is followed by the program itself,
// component by component, so that the final file is replaced (the links stay links), and so that a link
// planted by somebody else in a shared sticky folder is never followed. The folder reached stays open, and
// every later step works relative to it, so the folder cannot be swapped under the save.

#include <QByteArray>
#include <QString>

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#include <vector>

namespace tavrin {

// A file descriptor closed with its owner.
class TUniqueFd
{
  public:
    TUniqueFd() = default;
    explicit TUniqueFd(int fd) : FFd(fd) {}
    ~TUniqueFd() { Reset(); }
    TUniqueFd(TUniqueFd&& other) noexcept : FFd(other.Release()) {}
    TUniqueFd& operator=(TUniqueFd&& other) noexcept
    {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    TUniqueFd(const TUniqueFd&) = delete;
    TUniqueFd& operator=(const TUniqueFd&) = delete;

    int Get() const { return FFd; }
    bool Valid() const { return FFd >= 0; }
    int Release()
    {
        const int fd = FFd;
        FFd = -1;
        return fd;
    }
    void Reset(int fd = -1)
    {
        if (FFd >= 0) ::close(FFd);
        FFd = fd;
    }

  private:
    int FFd = -1;
};

// Who the checks take the user to be. Uid 0 is root.
struct TFileUser
{
    uid_t Uid = 0;
    std::vector<gid_t> Groups; // the primary group first
};

// Failures of the checks that are not an errno.
enum class TTargetRefusal
{
    None,
    WriteProtected, // the user may not write the file (or, for root, it has no write bit at all)
    NotRegular,     // a FIFO, device node or socket
    UnsafeLink, // a link in a sticky world-writable folder, owned by neither the user nor the folder's owner
};

struct TReplaceTarget
{
    TUniqueFd Folder; // the folder that holds the final file (an O_PATH descriptor)
    QByteArray Name;  // the final file's name in that folder
    bool Exists = false;
    struct stat Old {};             // the existing file's status when Exists
    int Error = 0; // errno of a failed step (EISDIR for a folder, ELOOP for too many links)
    TTargetRefusal Refusal = TTargetRefusal::None;
    QString Shown; // the file (or the refused link) for messages
};

// Resolves path for replacement and checks that the file found may be replaced by user. When user is
// null the process's own identity and the kernel's access check are used.
TReplaceTarget ResolveReplaceTarget(const QString& path, const TFileUser* user);

} // namespace tavrin
