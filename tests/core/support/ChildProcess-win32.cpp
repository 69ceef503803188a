// SPDX-License-Identifier: MIT
#include "support/ChildProcess.h"

#include "support/Text.h"

#include <string>

#include <windows.h>

namespace {

std::wstring &program()
{
    static std::wstring path;
    return path;
}

HANDLE handle(std::intptr_t value)
{
    return reinterpret_cast<HANDLE>(value);
}

std::wstring wide(std::string_view utf8Text)
{
    const std::u16string text = fromUtf8(utf8Text);
    return std::wstring(text.begin(), text.end());
}

// One word of a command line, quoted as the C runtime reads it back.
std::wstring commandLineWord(const std::wstring &word)
{
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : word) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

using SuspendOrResume = LONG(NTAPI *)(HANDLE);

// Windows has no call of its own to hold a whole process still; ntdll's is the one debuggers
// use.
void suspendOrResume(HANDLE process, const char *name)
{
    const auto call = reinterpret_cast<SuspendOrResume>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
    if (call)
        call(process);
}

} // namespace

void ChildProcess::setProgram(const char *)
{
    // The program's own path in full, whatever the code page.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    program() = path;
}

std::vector<std::string> ChildProcess::childArguments(int, char **)
{
    // argv holds the arguments in the system code page; the wide command line holds them all.
    int count = 0;
    wchar_t **words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 2; i < count; ++i)
        arguments.push_back(
            utf8(std::u16string(words[i], words[i] + std::char_traits<wchar_t>::length(words[i]))));
    LocalFree(words);
    return arguments;
}

ChildProcess::ChildProcess(const std::vector<std::string> &arguments)
{
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE childIn = nullptr, toChild = nullptr, fromChild = nullptr, childOut = nullptr;
    if (!CreatePipe(&childIn, &toChild, &inherited, 0) ||
        !CreatePipe(&fromChild, &childOut, &inherited, 0))
        return;
    SetHandleInformation(toChild, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(fromChild, HANDLE_FLAG_INHERIT, 0);
    std::wstring commandLine = commandLineWord(program()) + L" --child";
    for (const std::string &argument : arguments)
        commandLine += L" " + commandLineWord(wide(argument));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childIn;
    startup.hStdOutput = childOut;
    startup.hStdError = childOut;
    PROCESS_INFORMATION started{};
    if (CreateProcessW(program().c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                       CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started)) {
        CloseHandle(started.hThread);
        process_ = reinterpret_cast<std::intptr_t>(started.hProcess);
    }
    CloseHandle(childIn);
    CloseHandle(childOut);
    input_ = reinterpret_cast<std::intptr_t>(toChild);
    output_ = reinterpret_cast<std::intptr_t>(fromChild);
}

ChildProcess::~ChildProcess()
{
    int code = 0;
    if (process_ != -1 && !waitForExit(0, code)) {
        TerminateProcess(handle(process_), 1);
        waitForExit(-1, code);
    }
    if (process_ != -1)
        CloseHandle(handle(process_));
    CloseHandle(handle(input_));
    CloseHandle(handle(output_));
}

bool ChildProcess::readLine(std::string &line, int timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG(timeoutMs);
    for (;;) {
        if (const std::size_t end = buffered_.find('\n'); end != std::string::npos) {
            line = buffered_.substr(0, end);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            buffered_.erase(0, end + 1);
            lines_.push_back(line);
            return true;
        }
        // Anonymous pipes cannot be waited on with a time limit: look now and then.
        DWORD available = 0;
        if (!PeekNamedPipe(handle(output_), nullptr, 0, nullptr, &available, nullptr))
            return false;
        if (available == 0) {
            if (GetTickCount64() >= deadline)
                return false;
            Sleep(5);
            continue;
        }
        char chunk[4096];
        DWORD got = 0;
        if (!ReadFile(handle(output_), chunk, std::min<DWORD>(available, sizeof chunk), &got,
                      nullptr) ||
            got == 0)
            return false;
        buffered_.append(chunk, got);
    }
}

bool ChildProcess::waitForExit(int timeoutMs, int &exitCode)
{
    if (!finished_) {
        if (WaitForSingleObject(handle(process_), timeoutMs < 0 ? INFINITE : DWORD(timeoutMs)) !=
            WAIT_OBJECT_0)
            return false;
        DWORD code = 0;
        GetExitCodeProcess(handle(process_), &code);
        finished_ = true;
        exitCode_ = int(code);
    }
    exitCode = exitCode_;
    return true;
}

void ChildProcess::tellToGoOn()
{
    DWORD written = 0;
    WriteFile(handle(input_), "go\n", 3, &written, nullptr);
}

void ChildProcess::stop()
{
    suspendOrResume(handle(process_), "NtSuspendProcess");
}

void ChildProcess::resume()
{
    suspendOrResume(handle(process_), "NtResumeProcess");
}

void ChildProcess::kill()
{
    TerminateProcess(handle(process_), 1);
}
