// SPDX-License-Identifier: MIT
#include "app/Answers.h"
#include "app/CommandLine.h"
#include "forms/Startup.h"

int main(int argc, char **argv)
{
    const CommandLineRequest request = readCommandLine(argc, argv);
    switch (request.action) {
    case CommandLineRequest::Action::Help:
        return answerHelp();
    case CommandLineRequest::Action::Version:
        return answerVersion();
    case CommandLineRequest::Action::List:
        return answerList();
    case CommandLineRequest::Action::Mistake:
        return answerMistake(request.mistake);
    case CommandLineRequest::Action::OpenWindows:
        break;
    }
    return runPicora3(argc, argv);
}
