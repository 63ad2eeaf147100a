#include "services/FileReplace.h"

#include "SettingsTestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <grp.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

mode_t ModeOf(const QString& path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return 0;
    return st.st_mode & 07777;
}

mode_t CurrentUmask()
{
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// Clears the fault on every way out of a test.
struct TFaultScope
{
    explicit TFaultScope(const TFileWriteFault& fault) { SetFileWriteFaultForTest(fault); }
    ~TFaultScope() { ClearFileWriteFaultForTest(); }
};

// A small tmpfs of its own, so that a full or read-only file system can be had for real. Needs root
// (and a kernel that lets this process mount); Reason() says why not otherwise.
class TTmpfs
{
  public:
    explicit TTmpfs(const char* options)
    {
        if (::geteuid() != 0) {
            FWhyNot = "mounting a file system needs root";
            return;
        }
        if (::mount("tavrin-test", Path().toLocal8Bit().constData(), "tmpfs", 0, options) != 0) {
            FWhyNot = std::string("mount refused: ") + std::strerror(errno);
            return;
        }
        FMounted = true;
    }
    ~TTmpfs()
    {
        if (FMounted) ::umount2(Path().toLocal8Bit().constData(), MNT_DETACH);
    }
    TTmpfs(const TTmpfs&) = delete;
    TTmpfs& operator=(const TTmpfs&) = delete;

    bool Mounted() const { return FMounted; }
    const std::string& WhyNot() const { return FWhyNot; }
    QString Path() const { return FDir.path(); }
    QString File(const QString& name) const { return FDir.filePath(name); }

    bool MakeReadOnly()
    {
        return ::mount("tavrin-test", Path().toLocal8Bit().constData(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                       nullptr) == 0;
    }

    // Fills the file system with one file until no byte more fits.
    void Fill()
    {
        QFile filler(File("filler"));
        if (!filler.open(QIODevice::WriteOnly)) return;
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }

  private:
    QTemporaryDir FDir;
    bool FMounted = false;
    std::string FWhyNot;
};

const std::string OldConfig = "[option]\r\nUseViewSelected=1\r\n; a good file the user relies on, 138 bytes "
                              "long, which must survive any failed attempt to replace it ....\r\n";

} // namespace

TEST(FileReplace, CreatesAndReplacesWithTheUsualPermissionBits)
{
    QTemporaryDir dir;
    const QString fresh = dir.filePath("fresh.ini");
    const TFileWriteResult created = WriteFileReplacing(fresh, "new");
    EXPECT_TRUE(created.Ok);
    EXPECT_EQ(created.Reason, "");
    EXPECT_EQ(ReadBytes(fresh), "new");
    EXPECT_EQ(ModeOf(fresh), 0666 & ~CurrentUmask());

    const QString kept = dir.filePath("kept.ini");
    WriteBytes(kept, "old contents, longer than the new");
    ASSERT_EQ(::chmod(QFile::encodeName(kept).constData(), 0640), 0);
    EXPECT_TRUE(WriteFileReplacing(kept, "").Ok);
    EXPECT_EQ(ReadBytes(kept), "");
    EXPECT_EQ(ModeOf(kept), 0640u);

    // A link stays a link; the file it points to gets the contents.
    const QString link = dir.filePath("link.ini");
    ASSERT_TRUE(QFile::link(kept, link));
    EXPECT_TRUE(WriteFileReplacing(link, "through the link").Ok);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadBytes(kept), "through the link");

    EXPECT_EQ(FilesIn(dir.path()), (QStringList{"fresh.ini", "kept.ini", "link.ini"}));
}

TEST(FileReplace, ShortWritesAndSeveralChunksStillWriteEveryByte)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("big.bin");
    std::string bytes(FileWriteChunkBytes * 2 + 12345, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 1000);
    EXPECT_TRUE(WriteFileReplacing(path, bytes).Ok);
    EXPECT_EQ(ReadBytes(path), bytes);

    const TFaultScope shortWrites({.MaxWriteBytes = 333});
    const std::string small = bytes.substr(0, 10000);
    EXPECT_TRUE(WriteFileReplacing(path, small).Ok);
    EXPECT_EQ(ReadBytes(path), small);
}

