// Byte searches in narrow strings of the system's ANSI code page.
//
// In a double-byte code page (932, 936, 949, 950) a lead byte and the byte
// after it form one character, and that second byte may have the value of an
// ASCII sign: in code page 932 "ァ" is 0x83 0x40, and 0x40 is "@". These
// searches walk the string one character at a time, so the second byte of a
// two-byte character is never taken for the sign searched for. A lead byte as
// the last byte ends the walk. In a single-byte code page they are plain byte
// searches. Which bytes are lead bytes is the platform's answer for CP_ACP.
#pragma once

#include <cstddef>
#include <string_view>

// Position of the first character equal to `sign`, or npos.
std::size_t MbsFindFirst(std::string_view text, char sign);

// Position of the last character that is one of `signs`, or npos.
std::size_t MbsFindLastOf(std::string_view text, std::string_view signs);
