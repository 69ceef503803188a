// SPDX-License-Identifier: MIT
#include "support/ChildProcess.h"

#include <doctest.h>

#include <string_view>

bool ChildProcess::said(const std::string &line)
{
    std::string next;
    while (readLine(next, 20000))
        if (next == line)
            return true;
    return false;
}

std::string ChildProcess::ending()
{
    int code = -1;
    std::string line;
    while (readLine(line, 30000)) {
    }
    if (!waitForExit(30000, code) || code != 0) {
        std::string all;
        for (const std::string &said : lines_)
            all += said + "\n";
        return "<failed: " + std::to_string(code) + " " + all + ">";
    }
    return lines_.empty() ? std::string() : lines_.back();
}

int runTestsOrChild(int argc, char **argv, int (*child)(const std::vector<std::string> &))
{
    ChildProcess::setProgram(argv[0]);
    if (argc >= 2 && std::string_view(argv[1]) == "--child")
        return child(ChildProcess::childArguments(argc, argv));
    doctest::Context context(argc, argv);
    return context.run();
}
