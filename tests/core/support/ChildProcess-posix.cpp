// SPDX-License-Identifier: MIT
#include "support/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

std::string &program()
{
    static std::string path;
    return path;
}

} // namespace

void ChildProcess::setProgram(const char *argv0)
{
    program() = argv0;
    // A child that has gone must not take the test program with it when it is written to.
    std::signal(SIGPIPE, SIG_IGN);
}

std::vector<std::string> ChildProcess::childArguments(int argc, char **argv)
{
    return std::vector<std::string>(argv + 2, argv + argc);
}

ChildProcess::ChildProcess(const std::vector<std::string> &arguments)
{
    int toChild[2];
    int fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDERR_FILENO);
    std::vector<std::string> words{program(), "--child"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, program().c_str(), &actions, nullptr, argv.data(), environ) == 0)
        process_ = pid;
    posix_spawn_file_actions_destroy(&actions);
    ::close(toChild[0]);
    ::close(fromChild[1]);
    input_ = toChild[1];
    output_ = fromChild[0];
}

ChildProcess::~ChildProcess()
{
    int code = 0;
    if (process_ > 0 && !waitForExit(0, code)) {
        ::kill(pid_t(process_), SIGKILL);
        waitForExit(-1, code);
    }
    ::close(int(input_));
    ::close(int(output_));
}

bool ChildProcess::readLine(std::string &line, int timeoutMs)
{
    for (;;) {
        if (const std::size_t end = buffered_.find('\n'); end != std::string::npos) {
            line = buffered_.substr(0, end);
            buffered_.erase(0, end + 1);
            lines_.push_back(line);
            return true;
        }
        pollfd ready{int(output_), POLLIN, 0};
        const int polled = ::poll(&ready, 1, timeoutMs);
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            return false;
        char chunk[4096];
        const ssize_t got = ::read(int(output_), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        buffered_.append(chunk, std::size_t(got));
    }
}

bool ChildProcess::waitForExit(int timeoutMs, int &exitCode)
{
    if (!finished_) {
        for (int waited = 0;; waited += 10) {
            int status = 0;
            const pid_t done = ::waitpid(pid_t(process_), &status, timeoutMs < 0 ? 0 : WNOHANG);
            if (done == pid_t(process_)) {
                finished_ = true;
                exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                break;
            }
            if (done < 0 || (timeoutMs >= 0 && waited >= timeoutMs))
                return false;
            ::usleep(10000);
        }
    }
    exitCode = exitCode_;
    return true;
}

void ChildProcess::tellToGoOn()
{
    const char go[] = "go\n";
    [[maybe_unused]] const ssize_t written = ::write(int(input_), go, sizeof go - 1);
}

void ChildProcess::stop()
{
    ::kill(pid_t(process_), SIGSTOP);
}

void ChildProcess::resume()
{
    ::kill(pid_t(process_), SIGCONT);
}

void ChildProcess::kill()
{
    ::kill(pid_t(process_), SIGKILL);
}