TEST(FileReplace, AFailedWriteOrFlushLeavesTheTargetAndNoTemporaryFile)
{
    struct Case
    {
        const char* What;
        TFileWriteFault Fault;
        const char* ReasonPart;
    };
    const Case cases[] = {
        {"first write, disk full", {.FailAtWrite = 1, .Error = ENOSPC}, "공간"},
        {"fifth short write, disk full", {.FailAtWrite = 5, .Error = ENOSPC, .MaxWriteBytes = 10}, "공간"},
        {"write, device error", {.FailAtWrite = 1, .Error = EIO}, "입출력"},
        {"flush, disk full", {.FailFlush = true, .Error = ENOSPC}, "공간"},
        {"flush, device error", {.FailFlush = true, .Error = EIO}, "입출력"},
        {"write, quota", {.FailAtWrite = 1, .Error = EDQUOT}, "한도"},
    };
    for (const Case& c : cases) {
        for (const bool existing : {true, false}) {
            for (const bool named : {false, true}) {
                SCOPED_TRACE(std::string(c.What) + (existing ? ", replacing" : ", creating") +
                             (named ? ", named temporary file" : ", unnamed temporary file"));
                QTemporaryDir dir;
                const QString path = dir.filePath("config.ini");
                if (existing) WriteBytes(path, OldConfig);
                TFileWriteFault withTemporary = c.Fault;
                withTemporary.NoUnnamedTemporary = named;
                const TFaultScope fault(withTemporary);
                const TFileWriteResult result = WriteFileReplacing(path, std::string(200, 'x'));
                EXPECT_FALSE(result.Ok);
                EXPECT_TRUE(result.Reason.contains(QString::fromUtf8(c.ReasonPart)))
                    << result.Reason.toStdString();
                EXPECT_EQ(ReadBytes(path), existing ? OldConfig : "<missing>");
                EXPECT_EQ(FilesIn(dir.path()), existing ? QStringList{"config.ini"} : QStringList{});
            }
        }
    }
}

TEST(FileReplace, FolderProblemsAreReportedInKorean)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken"));
    const TFileWriteResult folder = WriteFileReplacing(dir.filePath("taken"), "x");
    EXPECT_FALSE(folder.Ok);
    EXPECT_TRUE(folder.Reason.contains(QStringLiteral("폴더가 있어")));
    EXPECT_TRUE(QFileInfo(dir.filePath("taken")).isDir());

    const TFileWriteResult missing = WriteFileReplacing(dir.filePath("gone/config.ini"), "x");
    EXPECT_FALSE(missing.Ok);
    EXPECT_TRUE(missing.Reason.contains(QStringLiteral("폴더가 없습니다")));
    EXPECT_EQ(FilesIn(dir.path()), QStringList{"taken"});
}

// The real thing: a file system with no space left, where a written temporary file would once be renamed
// over the good file although its data never reached the disk.
TEST(FileReplace, AFullFileSystemKeepsTheOldFile)
{
    TTmpfs fs("size=64k");
    if (!fs.Mounted()) GTEST_SKIP() << "no tmpfs to fill: " << fs.WhyNot();
    const QString path = fs.File("config.ini");
    WriteBytes(path, OldConfig);
    ASSERT_EQ(ReadBytes(path), OldConfig);

    // Larger than the whole file system, then a small file once every block is taken.
    const TFileWriteResult large = WriteFileReplacing(path, std::string(256 * 1024, 'L'));
    EXPECT_FALSE(large.Ok);
    EXPECT_TRUE(large.Reason.contains(QStringLiteral("공간"))) << large.Reason.toStdString();
    fs.Fill();
    const TFileWriteResult small = WriteFileReplacing(path, OldConfig + "one more line\r\n");
    EXPECT_FALSE(small.Ok);
    EXPECT_TRUE(small.Reason.contains(QStringLiteral("공간"))) << small.Reason.toStdString();
    const TFileWriteResult fresh = WriteFileReplacing(fs.File("status.ini"), std::string(5000, 's'));
    EXPECT_FALSE(fresh.Ok);

    EXPECT_EQ(ReadBytes(path), OldConfig);
    EXPECT_EQ(FilesIn(fs.Path()), (QStringList{"config.ini", "filler"}));
}

