#include "services/FileReplace.h"

#include "SettingsTestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <sys/mount.h>
#include <sys/stat.h>
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
            SCOPED_TRACE(std::string(c.What) + (existing ? ", replacing" : ", creating"));
            QTemporaryDir dir;
            const QString path = dir.filePath("config.ini");
            if (existing) WriteBytes(path, OldConfig);
            const TFaultScope fault(c.Fault);
            const TFileWriteResult result = WriteFileReplacing(path, std::string(200, 'x'));
            EXPECT_FALSE(result.Ok);
            EXPECT_TRUE(result.Reason.contains(QString::fromUtf8(c.ReasonPart))) << result.Reason.toStdString();
            EXPECT_EQ(ReadBytes(path), existing ? OldConfig : "<missing>");
            EXPECT_EQ(FilesIn(dir.path()), existing ? QStringList{"config.ini"} : QStringList{});
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
