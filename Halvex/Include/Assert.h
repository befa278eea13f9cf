#pragma once

// The toolkit's precondition check. A violated check is reported with the
// literal expression text, the source file and the line; execution then goes
// on, and every operation documents what it does after a report.
//
// The handler is replaceable so that tests can assert which precondition
// fired. The default handler counts the report and writes one line to the
// standard error stream with a single unbuffered write: it never allocates,
// never takes a lock and never opens a window, so it is safe on the audio
// thread of a host. After the first MaxPrintedReports lines it only counts.

using AssertionHandler = void (*)(const char* expression, const char* file, int line);

// Installs a handler (null restores the default) and returns the previous one.
// Any thread; the handler is held in an atomic.
AssertionHandler SetAssertionHandler(AssertionHandler handler);

// Sends one report to the current handler.
void ReportAssertion(const char* expression, const char* file, int line);

// Reports the default handler has received in this process (or module).
long GetDefaultAssertionCount();

constexpr int MaxPrintedReports = 32;

#define HALVEX_ASSERT(expression) \
    ((expression) ? static_cast<void>(0) : ReportAssertion(#expression, __FILE__, __LINE__))