// Root writes through permission bits, so a read-only mount is the real read-only folder for root;
// anyone else gets a folder without write permission.
TEST(FileReplace, AReadOnlyFolderKeepsTheOldFile)
{
    QString folder;
    TTmpfs fs("size=64k");
    QTemporaryDir plain;
    if (::geteuid() == 0) {
        if (!fs.Mounted()) GTEST_SKIP() << "no read-only folder for root: " << fs.WhyNot();
        folder = fs.Path();
    } else {
        folder = plain.path();
    }
    const QString path = folder + "/config.ini";
    WriteBytes(path, OldConfig);
    if (::geteuid() == 0)
        ASSERT_TRUE(fs.MakeReadOnly());
    else
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);

    const TFileWriteResult result = WriteFileReplacing(path, "[option]\r\nUseViewSelected=0\r\n");
    EXPECT_FALSE(result.Ok);
    EXPECT_TRUE(result.Reason.contains(QStringLiteral("읽기 전용")) ||
                result.Reason.contains(QStringLiteral("권한")))
        << result.Reason.toStdString();
    EXPECT_EQ(ReadBytes(path), OldConfig);
    EXPECT_EQ(FilesIn(folder), QStringList{"config.ini"});
    if (::geteuid() != 0) ::chmod(QFile::encodeName(folder).constData(), 0755);
}

namespace {

// Makes the checks take the user to be someone else for the length of a test.
struct TUserScope
{
    explicit TUserScope(const TFileUser& user) { SetFileUserForTest(user); }
    ~TUserScope() { ClearFileUserForTest(); }
};

constexpr uid_t Alice = 4101;
constexpr uid_t Bob = 4102;
constexpr gid_t Staff = 4200;

bool IsRoot()
{
    return ::geteuid() == 0;
}

struct stat StatOf(const QString& path)
{
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

// Chowns without following a link (only root may give a file away).
void Own(const QString& path, uid_t uid, gid_t gid)
{
    ASSERT_EQ(::lchown(QFile::encodeName(path).constData(), uid, gid), 0) << std::strerror(errno);
}

void Chmod(const QString& path, mode_t mode)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0) << std::strerror(errno);
}

} // namespace

