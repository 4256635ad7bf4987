#include "ModbusTcpServer.h"

#include <arpa/inet.h>
#include <chrono>
#include <modbus.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace tolvex::test {
namespace {

using namespace std::chrono_literals;

constexpr int kItems = 2000;
constexpr int kPollMs = 20;

uint16_t BoundPort(int socket) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

} // namespace

ModbusTcpServer::ModbusTcpServer() {
    context_ = modbus_new_tcp("127.0.0.1", 0);
    mapping_ = modbus_mapping_new(kItems, kItems, kItems, kItems);
    if (context_ == nullptr || mapping_ == nullptr) {
        throw std::runtime_error("libmodbus could not set up the server");
    }
    listener_ = modbus_tcp_listen(context_, 1);
    if (listener_ < 0) {
        throw std::runtime_error("libmodbus could not listen");
    }
    port_ = BoundPort(listener_);
    thread_ = std::thread([this] { Serve(); });
}

ModbusTcpServer::~ModbusTcpServer() {
    {
        std::lock_guard lock(lock_);
        stop_ = true;
        holding_ = false;
        holdAddress_.reset();
    }
    changed_.notify_all();
    thread_.join();
    close(listener_);
    modbus_mapping_free(mapping_);
    modbus_free(context_);
}

void ModbusTcpServer::SetHoldingRegister(uint16_t address, uint16_t value) {
    std::lock_guard lock(lock_);
    mapping_->tab_registers[address] = value;
}

uint16_t ModbusTcpServer::HoldingRegister(uint16_t address) const {
    std::lock_guard lock(lock_);
    return mapping_->tab_registers[address];
}

uint8_t ModbusTcpServer::CoilAt(uint16_t address) const {
    std::lock_guard lock(lock_);
    return mapping_->tab_bits[address];
}

std::vector<uint16_t> ModbusTcpServer::RequestAddresses() const {
    std::lock_guard lock(lock_);
    return requests_;
}

size_t ModbusTcpServer::RequestCount() const {
    std::lock_guard lock(lock_);
    return requests_.size();
}

void ModbusTcpServer::HoldAt(uint16_t address) {
    std::lock_guard lock(lock_);
    holdAddress_ = address;
}

bool ModbusTcpServer::WaitUntilHeld() {
    std::unique_lock lock(lock_);
    return changed_.wait_for(lock, 10s, [this] { return holding_; });
}

void ModbusTcpServer::Release() {
    {
        std::lock_guard lock(lock_);
        holding_ = false;
        holdAddress_.reset();
    }
    changed_.notify_all();
}

bool ModbusTcpServer::WaitReadable(int fd) const {
    pollfd entry{fd, POLLIN, 0};
    while (true) {
        {
            std::lock_guard lock(lock_);
            if (stop_) {
                return false;
            }
        }
        if (poll(&entry, 1, kPollMs) > 0) {
            return true;
        }
    }
}

void ModbusTcpServer::Serve() {
    while (WaitReadable(listener_)) {
        const int client = accept(listener_, nullptr, nullptr);
        if (client >= 0) {
            ServeClient(client);
            close(client);
        }
    }
}

void ModbusTcpServer::ServeClient(int client) {
    modbus_set_socket(context_, client);
    const int offset = modbus_get_header_length(context_);
    uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
    while (WaitReadable(client)) {
        const int length = modbus_receive(context_, query);
        if (length < 0) {
            return;
        }
        if (length == 0) {
            continue;
        }
        const auto address = static_cast<uint16_t>(query[offset + 1] << 8 | query[offset + 2]);
        HoldIfAsked(address);
        std::lock_guard lock(lock_);
        requests_.push_back(address);
        modbus_reply(context_, query, length, mapping_);
    }
}

void ModbusTcpServer::HoldIfAsked(uint16_t address) {
    std::unique_lock lock(lock_);
    if (holdAddress_ != address) {
        return;
    }
    holding_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return !holding_; });
}

} // namespace tolvex::test
