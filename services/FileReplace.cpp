#include "services/FileReplace.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace tavrin {
namespace {

QString Reason(const char* what, int error)
{
    return QString::fromUtf8(what) + QStringLiteral(" (") + QString::fromLocal8Bit(std::strerror(error)) +
           QStringLiteral(")");
}

bool WriteAll(int fd, std::string_view bytes, int& error)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), std::min<std::size_t>(bytes.size(), 1 << 20));
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            return false;
        }
        if (n == 0) {
            error = ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

TFileWriteResult WriteFileReplacing(const QString& path, std::string_view bytes)
{
    const QByteArray target = QFile::encodeName(path);
    const QByteArray pattern = QFile::encodeName(QFileInfo(path).absolutePath()) + "/.tavrin-XXXXXX";
    std::string temp(pattern.constData(), static_cast<std::size_t>(pattern.size()));
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return {false, Reason("임시 파일을 만들 수 없습니다.", errno)};
    int error = 0;
    bool ok = WriteAll(fd, bytes, error);
    if (ok && ::fsync(fd) != 0) ok = false, error = errno;
    struct stat written
    {
    };
    if (ok && (::fstat(fd, &written) != 0 || static_cast<std::size_t>(written.st_size) != bytes.size()))
        ok = false, error = error ? error : EIO;
    // mkstemp makes the file for its owner only; give it the permissions any new file would get.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat existing
    {
    };
    const mode_t mode = ::stat(target.constData(), &existing) == 0 ? existing.st_mode & 07777 : 0666 & ~mask;
    if (ok && ::fchmod(fd, mode) != 0) ok = false, error = errno;
    if (::close(fd) != 0 && ok) ok = false, error = errno;
    if (ok && ::rename(temp.c_str(), target.constData()) != 0) ok = false, error = errno;
    if (!ok) {
        ::unlink(temp.c_str());
        return {false, Reason("파일을 쓸 수 없습니다.", error)};
    }
    return {true, {}};
}

} // namespace tavrin
