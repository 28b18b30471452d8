#pragma once
// Sub-commands of halcyon-deck-cli. Each *Command.cpp registers itself with a
// static CliCommandRegistration; main() dispatches on the first argument.
#include <QStringList>
#include <functional>

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
