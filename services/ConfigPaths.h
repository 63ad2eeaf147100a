#pragma once
// Where the program keeps its files: the folder of its own executable, whatever the current folder.

#include <QString>

namespace tavrin {

class IMessageSeam;

// The folder part of a file path in Qt's spelling: everything up to and including the last "/".
QString FolderOfPath(const QString& path);

// The program folder, ending with the separator. Needs the application object.
QString ProgramFolder();

// Answers server-variable names for a desktop program (names compare exactly):
//   "PHP_SELF", "SCRIPT_FILENAME": the full path of the executable file;
//   "DOCUMENT_ROOT": the program folder, ending with the separator;
//   anything else: an empty text, after a message box "Unkown Command php_server:" + name.
QString php_server(const QString& name, IMessageSeam& messages);

} // namespace tavrin
