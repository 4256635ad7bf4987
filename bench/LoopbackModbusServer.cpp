#include "LoopbackModbusServer.h"

#include <arpa/inet.h>
#include <modbus.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

LoopbackModbusServer::LoopbackModbusServer()
    : context_(modbus_new_tcp("127.0.0.1", 0)), mapping_(modbus_mapping_new(0, 0, 100, 0)) {
    if (context_ == nullptr || mapping_ == nullptr) {
        throw std::runtime_error("libmodbus could not set up the server");
    }
    listener_ = modbus_tcp_listen(context_, 1);
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (listener_ < 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("libmodbus could not listen");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

LoopbackModbusServer::~LoopbackModbusServer() {
    stop_ = true;
    // Wakes the blocked accept or receive.
    shutdown(listener_, SHUT_RDWR);
    const int socket = modbus_get_socket(context_);
    if (socket >= 0) {
        shutdown(socket, SHUT_RDWR);
    }
    thread_.join();
    close(listener_);
    modbus_mapping_free(mapping_);
    modbus_free(context_);
}

void LoopbackModbusServer::Serve() {
    uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
    while (!stop_) {
        const int client = accept(listener_, nullptr, nullptr);
        if (client < 0) {
            return;
        }
        modbus_set_socket(context_, client);
        int length;
        while (!stop_ && (length = modbus_receive(context_, query)) >= 0) {
            if (length > 0) {
                modbus_reply(context_, query, length, mapping_);
            }
        }
        close(client);
    }
}
