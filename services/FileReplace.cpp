#include "services/FileReplace.h"

#include <QDir>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace tavrin {

namespace {

std::mutex FaultMutex;
TFileWriteFault Fault; // guarded by FaultMutex

TFileWriteFault CurrentFault()
{
    const std::lock_guard lock(FaultMutex);
    return Fault;
}

int FaultErrno(const TFileWriteFault& fault)
{
    return fault.Error != 0 ? fault.Error : ENOSPC;
}

QString ReasonFor(int error)
{
    switch (error) {
    case ENOSPC:
        return QStringLiteral("디스크에 남은 공간이 없어 파일을 쓰지 못했습니다.");
    case EDQUOT:
        return QStringLiteral("디스크 사용 한도를 넘어 파일을 쓰지 못했습니다.");
    case EACCES:
    case EPERM:
        return QStringLiteral("이 폴더에 파일을 쓸 권한이 없습니다.");
    case EROFS:
        return QStringLiteral("읽기 전용 파일 시스템이라 파일을 쓸 수 없습니다.");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("파일을 둘 폴더가 없습니다.");
    case EISDIR:
        return QStringLiteral("같은 이름의 폴더가 있어 파일로 바꿀 수 없습니다.");
    case EIO:
        return QStringLiteral("장치에서 입출력 오류가 나 파일을 쓰지 못했습니다.");
    case EFBIG:
        return QStringLiteral("파일이 이 파일 시스템에 두기에는 너무 큽니다.");
    case ENAMETOOLONG:
        return QStringLiteral("파일 이름이 너무 깁니다.");
    case ELOOP:
        return QStringLiteral("링크가 너무 많이 이어져 있어 파일을 찾지 못했습니다.");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("열린 파일이 너무 많아 파일을 쓰지 못했습니다.");
    default:
        return QStringLiteral("파일을 쓰지 못했습니다(오류 번호 %1).").arg(error);
    }
}

// The program's own refusals, kept beside the errno values in one int.
constexpr int SizeMismatch = -1;
constexpr int WriteProtected = -2;
constexpr int NotRegular = -3;
constexpr int UnsafeLink = -4;

int RefusalCode(TTargetRefusal refusal)
{
    switch (refusal) {
    case TTargetRefusal::WriteProtected:
        return WriteProtected;
    case TTargetRefusal::NotRegular:
        return NotRegular;
    case TTargetRefusal::UnsafeLink:
        return UnsafeLink;
    case TTargetRefusal::None:
        break;
    }
    return 0;
}

std::mutex UserMutex;
std::optional<TFileUser> User; // guarded by UserMutex

std::optional<TFileUser> CurrentUser()
{
    const std::lock_guard lock(UserMutex);
    return User;
}

// A name of at most NAME_MAX bytes beside the target's: ".name.1a2b3c4d.tmp", the target's name shortened
// (at a character boundary) when the whole would not fit. The name is relative to the held folder, so the
// length of the folder's path does not matter.
QByteArray TemporaryName(const QByteArray& name)
{
    const QByteArray suffix = QStringLiteral(".%1.tmp")
                                  .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))
                                  .toLatin1();
    const qsizetype room = NAME_MAX - 1 - suffix.size();
    qsizetype keep = std::min(name.size(), room);
    while (keep > 0 && keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80)
        --keep;
    return '.' + name.left(keep) + suffix;
}

// A fresh, not yet existing name beside the target; created exclusively so no other file is touched.
// Mode 0666 lets the umask decide a new file's permission bits, as for any file the user creates.
int CreateNamedTemporary(int folder, const QByteArray& name, QByteArray& tempName)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = TemporaryName(name);
        const int fd = ::openat(folder, tempName.constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) break;
    }
    const int error = errno;
    tempName.clear();
    errno = error;
    return -1;
}

