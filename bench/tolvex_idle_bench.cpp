// CPU time of a connected control whose engine has nothing to do, over 10 s.
#include "LoopbackModbusServer.h"

#include <chrono>
#include <cstdio>
#include <sys/resource.h>
#include <thread>
#include <tolvex/tolvex.h>

namespace {

constexpr auto kIdleTime = std::chrono::seconds(10);

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

int main() {
    LoopbackModbusServer server;
    tolvex_control* control = tolvex_create();
    tolvex_set_connection(control, 0);
    tolvex_set_ip_addr1(control, 127);
    tolvex_set_ip_addr4(control, 1);
    tolvex_set_tcpip_port(control, server.Port());
    if (!tolvex_open_connection(control)) {
        std::fprintf(stderr, "tolvex cannot connect: %d\n", tolvex_get_last_error(control));
        return 1;
    }
    const double before = CpuSeconds();
    std::this_thread::sleep_for(kIdleTime);
    const double used = CpuSeconds() - before;
    tolvex_destroy(control);
    const double wall = std::chrono::duration<double>(kIdleTime).count();
    std::printf("idle engine CPU time over %.0f s: %.4f s (%.3f%% of one core)\n", wall, used,
                100.0 * used / wall);
    return 0;
}
