#pragma once
// A file dialog seam for tests: it shows nothing, records every request and answers from a script.

#include "services/FileDialogSeam.h"

#include <deque>
#include <vector>

namespace tavrin {

class TScriptedFileDialogSeam final : public IFileDialogSeam
{
public:
    // Answers given in order; with none left, the dialog counts as cancelled.
    std::deque<QStringList> OpenAnswers;
    std::deque<TSaveDialogAnswer> SaveAnswers;
    std::vector<TSaveDialogRequest> SaveRequests;

    QStringList GetOpenFileNames(QWidget*, const QString&, const QString&) override
    {
        if (OpenAnswers.empty()) return {};
        QStringList next = OpenAnswers.front();
        OpenAnswers.pop_front();
        return next;
    }

    TSaveDialogAnswer GetSaveFileName(QWidget*, const TSaveDialogRequest& request) override
    {
        SaveRequests.push_back(request);
        if (SaveAnswers.empty()) return {};
        TSaveDialogAnswer next = SaveAnswers.front();
        SaveAnswers.pop_front();
        return next;
    }
};

} // namespace tavrin
