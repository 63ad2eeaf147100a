#pragma once
// Where a writer that streams its file puts each piece as it is made. Returning false stops the writer:
// the bytes could not be kept (a full disk, say), and the sink's owner knows why.

#include <functional>
#include <string>
#include <string_view>

namespace tavrin {

using TByteSink = std::function<bool(std::string_view)>;

// A sink that appends to `out`; running out of memory throws std::bad_alloc, which stops the writer.
inline TByteSink AppendingTo(std::string& out)
{
    return [&out](std::string_view piece) {
        out.append(piece);
        return true;
    };
}

} // namespace tavrin
