// halcyon-deck-cli verify OUT.json
// Checks an incident clip's hash record: every recording and file it names is
// hashed again and reported on one line, "OK", "CHANGED" or "MISSING" and its
// path. Exit 0 when all are OK, 1 otherwise, 2 for a record that cannot be read.
#include "incident/ClipHashRecord.h"
#include "tools/cli/CliCommand.h"

#include <cstdio>

namespace {

constexpr char kUsage[] = "verify RECORD.json";

int runVerify(const QStringList& args)
{
    if (args.size() != 1 || args[0].startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: halcyon-deck-cli %s\n", kUsage);
        return 2;
    }
    QString error;
    const auto checks = ClipHashRecord::Verify(args[0], &error);
    if (!checks) {
        std::fprintf(stderr, "verify: %s\n", qPrintable(error));
        return 2;
    }
    bool allOk = !checks->empty();
    for (const auto& c : *checks) {
        const char* state = c.state == ClipHashRecord::State::Ok        ? "OK"
                            : c.state == ClipHashRecord::State::Changed ? "CHANGED"
                                                                        : "MISSING";
        allOk = allOk && c.state == ClipHashRecord::State::Ok;
        std::printf("%s %s\n", state, qPrintable(c.path));
    }
    std::fflush(stdout);
    return allOk ? 0 : 1;
}

const CliCommandRegistration registration({"verify", kUsage, runVerify});

} // namespace
