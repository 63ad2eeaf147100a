#pragma once
// The program option kept in config.ini beside the executable: read when the object is created, written
// back when it is destroyed. Only the option's own line of the file is ever changed.

#include <QString>

namespace tavrin {

class IMessageSeam;

class TConfig
{
  public:
    // Reads <program folder>/config.ini.
    explicit TConfig(IMessageSeam& messages);
    // Reads config.ini in folder instead (a trailing separator is optional).
    TConfig(IMessageSeam& messages, const QString& folder);
    // Writes the option; a failure is reported as "Unable to write to <path>" and nothing else happens.
    ~TConfig();

    TConfig(const TConfig&) = delete;
    TConfig& operator=(const TConfig&) = delete;

    QString FileName() const { return FFileName; }

    // The view-selected option; on when the file does not say otherwise.
    bool UseViewSelected = true;

  private:
    void Read();
    bool Write() const;

    IMessageSeam& FMessages; // outlives this object (owned by the main window)
    QString FFileName;
};

} // namespace tavrin
