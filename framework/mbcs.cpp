#include "framework/mbcs.h"

#include <windows.h>

namespace {

bool IsLeadByte(char byte)
{
    return IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(byte)) != FALSE;
}

// Calls `visit(position)` for the first byte of every whole character of
// `text`, in order, until `visit` returns true. A lead byte without its
// second byte is no whole character and ends the walk.
template <typename Visit>
void ForEachCharacter(std::string_view text, Visit visit)
{
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t width = IsLeadByte(text[position]) ? 2 : 1;
        if (position + width > text.size() || visit(position)) {
            return;
        }
        position += width;
    }
}

}  // namespace

std::size_t MbsFindFirst(std::string_view text, char sign)
{
    std::size_t found = std::string_view::npos;
    ForEachCharacter(text, [&](std::size_t position) {
        if (text[position] != sign) {
            return false;
        }
        found = position;
        return true;
    });
    return found;
}

std::size_t MbsFindLastOf(std::string_view text, std::string_view signs)
{
    std::size_t found = std::string_view::npos;
    ForEachCharacter(text, [&](std::size_t position) {
        if (signs.find(text[position]) != std::string_view::npos) {
            found = position;
        }
        return false;
    });
    return found;
}