// A file without a name in the folder: it vanishes by itself if the process dies before it is linked.
int OpenUnnamed(int folder, bool& unsupported)
{
    unsupported = false;
    if (CurrentFault().NoUnnamedTemporary) {
        unsupported = true;
        return -1;
    }
    const int fd = ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    // EISDIR: a kernel without unnamed files took the flag for a plain folder open.
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) unsupported = true;
    return fd;
}

// An existing target's permission bits (and, when this process may, its owner) carry over.
// The owner goes first: changing it clears the set-id bits, which the mode then puts back.
void CopyModeAndOwner(int fd, const struct stat& old)
{
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        [[maybe_unused]] const int group = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
    [[maybe_unused]] const int mode =
        ::fchmod(fd, old.st_mode & 07777); // else the umask's bits: still usable
}

// Writes all of bytes; 0 on success, else the errno of the failing call. `calls` counts the write(2)
// calls of the whole file, so that the test seam can fail the n-th of them.
int WriteAll(int fd, std::string_view bytes, const TFileWriteFault& fault, int& calls)
{
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        std::size_t chunk = std::min(left, FileWriteChunkBytes);
        if (fault.MaxWriteBytes != 0) chunk = std::min(chunk, fault.MaxWriteBytes);
        ++calls;
        ssize_t n;
        if (calls == fault.FailAtWrite) {
            errno = FaultErrno(fault);
            n = -1;
        } else {
            n = ::write(fd, p, chunk);
        }
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return EIO; // a regular file that takes nothing: treat as a device fault
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return 0;
}

int Sync(int fd, const TFileWriteFault& fault)
{
    if (fault.FailFlush) return FaultErrno(fault);
    return ::fsync(fd) == 0 ? 0 : errno;
}

// Makes the rename itself durable. Best effort: the new file is already in place when this runs.
void SyncFolder(int folder)
{
    const int dir = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    ::fsync(dir);
    ::close(dir);
}

// The sync and the size check that come before a rename; 0 on success, else an errno (or -1 when the
// written size does not match).
int Finish(int fd, std::size_t expected)
{
    if (const int error = Sync(fd, CurrentFault())) return error;
    struct stat written {};
    if (::fstat(fd, &written) != 0) return errno;
    if (written.st_size != static_cast<off_t>(expected)) return SizeMismatch;
    return 0;
}

// Links the unnamed file into the folder under name; 0 or an errno. Through /proc where it is mounted,
// else directly (which needs the right to open files by handle).
int LinkUnnamedAs(int fd, int folder, const QByteArray& name)
{
    char self[32];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
    if (::linkat(AT_FDCWD, self, folder, name.constData(), AT_SYMLINK_FOLLOW) == 0) return 0;
    if (errno != ENOENT) return errno;
    return ::linkat(fd, "", folder, name.constData(), AT_EMPTY_PATH) == 0 ? 0 : errno;
}

} // namespace

TFileReplacement::TFileReplacement(const QString& path)
{
    const std::optional<TFileUser> user = CurrentUser();
    TReplaceTarget target = ResolveReplaceTarget(path, user ? &*user : nullptr);
    FFolder = std::move(target.Folder);
    FName = target.Name;
    FShown = target.Shown;
    FExisted = target.Exists;
    if (target.Refusal != TTargetRefusal::None) FError = RefusalCode(target.Refusal);
    if (target.Error != 0) FError = target.Error;
    if (FError != 0) return;
    bool unsupported = false;
    FFd = OpenUnnamed(FFolder.Get(), unsupported);
    FUnnamed = FFd >= 0;
    if (unsupported) FFd = CreateNamedTemporary(FFolder.Get(), FName, FTempName);
    if (FFd < 0) {
        FError = errno;
        return;
    }
    if (FExisted) CopyModeAndOwner(FFd, target.Old);
}

TFileReplacement::~TFileReplacement()
{
    if (!FCommitted) Discard();
}