TEST(FileReplace, AFileTheUserMayNotWriteIsRefusedBeforeAnythingIsWritten)
{
    // The process's own identity: a file without any write bit is protected, for root as well.
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("locked.png");
        WriteBytes(path, OldConfig);
        Chmod(path, 0444);
        const TFileWriteResult result = WriteFileReplacing(path, "new");
        EXPECT_FALSE(result.Ok);
        EXPECT_TRUE(result.Reason.contains(path)) << result.Reason.toStdString();
        EXPECT_TRUE(result.Reason.contains(QStringLiteral("쓰기가 금지된"))) << result.Reason.toStdString();
        EXPECT_EQ(ReadBytes(path), OldConfig);
        EXPECT_EQ(FilesIn(dir.path()), QStringList{"locked.png"});
    }
    // Another identity through the seam: the owner, group and other classes decide.
    if (!IsRoot()) GTEST_SKIP() << "files of other owners need root to be made";
    struct Case
    {
        const char* What;
        uid_t Owner;
        gid_t Group;
        mode_t Mode;
        TFileUser User;
        bool Replaced;
    };
    const Case cases[] = {
        {"another user's 0644 file", Bob, Bob, 0644, {Alice, {Alice}}, false},
        {"own file without the owner's write bit, group-writable",
         Alice,
         Staff,
         0464,
         {Alice, {Alice, Staff}},
         false},
        {"another user's group-writable file, user in the group",
         Bob,
         Staff,
         0664,
         {Alice, {Alice, Staff}},
         true},
        {"another user's group-writable file, user not in it", Bob, Staff, 0664, {Alice, {Alice}}, false},
        {"another user's file anyone may write", Bob, Bob, 0666, {Alice, {Alice}}, true},
        {"own 0600 file", Alice, Alice, 0600, {Alice, {Alice}}, true},
        {"root and another user's 0600 file", Bob, Bob, 0600, {0, {0}}, true},
        {"root and a 0444 file", Bob, Bob, 0444, {0, {0}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        QTemporaryDir dir;
        Chmod(dir.path(), 0777); // the folder never stands in the way
        const QString path = dir.filePath("picture.png");
        WriteBytes(path, OldConfig);
        Own(path, c.Owner, c.Group);
        Chmod(path, c.Mode);
        const TUserScope user(c.User);
        const TFileWriteResult result = WriteFileReplacing(path, "new");
        EXPECT_EQ(result.Ok, c.Replaced) << result.Reason.toStdString();
        EXPECT_EQ(ReadBytes(path), c.Replaced ? "new" : OldConfig);
        EXPECT_EQ(FilesIn(dir.path()), QStringList{"picture.png"});
        if (!c.Replaced) {
            EXPECT_TRUE(result.Reason.contains(path)) << result.Reason.toStdString();
        }
    }
}

TEST(FileReplace, AReplacedFileKeepsItsPermissionBitsAndOwner)
{
    for (const bool named : {false, true}) {
        SCOPED_TRACE(named ? "named temporary file" : "unnamed temporary file");
        const TFaultScope fault({.NoUnnamedTemporary = named});
        QTemporaryDir dir;
        const QString path = dir.filePath("tool.sh");
        WriteBytes(path, "old");
        if (IsRoot()) Own(path, Bob, Staff);
        Chmod(path, 02751);
        ASSERT_TRUE(WriteFileReplacing(path, "new").Ok);
        const struct stat st = StatOf(path);
        EXPECT_EQ(st.st_mode & 07777, 02751u);
        if (IsRoot()) {
            EXPECT_EQ(st.st_uid, Bob);
            EXPECT_EQ(st.st_gid, Staff);
        }
        EXPECT_EQ(ReadBytes(path), "new");
    }
}

TEST(FileReplace, TargetsThatAreNotRegularFilesAreRefusedWithoutBeingOpened)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0666), 0);
    QStringList targets{fifo};

    const QString socketPath = dir.filePath("socket.png");
    const int socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(socketPath);
    ASSERT_LT(static_cast<std::size_t>(encoded.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, encoded.constData(), static_cast<std::size_t>(encoded.size()));
    ASSERT_EQ(::bind(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    targets << socketPath;

    const QString device = dir.filePath("null.png");
    if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0) targets << device;

    // A link to the FIFO is refused the same way, and the link stays.
    const QString link = dir.filePath("link.png");
    ASSERT_TRUE(QFile::link(fifo, link));
    targets << link;

    for (const QString& target : targets) {
        SCOPED_TRACE(target.toStdString());
        const mode_t before = StatOf(target).st_mode;
        const TFileWriteResult result = WriteFileReplacing(target, "new");
        EXPECT_FALSE(result.Ok);
        EXPECT_TRUE(result.Reason.contains(QStringLiteral("일반 파일이 아니어서")))
            << result.Reason.toStdString();
        EXPECT_EQ(StatOf(target).st_mode, before);
    }
    ::close(socketFd);
    EXPECT_EQ(FilesIn(dir.path()).size(), targets.size());
}

TEST(FileReplace, AChainOfLinksReplacesTheFinalFileAndKeepsEveryLink)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("real/deeper"));
    const QString file = dir.filePath("real/deeper/picture.png");
    WriteBytes(file, "old");
    // first -> second (relative, through a link to a folder) -> third (absolute) -> the file.
    ASSERT_TRUE(QFile::link(dir.filePath("real"), dir.filePath("folder-link")));
    ASSERT_EQ(
        ::symlink("folder-link/deeper/third.png", QFile::encodeName(dir.filePath("second.png")).constData()),
        0);
    ASSERT_TRUE(QFile::link(file, dir.filePath("real/deeper/third.png")));
    ASSERT_EQ(::symlink("second.png", QFile::encodeName(dir.filePath("first.png")).constData()), 0);

    for (const bool named : {false, true}) {
        SCOPED_TRACE(named ? "named temporary file" : "unnamed temporary file");
        const TFaultScope fault({.NoUnnamedTemporary = named});
        const std::string bytes = named ? "through the chain, named" : "through the chain";
        ASSERT_TRUE(WriteFileReplacing(dir.filePath("first.png"), bytes).Ok);
        EXPECT_EQ(ReadBytes(file), bytes);
        for (const char* link : {"first.png", "second.png", "folder-link", "real/deeper/third.png"})
            EXPECT_TRUE(QFileInfo(dir.filePath(link)).isSymLink()) << link;
        EXPECT_EQ(FilesIn(dir.filePath("real/deeper")), (QStringList{"picture.png", "third.png"}));
    }

    // A dangling chain creates the file at its end; a loop and a link to a folder are refused.
    ASSERT_EQ(::symlink("../made.png", QFile::encodeName(dir.filePath("real/dangling.png")).constData()), 0);
    ASSERT_EQ(::symlink("real/dangling.png", QFile::encodeName(dir.filePath("to-dangling.png")).constData()),
              0);
    EXPECT_TRUE(WriteFileReplacing(dir.filePath("to-dangling.png"), "made").Ok);
    EXPECT_EQ(ReadBytes(dir.filePath("made.png")), "made");
    EXPECT_TRUE(QFileInfo(dir.filePath("real/dangling.png")).isSymLink());

    ASSERT_EQ(::symlink("loop-b", QFile::encodeName(dir.filePath("loop-a")).constData()), 0);
    ASSERT_EQ(::symlink("loop-a", QFile::encodeName(dir.filePath("loop-b")).constData()), 0);
    const TFileWriteResult loop = WriteFileReplacing(dir.filePath("loop-a"), "x");
    EXPECT_FALSE(loop.Ok);
    EXPECT_TRUE(loop.Reason.contains(QStringLiteral("링크가 너무 많이"))) << loop.Reason.toStdString();
    const TFileWriteResult folder = WriteFileReplacing(dir.filePath("folder-link"), "x");
    EXPECT_FALSE(folder.Ok);
    EXPECT_TRUE(folder.Reason.contains(QStringLiteral("폴더가 있어"))) << folder.Reason.toStdString();
    EXPECT_TRUE(QFileInfo(dir.filePath("folder-link")).isSymLink());
}

