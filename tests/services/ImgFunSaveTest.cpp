#include "services/ImgFunSave.h"

#include "core/Bitmap32.h"
#include "services/FileReplace.h"
#include "services/MessageSeamScripted.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <cerrno>
#include <cstdint>
#include <vector>
#include <sys/mount.h>
#include <unistd.h>

using namespace tavrin;

namespace {

TBitmap32 Picture(int width, int height)
{
    TBitmap32 b(width, height);
    b.Clear(0xFF204060);
    return b;
}

// Noise that JPEG cannot squeeze: its file takes several writes.
TBitmap32 NoisyPicture(int width, int height)
{
    TBitmap32 b(width, height);
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            b.ScanLine(y)[x] = 0xFF000000u | (seed >> 8);
        }
    return b;
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

TEST(ImgFunSave, NamesProposedAndWritersChosen)
{
    struct
    {
        const char* Caption;
        const char* Proposed;
    } proposals[] = {
        {"새 그림3", "새 그림3"}, {"photo.jpg", "photo"}, {"photo.jpeg", "photo.jpeg"}, {"photo.gif*", "photo"},
        {"a.b", "a.b"},           {".ab", ""},            {"*", ""},                    {"", ""},
    };
    for (const auto& p : proposals)
        EXPECT_EQ(TrimSaveFileName(QString::fromUtf8(p.Caption)), QString::fromUtf8(p.Proposed)) << p.Caption;

    struct
    {
        const char* Name;
        const char* Writer;
    } writers[] = {
        {"PHOTO.JPG", "jpg"}, {"photo.jpeg", "jpg"}, {"photo.JPEG", "jpg"}, {"photo.xjpg", "jpg"},
        {"photo.peg", ""},    {"a.Gif", "gif"},    {"a.png", "png"},
        {"a.mng", "mng"},     {"a.bmp", "bmp"},    {"a.pcx", "pcx"},      {"a.ico", "ico"}, {"a.CUR", "cur"},
        {"a.tif", ""},        {"png", "png"},      {"a.pn", ""},
    };
    for (const auto& w : writers)
        EXPECT_EQ(WriterExtensionOf(QString::fromUtf8(w.Name)), QString::fromUtf8(w.Writer)) << w.Name;
}

// The depth an entry names counts only when the typed name ends in that entry's extension.
TEST(ImgFunSave, DialogEntryChoosesTheDepthOnlyForItsOwnEnding)
{
    EXPECT_EQ(SavePictureFilter().split(u'|').size(), 22);
    QTemporaryDir dir;
    TScriptedMessageSeam messages;
    struct
    {
        int Entry;
        const char* Name;
        int Bits; // the bit count of the BMP's or the icon image's BITMAPINFOHEADER
        int Offset;
    } cases[] = {
        {6, "a.bmp", 32, 28}, {5, "b.bmp", 24, 28}, {3, "c.bmp", 24, 28}, {6, "d.BMP", 32, 28},
        {9, "e.ico", 24, 36}, {8, "f.ico", 8, 36},  {8, "g.cur", 24, 36}, {10, "h.cur", 8, 36},
        {11, "i.cur", 24, 36}, {10, "j.ico", 24, 36},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromUtf8(c.Name));
        const TSaveResult r = SaveBitmapByExtension(Picture(16, 16), path, messages, DepthChoiceOfFilterEntry(c.Entry));
        ASSERT_TRUE(r.Saved()) << c.Name << " " << r.Message.toStdString();
        const QByteArray bytes = ReadAll(path);
        ASSERT_GT(bytes.size(), c.Offset);
        EXPECT_EQ(static_cast<unsigned char>(bytes[c.Offset]), c.Bits) << c.Name;
    }
    EXPECT_TRUE(messages.Shown.empty());
}

TEST(ImgFunSave, IconSizeRuleForIconsAndCursors)
{
    for (auto [side, ok] : {std::pair{16, true}, {24, true}, {72, true}, {128, true}, {0, false}, {33, false}, {256, false}})
        EXPECT_EQ(IsIconSize(side, side), ok) << side;
    EXPECT_FALSE(IsIconSize(32, 16));

    QTemporaryDir dir;
    for (const char* name : {"x.ico", "x.cur"})
        for (auto [w, h] : {std::pair{33, 33}, {32, 16}}) {
            TScriptedMessageSeam messages;
            const QString path = dir.filePath(QString::fromUtf8(name));
            const TSaveResult r = SaveBitmapByExtension(Picture(w, h), path, messages);
            EXPECT_EQ(r.Outcome, TSaveOutcome::IconSizeRefused);
            EXPECT_FALSE(QFile::exists(path));
            ASSERT_EQ(messages.Shown.size(), 1u);
            EXPECT_TRUE(messages.Shown[0].Caption.isEmpty()); // the application title
            EXPECT_EQ(messages.Shown[0].Text,
                      QStringLiteral("이미지를 아이콘으로 저장하시려면 이미지의 크기를 다음과 같이 변경해주세요.\n\n"
                                     "[ 16 x 16 ] ,  [ 24 x 24 ] ,  [ 32 x 32 ] ,  [48 x 48 ] ,  [64 x 64 ] ,  "
                                     "[72 x 72 ] ,  [96 x 96 ] ,  [128 x 128 ]"));
        }
}

