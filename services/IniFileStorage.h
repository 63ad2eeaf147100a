#pragma once
// The settings storage of status.ini: the file is loaded into memory once, when the object is made;
// its users read and write the memory copy (Store()); the whole file is written back once, by Save()
// or when the object is destroyed.

#include "services/IniFileStore.h"

#include <QString>

namespace tavrin {

class TAppIniFileStorage
{
  public:
    // <program folder>/status.ini. Needs the application object.
    static QString DefaultFileName();

    // Loads fileName; a missing, unreadable or damaged file gives an empty or partial store.
    explicit TAppIniFileStorage(QString fileName = DefaultFileName());
    ~TAppIniFileStorage() { Save(); }

    TAppIniFileStorage(const TAppIniFileStorage&) = delete;
    TAppIniFileStorage& operator=(const TAppIniFileStorage&) = delete;

    TIniStore& Store() { return FStore; }
    const TIniStore& Store() const { return FStore; }
    const QString& FileName() const { return FFileName; }

    // Writes the file, creating its folder when missing, unless it has been written already. The file
    // is left alone when it is marked read-only or existed but could not be read (its contents would be
    // lost). Failures are silent; the result says whether the file was written.
    bool Save();

  private:
    QString FFileName;
    TIniStore FStore;
    bool FKeepFile = false; // the file existed but could not be read
    bool FSaved = false;
};

} // namespace tavrin

namespace tavrin::StatusIni {

// The sections of status.ini and the key of the tip of the day.
inline constexpr const char* MainFormSection = "MainForm";
inline constexpr const char* TodayTipSection = "TodayTip";
inline constexpr const char* ShowOnStartupKey = "Show_On_Startup"; // TIniStore::ReadBool / WriteBool

} // namespace tavrin::StatusIni
