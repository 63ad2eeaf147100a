#pragma once
// The open dialog's preview: the selected picture scaled to fit, and its size in pixels. Pictures are read
// with the program's own readers (so within the pixel budget) on a worker thread; the dialog never waits
// for one, and a newer selection simply wins over a reading still under way.

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <memory>

class QLabel;

namespace tavrin {

// Files above this size are not read for a preview: reading them would take seconds.
inline constexpr std::int64_t kPreviewMaxFileBytes = std::int64_t{64} << 20;

struct TPreviewResult
{
    QImage Picture; // scaled to fit the preview box; null when there is nothing to show
    QString Text;   // "640 × 480 화소", or why there is no picture
};

// Reads path with the reader its ending names and scales the picture to fit within box. Runs on any thread.
TPreviewResult MakePreview(const QString& path, QSize box, std::int64_t maxFileBytes = kPreviewMaxFileBytes);

class TPicturePreview : public QWidget
{
    Q_OBJECT

  public:
    explicit TPicturePreview(QWidget* parent = nullptr, std::int64_t maxFileBytes = kPreviewMaxFileBytes);
    ~TPicturePreview() override;

    // Starts showing path ("" clears the preview); the picture follows when it has been read.
    void ShowFile(const QString& path);

    QString Text() const;
    QPixmap Picture() const;

  signals:
    void PreviewShown(); // a reading finished and its result is on screen

  private:
    struct TMailbox;
    void Present(const TPreviewResult& result);

    QLabel* FPicture;
    QLabel* FText;
    std::int64_t FMaxFileBytes;
    QString FPath; // the file shown or being read
    std::shared_ptr<TMailbox> FMailbox; // shared with readings under way; they outlive this widget safely
};

} // namespace tavrin
