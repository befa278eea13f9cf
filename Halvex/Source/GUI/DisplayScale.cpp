#include "GUI/DisplayScale.h"

#include <cstdlib>
#include <cstring>

namespace {

// A whole number of 1 or more and nothing else, or 0.
long WholeFactor(const char* text)
{
    if (text == nullptr || *text < '0' || *text > '9') {
        return 0;
    }
    char* end = nullptr;
    const long factor = std::strtol(text, &end, 10);
    return *end == '\0' && factor >= 1 ? factor : 0;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A decimal number of dots per inch ("144" or "144.0"), rounded, or 0.
// Read by hand: strtod would follow the host's locale for the decimal mark.
long ParseDpi(const char* text)
{
    while (IsBlank(*text)) {
        ++text;
    }
    long dpi = 0;
    const char* digits = text;
    for (; *text >= '0' && *text <= '9' && dpi < 100000; ++text) {
        dpi = dpi * 10 + (*text - '0');
    }
    if (text == digits) {
        return 0;
    }
    if (*text == '.') {
        ++text;
        dpi += *text >= '5' && *text <= '9' ? 1 : 0;
        while (*text >= '0' && *text <= '9') {
            ++text;
        }
    }
    while (IsBlank(*text)) {
        ++text;
    }
    return *text == '\0' || *text == '\n' ? dpi : 0;
}

// The value of the first "Xft.dpi" line, or 0.
long XftDpi(const char* resources)
{
    static const char Name[] = "Xft.dpi";
    for (const char* line = resources; line != nullptr && *line != '\0';) {
        if (std::strncmp(line, Name, sizeof Name - 1) == 0) {
            const char* at = line + sizeof Name - 1;
            while (IsBlank(*at)) {
                ++at;
            }
            if (*at == ':') {
                return ParseDpi(at + 1);
            }
        }
        const char* next = std::strchr(line, '\n');
        line = next != nullptr ? next + 1 : nullptr;
    }
    return 0;
}

} // namespace

DisplayScale DesktopScale(const char* gdkScale, const char* xResources)
{
    const long factor = WholeFactor(gdkScale);
    if (factor > 0) {
        return DisplayScale(factor < 16 ? static_cast<int>(factor) * DisplayScale::BaseDpi : DisplayScale::MaxDpi);
    }
    const long dpi = XftDpi(xResources);
    return dpi > 0 ? DisplayScale(static_cast<int>(dpi)) : DisplayScale();
}
