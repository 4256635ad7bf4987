#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

struct _modbus;
struct _modbus_mapping_t;

namespace tolvex::test {

// A libmodbus Modbus/TCP server on 127.0.0.1 in its own thread, serving one client at a time
// (a new one after the previous went away). 2000 of each kind of data; requests beyond give the
// device's exception 2. It logs the start address of every request and can hold the reply to a
// request at one address until released.
class ModbusTcpServer {
public:
    ModbusTcpServer();
    ModbusTcpServer(const ModbusTcpServer&) = delete;
    ModbusTcpServer& operator=(const ModbusTcpServer&) = delete;
    ~ModbusTcpServer();

    uint16_t Port() const { return port_; }

    void SetHoldingRegister(uint16_t address, uint16_t value);
    uint16_t HoldingRegister(uint16_t address) const;
    uint8_t CoilAt(uint16_t address) const;

    // Start addresses of the requests received so far, in order.
    std::vector<uint16_t> RequestAddresses() const;
    size_t RequestCount() const;

    // The next request at this address waits for Release() before it is answered.
    void HoldAt(uint16_t address);
    // Waits until a held request has arrived; false when none came within the wait.
    bool WaitUntilHeld();
    void Release();

private:
    void Serve();
    bool WaitReadable(int fd) const;
    void ServeClient(int client);
    void HoldIfAsked(uint16_t address);

    _modbus* context_ = nullptr;
    _modbus_mapping_t* mapping_ = nullptr;
    int listener_ = -1;
    uint16_t port_ = 0;

    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::vector<uint16_t> requests_;
    std::optional<uint16_t> holdAddress_;
    bool holding_ = false;
    bool stop_ = false;
    std::thread thread_;
};

} // namespace tolvex::test
