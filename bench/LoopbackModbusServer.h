#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

struct _modbus;
struct _modbus_mapping_t;

// A libmodbus Modbus/TCP server on 127.0.0.1 that serves its clients one after the other until it
// is destroyed. Blocks in the kernel while idle, so it adds no CPU time of its own.
class LoopbackModbusServer {
public:
    LoopbackModbusServer();
    LoopbackModbusServer(const LoopbackModbusServer&) = delete;
    LoopbackModbusServer& operator=(const LoopbackModbusServer&) = delete;
    ~LoopbackModbusServer();

    uint16_t Port() const { return port_; }

private:
    void Serve();

    _modbus* context_;
    _modbus_mapping_t* mapping_;
    int listener_;
    uint16_t port_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
