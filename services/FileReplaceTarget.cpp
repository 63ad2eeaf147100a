#include "services/FileReplaceTarget.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <deque>
#include <fcntl.h>

namespace tavrin {

namespace {

// As many links as the kernel follows in one lookup.
constexpr int MaxLinksFollowed = 40;

std::deque<QByteArray> Components(const QByteArray& path)
{
    std::deque<QByteArray> parts;
    for (const QByteArray& part : path.split('/'))
        if (!part.isEmpty()) parts.push_back(part);
    return parts;
}

TUniqueFd OpenStart(const QByteArray& path)
{
    return TUniqueFd(::open(path.startsWith('/') ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
}

// The folder's path as the kernel knows it, joined with name; just the name when that cannot be had.
QString Describe(int folder, const QByteArray& name)
{
    char link[32];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", folder);
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(link, buffer, sizeof buffer);
    if (n <= 0 || n >= static_cast<ssize_t>(sizeof buffer)) return QFile::decodeName(name);
    QByteArray full(buffer, static_cast<qsizetype>(n));
    if (!full.endsWith('/')) full += '/';
    return QFile::decodeName(full + name);
}

QByteArray ReadLink(int folder, const QByteArray& name)
{
    QByteArray target(PATH_MAX, '\0');
    const ssize_t n =
        ::readlinkat(folder, name.constData(), target.data(), static_cast<std::size_t>(target.size()));
    if (n <= 0 || n >= target.size()) return {};
    target.truncate(static_cast<qsizetype>(n));
    return target;
}

uid_t UserId(const TFileUser* user)
{
    return user ? user->Uid : ::geteuid();
}

// The protected-symlinks rule: in a sticky folder anyone may write, follow only the user's own links and
// those of the folder's owner, so that nobody can point somebody else's save at a file of his choosing.
bool LinkMayBeFollowed(int folder, const struct stat& link, const TFileUser* user)
{
    struct stat dir {};
    if (::fstat(folder, &dir) != 0) return false;
    const bool shared = (dir.st_mode & S_ISVTX) && (dir.st_mode & S_IWOTH);
    if (!shared) return true;
    const uid_t uid = UserId(user);
    return link.st_uid == uid || link.st_uid == dir.st_uid;
}

// Root may write any file, but a file without a single write bit was protected on purpose: it is kept.
bool RootMayReplace(const struct stat& st)
{
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

// The classic permission classes, for an identity other than the process's own.
bool BitsAllowWriting(const struct stat& st, const TFileUser& user)
{
    if (user.Uid == 0) return RootMayReplace(st);
    if (st.st_uid == user.Uid) return st.st_mode & S_IWUSR;
    if (std::find(user.Groups.begin(), user.Groups.end(), st.st_gid) != user.Groups.end())
        return st.st_mode & S_IWGRP;
    return st.st_mode & S_IWOTH;
}

// Checks that the existing regular file may be replaced; the kernel decides for the process itself, so
// that access control lists count too.
void CheckWritable(TReplaceTarget& target, const TFileUser* user)
{
    bool allowed;
    if (user) {
        allowed = BitsAllowWriting(target.Old, *user);
    } else if (::geteuid() == 0) {
        allowed = RootMayReplace(target.Old);
    } else {
        allowed = ::faccessat(target.Folder.Get(), target.Name.constData(), W_OK, AT_EACCESS) == 0;
        if (!allowed && errno == EROFS) {
            target.Error = EROFS;
            return;
        }
    }
    if (!allowed) target.Refusal = TTargetRefusal::WriteProtected;
}

void Arrive(TReplaceTarget& target, TUniqueFd folder, const QByteArray& name, const struct stat* st,
            const TFileUser* user)
{
    target.Folder = std::move(folder);
    target.Name = name;
    target.Shown = Describe(target.Folder.Get(), name);
    if (!st) return;
    if (S_ISDIR(st->st_mode)) {
        target.Error = EISDIR;
        return;
    }
    if (!S_ISREG(st->st_mode)) {
        target.Refusal = TTargetRefusal::NotRegular;
        return;
    }
    target.Exists = true;
    target.Old = *st;
    CheckWritable(target, user);
}

} // namespace

TReplaceTarget ResolveReplaceTarget(const QString& path, const TFileUser* user)
{
    TReplaceTarget target;
    target.Shown = path;
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.isEmpty()) {
        target.Error = ENOENT;
        return target;
    }
    // A name ending in a slash names a folder.
    if (encoded.endsWith('/')) {
        target.Error = EISDIR;
        return target;
    }
    std::deque<QByteArray> pending = Components(encoded);
    TUniqueFd folder = OpenStart(encoded);
    int links = 0;
    while (!pending.empty()) {
        if (!folder.Valid()) {
            target.Error = errno;
            return target;
        }
        const QByteArray part = pending.front();
        pending.pop_front();
        const bool last = pending.empty();
        if (part == "." && !last) continue;
        struct stat st {};
        if (::fstatat(folder.Get(), part.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT && last)
                Arrive(target, std::move(folder), part, nullptr, user);
            else
                target.Error = errno;
            return target;
        }
        if (S_ISLNK(st.st_mode)) {
            if (++links > MaxLinksFollowed) {
                target.Error = ELOOP;
                return target;
            }
            if (!LinkMayBeFollowed(folder.Get(), st, user)) {
                target.Refusal = TTargetRefusal::UnsafeLink;
                target.Shown = Describe(folder.Get(), part);
                return target;
            }
            const QByteArray link = ReadLink(folder.Get(), part);
            if (link.isEmpty() || (last && link.endsWith('/'))) {
                target.Error = link.isEmpty() ? ENOENT : EISDIR;
                return target;
            }
            std::deque<QByteArray> inserted = Components(link);
            pending.insert(pending.begin(), inserted.begin(), inserted.end());
            if (link.startsWith('/')) folder = OpenStart(link);
            continue;
        }
        if (last) {
            Arrive(target, std::move(folder), part, &st, user);
            return target;
        }
        if (!S_ISDIR(st.st_mode)) {
            target.Error = ENOTDIR;
            return target;
        }
        folder = TUniqueFd(
            ::openat(folder.Get(), part.constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    }
    // Only "/" or "." parts: the path names a folder.
    target.Error = folder.Valid() ? EISDIR : errno;
    return target;
}

} // namespace tavrin
