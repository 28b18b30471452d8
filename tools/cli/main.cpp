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

void printUsage(std::FILE* to)
{
    std::fprintf(to, "usage: halcyon-deck-cli COMMAND ...\n");
    for (const auto& c : commands())
        std::fprintf(to, "  %s\n", c.usage);
    std::fprintf(to, "  --help | --version\n");
}

int usage()
{
    printUsage(stderr);
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
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        printUsage(stdout);
        return 0;
    }
    if (name == QLatin1String("--version")) {
        std::printf("halcyon-deck-cli %s\n", HALCYON_VERSION);
        return 0;
    }
    for (const auto& c : commands()) {
        if (name == QLatin1String(c.name))
            return c.run(args);
    }
    return usage();
}
