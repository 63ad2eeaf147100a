#include "ImgLib/LargePages.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace tavrin {

void RestartWithLargePages(char** argv)
{
    constexpr const char* kMarker = "TAVRIN_LARGE_PAGES";
    if (std::getenv(kMarker))
        return; // this is the restarted process (or the user chose not to restart)
    std::string tunables = std::getenv("GLIBC_TUNABLES") ? std::getenv("GLIBC_TUNABLES") : "";
    if (tunables.find("glibc.malloc.hugetlb") == std::string::npos)
        tunables += (tunables.empty() ? "" : ":") + std::string("glibc.malloc.hugetlb=1");
    if (setenv("GLIBC_TUNABLES", tunables.c_str(), 1) != 0 || setenv(kMarker, "1", 1) != 0)
        return;
    execv("/proc/self/exe", argv);
    // Exec failed: go on in this process, only slower with large pictures.
}

} // namespace tavrin
