// One-shot reads of 10 holding registers over loopback Modbus/TCP against the same server: the
// tolvex control (define, UpdateOnce, wait for the event) against a plain libmodbus client loop.
#include "LoopbackModbusServer.h"

#include <chrono>
#include <cstdio>
#include <modbus.h>
#include <poll.h>
#include <tolvex/tolvex.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kRunTime = std::chrono::seconds(3);
constexpr int kRegisters = 10;

void CountCompletion(void* context, short) {
    ++*static_cast<int*>(context);
}

void CountFailure(void* context, short, short error) {
    std::fprintf(stderr, "tolvex read failed with %d\n", error);
    ++*static_cast<int*>(context);
}

double TolvexRoundTrips(uint16_t port) {
    tolvex_control* control = tolvex_create();
    int completions = 0;
    tolvex_set_callbacks(control, CountCompletion, CountFailure, &completions);
    tolvex_set_connection(control, 0);
    tolvex_set_ip_addr1(control, 127);
    tolvex_set_ip_addr4(control, 1);
    tolvex_set_tcpip_port(control, port);
    if (!tolvex_open_connection(control)) {
        std::fprintf(stderr, "tolvex cannot connect: %d\n", tolvex_get_last_error(control));
        tolvex_destroy(control);
        return 0;
    }
    pollfd entry{tolvex_event_fd(control), POLLIN, 0};
    const auto start = Clock::now();
    int trips = 0;
    while (Clock::now() - start < kRunTime) {
        tolvex_read_holding_registers(control, 0, 1, 0, kRegisters, 0);
        tolvex_update_once(control, 0);
        const int before = completions;
        while (completions == before) {
            poll(&entry, 1, -1);
            tolvex_dispatch_events(control);
        }
        ++trips;
    }
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    tolvex_destroy(control);
    return trips / elapsed.count();
}

double LibmodbusRoundTrips(uint16_t port) {
    modbus_t* client = modbus_new_tcp("127.0.0.1", port);
    if (client == nullptr || modbus_connect(client) != 0) {
        std::fprintf(stderr, "libmodbus cannot connect\n");
        return 0;
    }
    uint16_t registers[kRegisters];
    const auto start = Clock::now();
    int trips = 0;
    while (Clock::now() - start < kRunTime) {
        if (modbus_read_registers(client, 0, kRegisters, registers) != kRegisters) {
            std::fprintf(stderr, "libmodbus read failed\n");
        }
        ++trips;
    }
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    modbus_close(client);
    modbus_free(client);
    return trips / elapsed.count();
}

} // namespace

int main() {
    LoopbackModbusServer server;
    const double tolvex = TolvexRoundTrips(server.Port());
    const double libmodbus = LibmodbusRoundTrips(server.Port());
    std::printf("tolvex one-shot reads of %d registers:    %10.0f round trips/s\n", kRegisters,
                tolvex);
    std::printf("libmodbus reads of %d registers:          %10.0f round trips/s\n", kRegisters,
                libmodbus);
    std::printf("ratio tolvex / libmodbus:                 %10.2f\n",
                libmodbus > 0 ? tolvex / libmodbus : 0.0);
    return 0;
}
