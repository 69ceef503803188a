// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

// Another copy of the program: this test program again, run with "--child" and the arguments,
// talking line by line through its standard input and output. Each system says how in a file
// of its own (ChildProcess-posix.cpp, ChildProcess-win32.cpp).
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string> &arguments);
    ~ChildProcess(); // kills it if it still runs
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // Waits until it says the line, and says whether it did.
    bool said(const std::string &line);
    void tellToGoOn();
    // Holds it still where it is, and lets it go on.
    void stop();
    void resume();
    // Ends it at once, wherever it is, as a crash would; what it said stays to be read.
    void kill();
    // How its work ended: its last line, once it has finished; "<failed: …>" when it did not
    // finish well.
    std::string ending();

    // The test program itself, as main() was given it.
    static void setProgram(const char *argv0);
    // The arguments after "--child" as the child was given them, in UTF-8 on every system.
    static std::vector<std::string> childArguments(int argc, char **argv);

private:
    bool readLine(std::string &line, int timeoutMs);
    bool waitForExit(int timeoutMs, int &exitCode);

    std::intptr_t process_ = -1;
    std::intptr_t input_ = -1;  // its standard input, which this end writes
    std::intptr_t output_ = -1; // its standard output and error, which this end reads
    std::string buffered_;
    std::vector<std::string> lines_;
    bool finished_ = false;
    int exitCode_ = -1;
};

// The main of a test program whose cases may start other copies: with "--child", `child`
// runs instead of the tests.
int runTestsOrChild(int argc, char **argv, int (*child)(const std::vector<std::string> &));
