#include "tools/cli/CliCommand.h"

#include <QCoreApplication>
#include <cstdio>
#include <vector>

namespace {
std::vector<CliCommand>& commands()
{
    static std::vector<CliCommand> list;
    return list;
}

int usage()
{
    std::fprintf(stderr, "usage: halcyon-deck-cli COMMAND ...\n");
    for (const auto& c : commands())
        std::fprintf(stderr, "  %s\n", c.usage);
    return 2;
}
} // namespace

void registerCliCommand(const CliCommand& command) { commands().push_back(command); }

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty())
        return usage();
    const QString name = args.takeFirst();
    for (const auto& c : commands()) {
        if (name == QLatin1String(c.name))
            return c.run(args);
    }
    return usage();
}
