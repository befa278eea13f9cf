#include "Assert.h"

#include <atomic>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

std::atomic<long> defaultReportCount {0};

void AppendText(char* buffer, int& length, int capacity, const char* text)
{
    while (*text != 0 && length < capacity - 1) {
        buffer[length++] = *text++;
    }
}

void AppendNumber(char* buffer, int& length, int capacity, int number)
{
    char digits[12];
    int count = 0;
    unsigned magnitude = number < 0 ? 0u - static_cast<unsigned>(number) : static_cast<unsigned>(number);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0 && count < 11);
    if (number < 0 && length < capacity - 1) {
        buffer[length++] = '-';
    }
    while (count > 0 && length < capacity - 1) {
        buffer[length++] = digits[--count];
    }
}

// One raw write of a line that lives on the stack: no allocation, no stdio lock.
void WriteToStandardError(const char* text, int length)
{
#if defined(_WIN32)
    HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(handle, text, static_cast<DWORD>(length), &written, nullptr);
    }
#else
    ssize_t ignored = write(2, text, static_cast<size_t>(length));
    (void)ignored;
#endif
}

void DefaultHandler(const char* expression, const char* file, int line)
{
    long number = defaultReportCount.fetch_add(1, std::memory_order_relaxed) + 1;
    if (number > MaxPrintedReports) {
        return;
    }
    char message[512];
    int length = 0;
    AppendText(message, length, sizeof message, "Halvex assertion failed: \"");
    AppendText(message, length, sizeof message, expression != nullptr ? expression : "?");
    AppendText(message, length, sizeof message, "\" at ");
    AppendText(message, length, sizeof message, file != nullptr ? file : "?");
    AppendText(message, length, sizeof message, ":");
    AppendNumber(message, length, sizeof message, line);
    if (number == MaxPrintedReports) {
        AppendText(message, length, sizeof message, " (further reports are counted only)");
    }
    AppendText(message, length, sizeof message, "\n");
    WriteToStandardError(message, length);
}

std::atomic<AssertionHandler> currentHandler {&DefaultHandler};

} // namespace

AssertionHandler SetAssertionHandler(AssertionHandler handler)
{
    return currentHandler.exchange(handler != nullptr ? handler : &DefaultHandler, std::memory_order_relaxed);
}

void ReportAssertion(const char* expression, const char* file, int line)
{
    currentHandler.load(std::memory_order_relaxed)(expression, file, line);
}

long GetDefaultAssertionCount()
{
    return defaultReportCount.load(std::memory_order_relaxed);
}
