#pragma once

#include <windows.h>

#include <string>

// Runs a command line to its end, as a user would from a console, and hands
// back its exit code and what it wrote to standard output and standard
// error. For Windows tests that start programs (under Wine too). A process
// still running after timeoutMs is reported, not waited for.
struct ProcessRun {
    bool started = false;
    bool finished = false;
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;
};

inline ProcessRun RunProcess(std::string commandLine, DWORD timeoutMs = 60000)
{
    ProcessRun run;
    SECURITY_ATTRIBUTES inheritable {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
        return run;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process {};
    run.started
        = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (!run.started) {
        CloseHandle(readEnd);
        return run;
    }
    // Read until the process has exited and its output is drained. Waiting
    // for the end of the pipe instead would hang whenever a process it
    // started (under Wine, the desktop process) inherited the pipe.
    const DWORD deadline = GetTickCount() + timeoutMs;
    while (!run.finished) {
        run.finished = WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0;
        DWORD available = 0;
        while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
            char buffer[4096];
            DWORD count = 0;
            if (!ReadFile(readEnd, buffer, sizeof buffer, &count, nullptr) || count == 0) {
                break;
            }
            run.output.append(buffer, count);
        }
        if (!run.finished && GetTickCount() > deadline) {
            break;
        }
    }
    CloseHandle(readEnd);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}
