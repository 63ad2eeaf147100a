#pragma once
// The toolkit's own texts (file dialog, message box buttons, text field menus) in Korean, so that they
// match the program's texts whatever the system's language is.

class QCoreApplication;

namespace tavrin {

// Loads the toolkit's Korean translation into app; the translator is owned by app. False when the
// translation is not installed (the toolkit's texts then stay English).
bool LoadToolkitKorean(QCoreApplication& app);

} // namespace tavrin
