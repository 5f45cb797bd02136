#pragma once

#include <functional>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// Runs work(i) in n forked copies of the test process at once and waits for them all. A copy ends with the
// code work returns (never back into the test framework); the result holds the codes in order, -1 for a copy
// that did not end normally.
inline std::vector<int> runForked(int n, const std::function<int(int)>& work) {
    std::vector<pid_t> pids;
    for (int i = 0; i < n; ++i) {
        const pid_t pid = fork();
        if (pid == 0) {
            int code = 99;
            try {
                code = work(i);
            } catch (...) {
            }
            _exit(code);
        }
        pids.push_back(pid);
    }
    std::vector<int> codes;
    for (pid_t pid : pids) {
        int status = 0;
        if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
            codes.push_back(-1);
        else
            codes.push_back(WEXITSTATUS(status));
    }
    return codes;
}
