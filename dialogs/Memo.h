#pragma once
// TMemo: the multi-line text box of the tag dialogs. It keeps its text as lines (the memo's lines are
// its paragraphs; a line wrapped on screen stays one line), and it keeps very long words from making
// the layout slow: Qt's word-boundary wrapping rescans an unbroken word for every screen line, which
// takes seconds for a 100 000-character link, so a memo holding such a word breaks lines anywhere.

#include "services/Clipboard.h" // CopyTextToClipboard, used by the dialogs' copy buttons

#include <QPlainTextEdit>
#include <QStringList>

namespace tavrin {

// The longest run of characters without a space, tab or line break.
qsizetype LongestUnbrokenRun(QStringView text);

// Longer unbroken runs switch the memo to breaking lines anywhere.
inline constexpr qsizetype kLongestWrappedWord = 1000;

class TMemo : public QPlainTextEdit
{
    Q_OBJECT
  public:
    explicit TMemo(QWidget* parent = nullptr);

    // Replaces the whole text; CR LF, CR and LF each end a line.
    void SetText(const QString& text);

    // The whole text with CR LF between lines, as it stands.
    QString Text() const;

    // The lines as a memo counts them: a last line left empty by a final line break is not one,
    // and an empty memo has none.
    QStringList Lines() const;

  protected:
    void insertFromMimeData(const QMimeData* source) override;

  private:
    void FitWrapTo(QStringView text);
};

// Each line followed by CR LF.
QString JoinWithLineBreaks(const QStringList& lines);


} // namespace tavrin
