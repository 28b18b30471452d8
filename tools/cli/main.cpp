#include "tools/cli/CliCommand.h"

#include "base/CommandLine.h"

#include <QCoreApplication>
#include <cstdio>
#include <vector>

namespace {
const QString kProgram = QStringLiteral("halcyon-deck-cli");

std::vector<CliCommand>& commands()
{
    static std::vector<CliCommand> list;
    return list;
}

QString usage()
{
    QString text = QStringLiteral("usage: halcyon-deck-cli COMMAND ...");
    for (const auto& c : commands())
        text += QStringLiteral("\n  %1").arg(QLatin1String(c.usage));
    return text;
}
} // namespace

void registerCliCommand(const CliCommand& command) { commands().push_back(command); }

std::optional<int> parseCliArguments(QCommandLineParser& parser, const char* command, const QString& commandUsage,
                                     const QStringList& args)
{
    const QString program = kProgram + QLatin1Char(' ') + QLatin1String(command);
    parser.addOption(CommandLine::helpOption());
    return CommandLine::parse(parser, QStringList{program} + args, program,
                              QStringLiteral("usage: %1 %2").arg(kProgram, commandUsage));
}

int cliUsageError(const char* command, const QString& commandUsage, const QString& message)
{
    return CommandLine::usageError(kProgram + QLatin1Char(' ') + QLatin1String(command),
                                   QStringLiteral("usage: %1 %2").arg(kProgram, commandUsage), message);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption(CommandLine::helpOption());
    const QCommandLineOption version = CommandLine::versionOption();
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("COMMAND"), QStringLiteral("what to do"), QStringLiteral("COMMAND ..."));
    // Options after the command are the command's own.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (const auto status = CommandLine::parse(parser, app.arguments(), kProgram, usage()))
        return *status;
    if (parser.isSet(version)) {
        std::printf("halcyon-deck-cli %s\n", HALCYON_VERSION);
        return 0;
    }
    QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return CommandLine::usageError(kProgram, usage(), QStringLiteral("no command given"));
    const QString name = args.takeFirst();
    for (const auto& c : commands()) {
        if (name == QLatin1String(c.name))
            return c.run(args);
    }
    return CommandLine::usageError(kProgram, usage(), QStringLiteral("unknown command '%1'").arg(name));
}
