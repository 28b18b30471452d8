#pragma once
// Sub-commands of halcyon-deck-cli. Each *Command.cpp registers itself with a
// static CliCommandRegistration; main() dispatches on the first argument.
#include <QCommandLineParser>
#include <QStringList>
#include <functional>
#include <optional>

struct CliCommand {
    const char* name;
    const char* usage;
    // args excludes the program name and the sub-command; returns the exit status.
    std::function<int(const QStringList& args)> run;
};

void registerCliCommand(const CliCommand& command);

struct CliCommandRegistration {
    explicit CliCommandRegistration(const CliCommand& command) { registerCliCommand(command); }
};

// Parses a sub-command's args with parser, which gets -h/--help added.
// nullopt: go on with the parser's values; else the exit status, with the
// help printed or the error and "usage: halcyon-deck-cli <usage>" on stderr
// (usage: the command's line without the program, "scan ROOT").
std::optional<int> parseCliArguments(QCommandLineParser& parser, const char* command, const QString& usage,
                                     const QStringList& args);
// An error found after parsing (a wrong value, a missing argument): the same
// report as a parse error; returns 2.
int cliUsageError(const char* command, const QString& usage, const QString& message);
