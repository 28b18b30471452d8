// Loaded (LD_PRELOAD) only into programs run under valgrind by ./dev.sh test.
// libavcodec pulls in libhwy, whose start-up code measures its timer with the
// RDTSCP instruction without asking the processor whether it has one. Where
// the processor does not announce it (virtual machines), valgrind stops the
// program with an illegal instruction before any test runs. This stands in
// for that one measurement; nothing of the media path uses libhwy's timer.
#include <cstdint>

namespace hwy::platform {
__attribute__((visibility("default"))) std::uint64_t TimerResolution() { return 1; }
} // namespace hwy::platform
