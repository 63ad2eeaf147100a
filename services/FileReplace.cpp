#include "services/FileReplace.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
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
    case EMFILE:
    case ENFILE:
        return QStringLiteral("열린 파일이 너무 많아 파일을 쓰지 못했습니다.");
    default:
        return QStringLiteral("파일을 쓰지 못했습니다(오류 번호 %1).").arg(error);
    }
}

// The file actually replaced: a symbolic link stays a link and its target gets the new contents.
QString ResolvedTarget(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) return info.symLinkTarget();
    return info.absoluteFilePath();
}

// A fresh, not yet existing name beside the target; created exclusively so no other file is touched.
// Mode 0666 lets the umask decide a new file's permission bits, as for any file the user creates.
int CreateTemporaryBeside(const QString& target, QByteArray& tempName)
{
    const QFileInfo info(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                             QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16,
                                                           QLatin1Char('0'));
        tempName = QFile::encodeName(name);
        const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// An existing target's permission bits (and, when this process may, its owner) carry over.
void CopyModeAndOwner(int fd, const struct stat& old)
{
    if (::fchmod(fd, old.st_mode & 07777) != 0) return; // the umask's bits then: still a usable file
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
        [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
    }
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
void SyncFolder(const QString& target)
{
    const int dir = ::open(QFile::encodeName(QFileInfo(target).absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
    if (written.st_size != static_cast<off_t>(expected)) return -1;
    return 0;
}

} // namespace

TFileReplacement::TFileReplacement(const QString& path) : FTarget(ResolvedTarget(path))
{
    std::optional<struct stat> old;
    struct stat st {};
    if (::stat(QFile::encodeName(FTarget).constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            FError = EISDIR;
            return;
        }
        if (S_ISREG(st.st_mode)) old = st;
    }
    FFd = CreateTemporaryBeside(FTarget, FTempName);
    if (FFd < 0) {
        FError = errno;
        return;
    }
    if (old) CopyModeAndOwner(FFd, *old);
}

TFileReplacement::~TFileReplacement()
{
    if (!FCommitted) Discard();
}

void TFileReplacement::Discard()
{
    if (FFd >= 0) ::close(FFd);
    FFd = -1;
    if (!FTempName.isEmpty()) ::unlink(FTempName.constData());
    FTempName.clear();
}

bool TFileReplacement::Write(std::string_view bytes)
{
    if (FError != 0) return false;
    FError = WriteAll(FFd, bytes, CurrentFault(), FWriteCalls);
    if (FError == 0) FWritten += bytes.size();
    return FError == 0;
}

QString TFileReplacement::Reason() const
{
    if (FError == -1) return QStringLiteral("쓴 크기가 맞지 않아 파일을 바꾸지 않았습니다.");
    return FError != 0 ? ReasonFor(FError) : QString();
}

TFileWriteResult TFileReplacement::Commit()
{
    if (FError == 0) FError = Finish(FFd, FWritten);
    if (FFd >= 0 && ::close(FFd) != 0 && FError == 0) FError = errno;
    FFd = -1;
    if (FError == 0 && ::rename(FTempName.constData(), QFile::encodeName(FTarget).constData()) != 0)
        FError = errno;
    if (FError != 0) {
        Discard();
        return {false, Reason()};
    }
    FCommitted = true;
    SyncFolder(FTarget);
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

} // namespace tavrin
