#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

// An X server of the test program's own: Xvfb started on a free display
// number (it reports the number on a pipe, -displayfd), with DISPLAY pointing
// at it until the server is stopped. The tests then need no display of the
// machine's and never reach a user's screen. Waits are bounded.
class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer() { Stop(); }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Answers false, with the reason in error, when no server could be had.
    bool Start(std::string& error)
    {
        int fds[2];
        if (pipe(fds) != 0) {
            error = "cannot make a pipe";
            return false;
        }
        pid = fork();
        if (pid == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            // Xvfb's own messages would only clutter the test's output.
            freopen("/dev/null", "w", stdout);
            freopen("/dev/null", "w", stderr);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        if (pid < 0) {
            close(fds[0]);
            error = "cannot fork";
            return false;
        }
        std::string number;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (number.empty() || number.back() != '\n') {
            const auto left
                = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                      .count();
            pollfd readable = {fds[0], POLLIN, 0};
            char c = 0;
            if (left <= 0 || poll(&readable, 1, static_cast<int>(left)) <= 0 || read(fds[0], &c, 1) != 1) {
                break;
            }
            number += c;
        }
        close(fds[0]);
        if (number.empty() || number.back() != '\n') {
            error = "Xvfb did not report a display (is the xvfb package installed?)";
            Stop();
            return false;
        }
        number.pop_back();
        setenv("DISPLAY", (":" + number).c_str(), 1);
        return true;
    }

    void Stop()
    {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
            pid = -1;
            unsetenv("DISPLAY");
        }
    }

private:
    pid_t pid = -1;
};
