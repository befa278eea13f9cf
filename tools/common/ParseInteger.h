#pragma once

#include <cerrno>
#include <cstdlib>
#include <string>

/// A whole decimal number within [minimum, maximum] and nothing after it, as the tools read
/// their numeric options; false for anything else.
inline bool ParseInteger(const std::string& text, long minimum, long maximum, int& result)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < minimum || value > maximum)
        return false;
    result = static_cast<int>(value);
    return true;
}
