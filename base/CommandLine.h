#pragma once
// The command lines of halcyon-deck and halcyon-deck-cli answer alike: --help
// prints the usage with the options on standard output; a wrong option, a
// missing value or a wrong number of arguments prints what is wrong and the
// usage on standard error and ends with status 2, the status of a usage error.
#include <QCommandLineParser>
#include <QString>
#include <optional>

namespace CommandLine {

inline constexpr int kUsageError = 2;

// -h, --help
QCommandLineOption helpOption();
// --version
QCommandLineOption versionOption();

// usage ("usage: PROGRAM …", one line), then the options and arguments parser
// knows with their descriptions, then more (a paragraph of its own).
QString helpText(const QCommandLineParser& parser, const QString& usage, const QString& more = {});

// Prints "PROGRAM: message" and the usage to standard error; returns kUsageError.
int usageError(const QString& program, const QString& usage, const QString& message);

// Parses arguments (the first names the program and is skipped) with a parser
// that has helpOption(). nullopt: the caller goes on with the parser's values;
// else the exit status, the help or the error already printed.
std::optional<int> parse(QCommandLineParser& parser, const QStringList& arguments, const QString& program,
                         const QString& usage, const QString& helpMore = {});

} // namespace CommandLine
