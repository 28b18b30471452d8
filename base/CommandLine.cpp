#include "base/CommandLine.h"

#include <cstdio>

namespace CommandLine {

QCommandLineOption helpOption()
{
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("this text"));
}

QCommandLineOption versionOption()
{
    return QCommandLineOption(QStringLiteral("version"), QStringLiteral("the version"));
}

QString helpText(const QCommandLineParser& parser, const QString& usage, const QString& more)
{
    // The parser's own first line names the program as the process was started
    // (or not at all before the application object exists): ours replaces it.
    QString text = usage + QLatin1Char('\n') + parser.helpText().section(QLatin1Char('\n'), 1);
    if (!more.isEmpty())
        text += QLatin1Char('\n') + more;
    return text;
}

int usageError(const QString& program, const QString& usage, const QString& message)
{
    std::fprintf(stderr, "%s: %s\n%s\n", qPrintable(program), qPrintable(message), qPrintable(usage));
    return kUsageError;
}

std::optional<int> parse(QCommandLineParser& parser, const QStringList& arguments, const QString& program,
                         const QString& usage, const QString& helpMore)
{
    const bool parsed = parser.parse(arguments);
    // Help is asked for even in a line that is otherwise wrong.
    if (parser.isSet(helpOption().names().constFirst())) {
        std::fputs(qPrintable(helpText(parser, usage, helpMore)), stdout);
        return 0;
    }
    if (!parsed)
        return usageError(program, usage, parser.errorText());
    return std::nullopt;
}

} // namespace CommandLine