void TFileReplacement::Discard()
{
    if (FFd >= 0) ::close(FFd);
    FFd = -1;
    if (!FTempName.isEmpty()) ::unlinkat(FFolder.Get(), FTempName.constData(), 0);
    FTempName.clear();
}

bool TFileReplacement::Write(std::string_view bytes)
{
    if (FError != 0) return false;
    FError = WriteAll(FFd, bytes, CurrentFault(), FWriteCalls);
    if (FError == 0) FWritten += bytes.size();
    return FError == 0;
}

namespace {

// The Korean reason for a failure code of the routine, naming the file where the file itself is at fault.
QString ReasonForCode(int error, const QString& file)
{
    const QString shown = QDir::toNativeSeparators(file);
    switch (error) {
    case 0:
        return {};
    case SizeMismatch:
        return QStringLiteral("쓴 크기가 맞지 않아 파일을 바꾸지 않았습니다.");
    case WriteProtected:
        return QStringLiteral("%1: 쓰기가 금지된 파일이어서 바꾸지 않았습니다.").arg(shown);
    case NotRegular:
        return QStringLiteral("%1: 일반 파일이 아니어서(파이프, 장치, 소켓) 바꾸지 않았습니다.").arg(shown);
    case UnsafeLink:
        return QStringLiteral(
                   "%1: 누구나 쓸 수 있는 공용 폴더에 다른 사용자가 만든 링크여서 따라가지 않았습니다.")
            .arg(shown);
    default:
        return ReasonFor(error);
    }
}

} // namespace

QString TFileReplacement::Reason() const
{
    return ReasonForCode(FError, FShown);
}

QString ReplacementRefusal(const QString& path)
{
    const std::optional<TFileUser> user = CurrentUser();
    const TReplaceTarget target = ResolveReplaceTarget(path, user ? &*user : nullptr);
    if (target.Refusal == TTargetRefusal::None) return {};
    return ReasonForCode(RefusalCode(target.Refusal), target.Shown);
}

// Gives the unnamed file a name: the target's own when there was no file (nothing to replace), else a
// temporary one that is then renamed over the target.
int TFileReplacement::LinkUnnamed()
{
    if (!FExisted) {
        const int error = LinkUnnamedAs(FFd, FFolder.Get(), FName);
        if (error != EEXIST) return error;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = TemporaryName(FName);
        const int error = LinkUnnamedAs(FFd, FFolder.Get(), name);
        if (error == 0) FTempName = name;
        if (error != EEXIST) return error;
    }
    return EEXIST;
}

TFileWriteResult TFileReplacement::Commit()
{
    if (FError == 0) FError = Finish(FFd, FWritten);
    if (FError == 0) FError = FUnnamed ? LinkUnnamed() : 0;
    if (FFd >= 0 && ::close(FFd) != 0 && FError == 0) FError = errno;
    FFd = -1;
    if (FError == 0 && !FTempName.isEmpty()) {
        if (::renameat(FFolder.Get(), FTempName.constData(), FFolder.Get(), FName.constData()) != 0)
            FError = errno;
        else
            FTempName.clear();
    }
    if (FError != 0) {
        Discard();
        return {false, Reason()};
    }
    FCommitted = true;
    SyncFolder(FFolder.Get());
    return {true, QString()};
}

TFileWriteResult WriteFileReplacing(const QString& path, std::string_view bytes)
{
    TFileReplacement file(path);
    file.Write(bytes);
    return file.Commit();
}

void SetFileWriteFaultForTest(const TFileWriteFault& fault)
{
    const std::lock_guard lock(FaultMutex);
    Fault = fault;
}

void ClearFileWriteFaultForTest()
{
    SetFileWriteFaultForTest({});
}

void SetFileUserForTest(const TFileUser& user)
{
    const std::lock_guard lock(UserMutex);
    User = user;
}

void ClearFileUserForTest()
{
    const std::lock_guard lock(UserMutex);
    User.reset();
}

} // namespace tavrin