// In a sticky folder anyone may write (like /tmp), a link is followed only when it belongs to the user
// or to the folder's owner; elsewhere any link is followed.
TEST(FileReplace, ALinkPlantedInASharedStickyFolderIsNotFollowed)
{
    if (!IsRoot()) GTEST_SKIP() << "links of other owners need root to be made";
    struct Case
    {
        const char* What;
        mode_t FolderMode;
        uid_t LinkOwner;
        uid_t User;
        bool Followed;
    };
    // The folder belongs to Bob.
    const Case cases[] = {
        {"sticky shared folder, link of a third user", 01777, 4999, Alice, false},
        {"sticky shared folder, link of a third user, as root", 01777, 4999, 0, false},
        {"sticky shared folder, the user's own link", 01777, Alice, Alice, true},
        {"sticky shared folder, link of the folder's owner", 01777, Bob, Alice, true},
        {"shared folder without the sticky bit", 0777, 4999, Alice, true},
        {"sticky folder only its owner may write", 01755, 4999, Alice, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        QTemporaryDir dir;
        const QString shared = dir.filePath("shared");
        ASSERT_TRUE(QDir(dir.path()).mkdir("shared"));
        const QString file = dir.filePath("victim.png");
        WriteBytes(file, "old");
        Chmod(file, 0666);
        const QString link = shared + "/picture.png";
        ASSERT_TRUE(QFile::link(file, link));
        Own(link, c.LinkOwner, c.LinkOwner);
        Own(shared, Bob, Bob);
        Chmod(shared, c.FolderMode);
        const TUserScope user({c.User, {c.User}});
        const TFileWriteResult result = WriteFileReplacing(link, "new");
        EXPECT_EQ(result.Ok, c.Followed) << result.Reason.toStdString();
        EXPECT_EQ(ReadBytes(file), c.Followed ? "new" : "old");
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        if (!c.Followed) {
            EXPECT_TRUE(result.Reason.contains(link)) << result.Reason.toStdString();
            EXPECT_TRUE(result.Reason.contains(QStringLiteral("링크"))) << result.Reason.toStdString();
        }
    }
}

// A save killed while it writes leaves the old file and nothing else: the new contents sit in a file
// without a name until the commit.
TEST(FileReplace, ASaveKilledWhileWritingLeavesNoStrayFile)
{
    for (const bool existing : {true, false}) {
        SCOPED_TRACE(existing ? "replacing" : "creating");
        QTemporaryDir dir;
        const QString path = dir.filePath("picture.png");
        if (existing) WriteBytes(path, OldConfig);
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            TFileReplacement file(path);
            const bool written = file.Write(std::string(3 * FileWriteChunkBytes, 'n'));
            const char state = written ? 'w' : 'f';
            [[maybe_unused]] const ssize_t sent = ::write(ready[1], &state, 1);
            for (;;)
                ::pause();
        }
        ::close(ready[1]);
        char state = 0;
        EXPECT_EQ(::read(ready[0], &state, 1), 1);
        ::close(ready[0]);
        EXPECT_EQ(state, 'w');
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(ReadBytes(path), existing ? OldConfig : "<missing>");
        EXPECT_EQ(FilesIn(dir.path()), existing ? QStringList{"picture.png"} : QStringList{});
    }
}

