// Texts inside the plan tool are ANSI (Windows code page 1252), as the
// uninstaller's are; JSON text is UTF-8. These convert at that boundary.
#pragma once

#include <string>
#include <string_view>

// Every byte has a meaning: the five bytes code page 1252 leaves unassigned
// become the C1 controls of the same number, as Windows maps them.
std::string Cp1252ToUtf8(std::string_view text);

// Characters the code page lacks become '?'. The text must be valid UTF-8
// (as the JSON library's strings are).
std::string Utf8ToCp1252(std::string_view text);
