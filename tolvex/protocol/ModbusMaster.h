#pragma once

#include "ModbusPdu.h"
#include "ModbusTransport.h"
#include "SerialPort.h"
#include "TcpClient.h"

#include <cstdint>
#include <memory>
#include <span>

namespace tolvex {

enum class TransportMode : uint16_t { Rtu = 0, Ascii = 1, Tcp = 2 };

// The Modbus transactions, run over one transport: RTU or ASCII on the serial line, or MBAP on
// the TCP client. Each returns 0, the device's exception code, or a code of ResultCode. Register
// buffers hold 16-bit values in host order (2 bytes each); coil buffers one byte per coil. Writes
// to slave 0 are broadcasts that await no reply on a serial line. Arguments that cannot form a
// valid frame (reads from slave 0, quantities outside the limits, buffers too small) give 14:
// nothing is sent.
class ModbusMaster {
public:
    ModbusMaster();
    ModbusMaster(const ModbusMaster&) = delete;
    ModbusMaster& operator=(const ModbusMaster&) = delete;
    ~ModbusMaster();

    // The media the transports run over, opened and closed by the host while no transaction runs.
    SerialPort& Serial() { return serial_; }
    TcpClient& Tcp() { return tcp_; }
    // The serial line's own operations, for hosts that use nothing else of it.
    bool Open(int port, const LineSettings& settings) { return serial_.Open(port, settings); }
    bool SetTimeouts(const SerialTimeouts& timeouts) { return serial_.SetTimeouts(timeouts); }
    void Close() { serial_.Close(); }

    // Chooses the transport; choosing the current one keeps it (and its TCP transaction count).
    void SetTransportMode(TransportMode mode);
    TransportMode GetTransportMode() const { return mode_; }

    uint16_t ReadBits(uint8_t slave, uint8_t function, uint16_t address, uint16_t quantity,
                      std::span<uint8_t> bits);
    uint16_t ReadRegisters(uint8_t slave, uint8_t function, uint16_t address, uint16_t quantity,
                           std::span<uint8_t> registers);
    uint16_t WriteSingleCoil(uint8_t slave, uint16_t address, uint8_t coil);
    uint16_t WriteSingleRegister(uint8_t slave, uint16_t address, uint16_t value);
    uint16_t WriteMultipleCoils(uint8_t slave, uint16_t address, uint16_t quantity,
                                std::span<const uint8_t> coils);
    uint16_t WriteMultipleRegisters(uint8_t slave, uint16_t address, uint16_t quantity,
                                    std::span<const uint8_t> registers);
    // Writes the first writeQuantity registers of the buffer, then reads readQuantity over it.
    uint16_t ReadWriteRegisters(uint8_t slave, uint16_t readAddress, uint16_t readQuantity,
                                uint16_t writeAddress, uint16_t writeQuantity,
                                std::span<uint8_t> registers);

private:
    // Runs the exchange; on 0 the reply PDU is in reply (reply.size() = expected length).
    uint16_t Exchange(const ModbusRequest& request, std::span<uint8_t> reply);
    using ReplyUnpacker = void (*)(std::span<const uint8_t> reply, std::span<uint8_t> out);
    uint16_t RunRead(const ModbusRequest& request, ReplyUnpacker unpack, std::span<uint8_t> out);
    uint16_t RunWrite(const ModbusRequest& request, size_t echoedBytes);

    SerialPort serial_;
    TcpClient tcp_;
    TransportMode mode_ = TransportMode::Rtu;
    std::unique_ptr<ModbusTransport> transport_;
};

} // namespace tolvex