// The longest names and paths the file system takes are saved, also with the named temporary file, whose
// name is shortened to fit.
TEST(FileReplace, TheLongestNamesAndPathsAreAccepted)
{
    QTemporaryDir names;
    QTemporaryDir dir;
    QString korean;
    for (int i = 0; i < 85; ++i)
        korean += QChar(0xAC00 + i); // three bytes each: 255 bytes
    ASSERT_EQ(QFile::encodeName(korean).size(), 255);

    // Folders of 200-byte names until the path is long, then a name that makes it 4095 bytes.
    QString deep = dir.path();
    while (QFile::encodeName(deep).size() < 3800)
        deep += '/' + QString(200, QLatin1Char('d'));
    ASSERT_TRUE(QDir().mkpath(deep));
    const qsizetype rest = 4095 - QFile::encodeName(deep).size() - 1;
    const QString longest = deep + '/' + QString(rest, QLatin1Char('p'));
    ASSERT_EQ(QFile::encodeName(longest).size(), 4095);

    const QStringList paths{names.filePath(QString(255, QLatin1Char('n'))),
                            names.filePath(QString(242, QLatin1Char('m'))), names.filePath(korean), longest};
    for (const QString& path : paths) {
        for (const bool named : {false, true}) {
            SCOPED_TRACE(
                QStringLiteral("%1 bytes, %2").arg(QFile::encodeName(path).size()).arg(named).toStdString());
            const TFaultScope fault({.NoUnnamedTemporary = named});
            const TFileWriteResult created = WriteFileReplacing(path, "first");
            EXPECT_TRUE(created.Ok) << created.Reason.toStdString();
            const TFileWriteResult replaced = WriteFileReplacing(path, "second");
            EXPECT_TRUE(replaced.Ok) << replaced.Reason.toStdString();
            EXPECT_EQ(ReadBytes(path), "second");
            EXPECT_EQ(FilesIn(QFileInfo(path).path()), QStringList{QFileInfo(path).fileName()});
            ::unlink(QFile::encodeName(path).constData());
        }
    }
}

// Without the seam the kernel decides, with the process's real identity (root drops to another user in a
// child for this).
TEST(FileReplace, AnOrdinaryUserCannotReplaceAnotherUsersFile)
{
    if (!IsRoot()) GTEST_SKIP() << "another user's file needs root to be made";
    QTemporaryDir dir;
    Chmod(dir.path(), 0777);
    const QString theirs = dir.filePath("theirs.png");
    const QString shared = dir.filePath("shared.png");
    WriteBytes(theirs, OldConfig);
    WriteBytes(shared, OldConfig);
    Chmod(theirs, 0644);
    Chmod(shared, 0666);
    Own(theirs, Bob, Bob);
    Own(shared, Bob, Bob);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setresgid(Alice, Alice, Alice) != 0 ||
            ::setresuid(Alice, Alice, Alice) != 0)
            ::_exit(100);
        int failures = 0;
        const TFileWriteResult refused = WriteFileReplacing(theirs, "new");
        if (refused.Ok || !refused.Reason.contains(QStringLiteral("쓰기가 금지된"))) failures |= 1;
        if (!WriteFileReplacing(shared, "new").Ok) failures |= 2;
        ::_exit(failures);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: another user's 0644 file replaced, 2: a 0666 file refused";
    EXPECT_EQ(ReadBytes(theirs), OldConfig);
    EXPECT_EQ(StatOf(theirs).st_uid, Bob);
    EXPECT_EQ(ReadBytes(shared), "new");
    EXPECT_EQ(StatOf(shared).st_mode & 07777, 0666u);
    EXPECT_EQ(FilesIn(dir.path()), (QStringList{"shared.png", "theirs.png"}));
}
