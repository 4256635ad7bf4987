#pragma once

#include "ElementCodec.h"
#include "NoticeQueue.h"
#include "PersistedProperties.h"
#include "RequestSlot.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tolvex {

class RequestEngine;

// The Modbus master control: properties with range checks and a control-wide last error, request
// methods over 100 handles, register accessors, one connection, and the completion events
// ResultOk and ResultError fired by DispatchEvents on the host's thread. Every call except
// DispatchEvents' callbacks comes from the host's thread.
class CTolvexCtrl {
public:
    struct EventHandlers {
        std::function<void(short handle)> resultOk;
        std::function<void(short handle, short error)> resultError;
    };

    CTolvexCtrl();
    CTolvexCtrl(const CTolvexCtrl&) = delete;
    CTolvexCtrl& operator=(const CTolvexCtrl&) = delete;
    ~CTolvexCtrl();

    // Properties. A refused value is not stored and sets the last error; every write, accepted or
    // not, marks the control modified.
    short StopBits() const { return props_.stopBits; }
    void SetStopBits(short value);
    short BaudRate() const { return props_.baudRate; }
    void SetBaudRate(short value);
    short Parity() const { return props_.parity; }
    void SetParity(short value);
    short Timeout() const { return props_.timeout; }
    void SetTimeout(short value);
    // A reply timeout of 10..10000 ms for the requests sent from now on, not stored as the
    // Timeout property: for a host probing a bus for silent addresses. The next SetTimeout or
    // OpenConnection replaces it. False (last error 41) out of range.
    bool SetReplyTimeout(int milliseconds);
    short ProtocolMode() const { return props_.protocolMode; }
    void SetProtocolMode(short value);
    short DataBits() const { return props_.dataBits; }
    void SetDataBits(short value);
    // part is 1..4.
    short IPAddr(int part) const;
    void SetIPAddr(int part, short value);
    short Connection() const { return props_.connection; }
    void SetConnection(short value);
    int32_t TCPIPPort() const { return tcpIpPort_; }
    void SetTCPIPPort(int32_t value);
    short RTSControl() const;
    void SetRTSControl(short value);

    // Request methods; each address must be 0..65535.
    bool ReadHoldingRegisters(short handle, short slave, int32_t address, short quantity,
                              int32_t updateRate);
    bool ReadInputRegisters(short handle, short slave, int32_t address, short quantity,
                            int32_t updateRate);
    bool ReadCoilStatus(short handle, short slave, int32_t address, short quantity,
                        int32_t updateRate);
    bool ReadInputStatus(short handle, short slave, int32_t address, short quantity,
                         int32_t updateRate);
    bool PresetSingleRegister(short handle, short slave, int32_t address, int32_t updateRate);
    bool ForceSingleCoil(short handle, short slave, int32_t address, int32_t updateRate);
    bool ForceMultipleCoils(short handle, short slave, int32_t address, short quantity,
                            int32_t updateRate);
    bool PresetMultipleRegisters(short handle, short slave, int32_t address, short quantity,
                                 int32_t updateRate);
    bool ReadWriteMultipleRegisters(short handle, short slave, int32_t readAddress,
                                    short readQuantity, int32_t writeAddress, short writeQuantity,
                                    int32_t updateRate);
    bool UpdateEnable(short handle);
    bool UpdateDisable(short handle);
    bool UpdateOnce(short handle);

    bool OpenConnection();
    void CloseConnection();
    bool IsConnected() const { return connected_; }
    short GetLastError() const { return lastError_; }
    bool IsBusy(short handle) const;
    short GetResult(short handle) const;

    // Accessors: reads give the handle's data area and set the last error to its result code;
    // writes fill its write buffer and set the last error to 1.
    short Register(short handle, short index);
    void SetRegister(short handle, short index, short value);
    short Coil(short handle, short index);
    void SetCoil(short handle, short index, short value);
    int32_t Long(short handle, short index);
    void SetLong(short handle, short index, int32_t value);
    float Float(short handle, short index);
    void SetFloat(short handle, short index, float value);
    double Double(short handle, short index);
    void SetDouble(short handle, short index, double value);
    int32_t LongSwap(short handle, short index);
    void SetLongSwap(short handle, short index, int32_t value);
    float FloatSwap(short handle, short index);
    void SetFloatSwap(short handle, short index, float value);
    double DoubleSwap(short handle, short index);
    void SetDoubleSwap(short handle, short index, double value);

    // The one-line status the control draws.
    std::string StatusText() const;
    // Called when the host leaves run mode: every request is dropped and the connection closed.
    void EnterDesignMode();

    // The persisted properties as text. Saving leaves IsModified alone: call MarkSaved once the
    // text is stored.
    std::string SaveProperties() const;
    void MarkSaved() { modified_ = false; }
    // Takes the values as they are and clears IsModified; false with a message and nothing
    // changed on malformed text.
    bool LoadProperties(const std::string& text, std::string& error);
    // True when a property was written since the control was created, loaded or marked saved.
    bool IsModified() const { return modified_; }

    void SetEventHandlers(EventHandlers handlers);
    // Readable while completion notices wait.
    int EventDescriptor() const { return notices_.Descriptor(); }
    // Fires the waiting notices' events on the calling thread; returns how many were fired.
    int DispatchEvents();

private:
    void StoreChecked(short& field, short value, short low, short high, uint16_t refusal);
    bool DefineRequest(short handle, short slave, uint8_t function, int32_t readAddress,
                       short readQuantity, int32_t writeAddress, short writeQuantity,
                       int32_t updateRate);
    bool OpenSerial();
    void ApplyReplyTimeout(int milliseconds);
    bool OpenTcp();
    std::string TcpAddressText() const;
    bool SetUpdateMode(short handle, short lowestHandle, UpdateMode mode);
    uint64_t ReadElement(short handle, short index, const ElementView& view);
    void WriteElement(short handle, short index, const ElementView& view, uint64_t value);
    bool CheckElement(short handle, short index, const ElementView& view);
    void FireEvent(const Notice& notice);

    PersistedProperties props_;
    int32_t tcpIpPort_;
    bool connected_ = false;
    bool modified_ = false;
    short lastError_ = 0;
    NoticeQueue notices_;
    EventHandlers handlers_;
    std::unique_ptr<RequestEngine> engine_;
};

} // namespace tolvex