// An ending without a writer writes nothing and says which endings work.
TEST(ImgFunSave, NoWriterWritesNothingAndNamesTheEndingsThatWork)
{
    QTemporaryDir dir;
    TScriptedMessageSeam messages;
    const QString list = QStringLiteral("저장할 수 있는 파일 이름의 끝: .BMP, .CUR, .GIF, .ICO, .JPEG, .JPG, .MNG, .PCX, .PNG");
    for (const char* name : {"photo.tif", "photo.peg", "notes"}) {
        const QString path = dir.filePath(QString::fromUtf8(name));
        const TSaveResult r = SaveBitmapByExtension(Picture(4, 4), path, messages);
        EXPECT_EQ(r.Outcome, TSaveOutcome::NoWriter) << name;
        EXPECT_TRUE(r.Message.endsWith(list)) << r.Message.toStdString();
        EXPECT_FALSE(QFile::exists(path));
    }
    EXPECT_TRUE(messages.Shown.empty());
    const QString tif = SaveBitmapByExtension(Picture(4, 4), dir.filePath("photo.tif"), messages).Message;
    EXPECT_TRUE(tif.startsWith(QStringLiteral("이름이 \".tif\"(으)로 끝나는 파일로는 저장할 수 없습니다."))) << tif.toStdString();

    // The JPEG writer under its four-letter ending.
    ASSERT_TRUE(SaveBitmapByExtension(Picture(4, 4), dir.filePath("photo.JPEG"), messages).Saved());
    QFile jpeg(dir.filePath("photo.JPEG"));
    ASSERT_TRUE(jpeg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(jpeg.readAll().startsWith("\xFF\xD8\xFF"));
}

// A small file system of our own: root may mount one; anyone else gets a skip.
class ScratchFileSystem
{
public:
    explicit ScratchFileSystem(const QString& where, const char* size) : FPath(where)
    {
        if (::geteuid() != 0) return;
        const QByteArray options = QByteArray("size=") + size;
        FMounted = ::mount("tmpfs", QFile::encodeName(where).constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~ScratchFileSystem()
    {
        if (FMounted) ::umount2(QFile::encodeName(FPath).constData(), MNT_DETACH);
    }
    bool Mounted() const { return FMounted; }
    bool MakeReadOnly()
    {
        return ::mount("tmpfs", QFile::encodeName(FPath).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QString FPath;
    bool FMounted = false;
};

struct FailedWrite : ::testing::Test
{
    QTemporaryDir dir;
    QString folder = dir.filePath("target");
    QByteArray good = QByteArray(1000, 'g');
    TScriptedMessageSeam messages;

    void SetUp() override { ASSERT_TRUE(QDir().mkdir(folder)); }
    void TearDown() override { ClearFileWriteFaultForTest(); }

    // BMP is built in memory and written at once; JPEG and PNG go to the file while they are encoded.
    static std::vector<QString> Names() { return {"picture.bmp", "picture.jpg", "picture.png"}; }

    // The good file is byte for byte as it was and no temporary file is left beside it.
    void ExpectGoodFileAlone(const QString& name, const TSaveResult& r, int filesInFolder = 1)
    {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(r.Outcome, TSaveOutcome::WriteFailed);
        EXPECT_TRUE(r.Message.contains(name)) << r.Message.toStdString();
        EXPECT_EQ(ReadAll(folder + "/" + name), good);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), filesInFolder);
    }
};

TEST_F(FailedWrite, ReadOnlyFolderKeepsTheGoodFile)
{
    ScratchFileSystem fs(folder, "256k"); // root writes into any folder: make the whole file system read-only
    for (const QString& name : Names())
        ASSERT_TRUE(WriteAll(folder + "/" + name, good));
    if (fs.Mounted())
        ASSERT_TRUE(fs.MakeReadOnly());
    else
        ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    for (const QString& name : Names())
        ExpectGoodFileAlone(name, SaveBitmapByExtension(Picture(8, 8), folder + "/" + name, messages), 3);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(FailedWrite, FullFileSystemKeepsTheGoodFile)
{
    ScratchFileSystem fs(folder, "256k");
    if (!fs.Mounted()) GTEST_SKIP() << "a full file system needs root to mount a small tmpfs";
    for (const QString& name : Names())
        ASSERT_TRUE(WriteAll(folder + "/" + name, good));
    {
        QFile filler(folder + "/filler");
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    for (const QString& name : Names())
        ExpectGoodFileAlone(name, SaveBitmapByExtension(NoisyPicture(300, 300), folder + "/" + name, messages), 4);
}

// A write that fails after part of the file is already out (the third piece of 256 KB) leaves the good
// file and reports the disk's reason, not an encoder's.
TEST_F(FailedWrite, FailureMidFileKeepsTheGoodFile)
{
    for (const QString& name : Names())
        ASSERT_TRUE(WriteAll(folder + "/" + name, good));
    SetFileWriteFaultForTest({.FailAtWrite = 3, .Error = ENOSPC, .MaxWriteBytes = 256 * 1024});
    for (const QString& name : Names()) {
        const TSaveResult r = SaveBitmapByExtension(NoisyPicture(1000, 1000), folder + "/" + name, messages);
        ExpectGoodFileAlone(name, r, 3);
        EXPECT_TRUE(r.Message.contains("공간")) << r.Message.toStdString();
    }
}
