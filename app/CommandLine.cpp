// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

#include <array>
#include <optional>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {

struct QtOption {
    std::string_view name;
    bool takesValue;
};

// The options Qt 6.4 takes from the command line itself, in QCoreApplication,
// QGuiApplication, QApplication and its X11 platform. Qt also reads each with two dashes.
constexpr std::array kQtOptions{
    QtOption{"-platform", true},
    QtOption{"-platformpluginpath", true},
    QtOption{"-platformtheme", true},
    QtOption{"-plugin", true},
    QtOption{"-qwindowgeometry", true},
    QtOption{"-qwindowicon", true},
    QtOption{"-qwindowtitle", true},
    QtOption{"-reverse", false},
    QtOption{"-session", true},
    QtOption{"-testability", false},
    QtOption{"-style", true},
    QtOption{"-stylesheet", true},
    QtOption{"-widgetcount", false},
    QtOption{"-qmljsdebugger", true},
    // X11
    QtOption{"-display", true},
    QtOption{"-geometry", true},
    QtOption{"-title", true},
    QtOption{"-icon", true},
    QtOption{"-name", true},
    QtOption{"-visual", true},
    QtOption{"-nograb", false},
    QtOption{"-dograb", false},
};

// Those that Qt also reads with their value in the same word, as -style=Fusion.
constexpr std::array<std::string_view, 3> kQtJoinedOptions{
    "-style=", "-stylesheet=", "-qmljsdebugger="};

// How many of the arguments after this one Qt takes as its value, or nothing when it is not
// one of Qt's options.
std::optional<int> qtValuesAfter(std::string_view argument)
{
    if (argument.starts_with("--"))
        argument.remove_prefix(1);
    for (const QtOption &option : kQtOptions) {
        if (option.name == argument)
            return option.takesValue ? 1 : 0;
    }
    for (std::string_view prefix : kQtJoinedOptions) {
        if (argument.starts_with(prefix))
            return 0;
    }
    return std::nullopt;
}

CommandLineRequest mistake(const QString &what)
{
    return {CommandLineRequest::Action::Mistake, what};
}

} // namespace

CommandLineRequest readCommandLine(int argc, const char *const *argv)
{
    bool help = false;
    bool version = false;
    bool list = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            help = true;
        } else if (argument == "--version") {
            version = true;
        } else if (argument == "--list") {
            list = true;
        } else if (const std::optional<int> values = qtValuesAfter(argument)) {
            i += *values;
            if (i >= argc)
                return mistake(
                    u"オプション「%1」には値が必要です。"_s.arg(QString::fromUtf8(argument)));
        } else if (argument.starts_with('-')) {
            return mistake(u"不明なオプション「%1」です。"_s.arg(QString::fromUtf8(argument)));
        } else {
            return mistake(u"余分な引数「%1」があります。"_s.arg(QString::fromUtf8(argument)));
        }
    }
    if (help)
        return {CommandLineRequest::Action::Help, {}};
    if (version)
        return {CommandLineRequest::Action::Version, {}};
    if (list)
        return {CommandLineRequest::Action::List, {}};
    return {};
}
