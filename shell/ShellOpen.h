#pragma once
// Handing a web address (or any document) to the desktop, which opens it in the user's program for it.

#include <QString>

namespace tavrin {

// The program's web pages. These are configuration values, kept here and nowhere else: change them
// when the pages move.
namespace WebPages {
inline constexpr const char* HomePage = "https://tavrin.example.org/";
inline constexpr const char* PromotionPage = "https://tavrin.example.org/news/";
} // namespace WebPages

// Asks the desktop to open `target` (a web address or a file) with `parameters` appended as the
// address's query when given. Never waits for the program that opens it; a failure is ignored, as
// nothing the user is doing depends on it.
void ShellOpen(const QString& target, const QString& parameters = {});

} // namespace tavrin
