#pragma once
// Runs the built program as a user would: in a folder, with standard input from /dev/null and
// the outputs caught in files there.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace quillfen::testing {

struct CliRun {
    int status = -1;  // exit status, or 128 + signal
    std::string out;
    std::string err;
};

inline std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

/// Starts `program ARGS` in `folder`; returns the child's id.
inline pid_t startProgram(const char* program, const std::string& folder,
                          const std::vector<std::string>& args) {
    pid_t pid = fork();
    if (pid != 0) return pid;
    if (chdir(folder.c_str()) != 0) _exit(127);
    int in = open("/dev/null", O_RDONLY);
    int out = open(".stdout", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(".stderr", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    std::vector<char*> argv{const_cast<char*>(program)};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(program, argv.data());
    _exit(127);
}

/// Waits for the child started in `folder` and collects what it wrote.
inline CliRun finishProgram(const std::string& folder, pid_t pid) {
    int raw = 0;
    waitpid(pid, &raw, 0);
    CliRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    run.out = readAll(folder + "/.stdout");
    run.err = readAll(folder + "/.stderr");
    return run;
}

}  // namespace quillfen::testing
