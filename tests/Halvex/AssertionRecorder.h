#pragma once

#include "Assert.h"

#include <string>
#include <vector>

// Installs a handler that records every assertion report for the lifetime of
// the object, so tests can state exactly which preconditions fired.
class AssertionRecorder {
public:
    struct Report {
        std::string expression;
        std::string file;
        int line;
    };

    AssertionRecorder()
    {
        previous = SetAssertionHandler(&Record);
        Reports().clear();
    }
    ~AssertionRecorder() { SetAssertionHandler(previous); }
    AssertionRecorder(const AssertionRecorder&) = delete;
    AssertionRecorder& operator=(const AssertionRecorder&) = delete;

    const std::vector<Report>& reports() const { return Reports(); }
    std::vector<std::string> expressions() const
    {
        std::vector<std::string> result;
        for (const Report& report : Reports()) {
            result.push_back(report.expression);
        }
        return result;
    }
    bool empty() const { return Reports().empty(); }
    void clear() { Reports().clear(); }

private:
    static std::vector<Report>& Reports()
    {
        static std::vector<Report> reports;
        return reports;
    }
    static void Record(const char* expression, const char* file, int line)
    {
        Reports().push_back({expression, file, line});
    }

    AssertionHandler previous = nullptr;
};
