#include "CTolvexCtrl.h"
#include "ResultMeaning.h"
#include "tolvex/PortTable.h"
#include "tolvex/tolvex.h"

#include <cstring>
#include <new>
#include <string>

struct tolvex_control {
    tolvex::CTolvexCtrl control;
};

namespace {

size_t CopyText(const std::string& text, char* buffer, size_t size) {
    if (buffer != nullptr && size > 0) {
        const size_t copied = std::min(text.size(), size - 1);
        std::memcpy(buffer, text.data(), copied);
        buffer[copied] = '\0';
    }
    return text.size();
}

} // namespace

// No exception may cross into a C caller: each entry point below either cannot throw or catches.
extern "C" {

tolvex_control* tolvex_create(void) {
    try {
        return new tolvex_control{};
    } catch (...) {
        return nullptr;
    }
}

void tolvex_destroy(tolvex_control* c) {
    delete c;
}

void tolvex_set_callbacks(tolvex_control* c, tolvex_result_ok_fn resultOk,
                          tolvex_result_error_fn resultError, void* context) {
    tolvex::CTolvexCtrl::EventHandlers handlers;
    if (resultOk != nullptr) {
        handlers.resultOk = [resultOk, context](short handle) { resultOk(context, handle); };
    }
    if (resultError != nullptr) {
        handlers.resultError = [resultError, context](short handle, short error) {
            resultError(context, handle, error);
        };
    }
    c->control.SetEventHandlers(std::move(handlers));
}

int tolvex_event_fd(const tolvex_control* c) {
    return c->control.EventDescriptor();
}

int tolvex_dispatch_events(tolvex_control* c) {
    return c->control.DispatchEvents();
}

#define TOLVEX_PROPERTY(name, type, getter, setter)                                                \
    type tolvex_get_##name(const tolvex_control* c) {                                              \
        return c->control.getter();                                                                \
    }                                                                                              \
    void tolvex_set_##name(tolvex_control* c, type value) {                                        \
        c->control.setter(value);                                                                  \
    }

TOLVEX_PROPERTY(stop_bits, short, StopBits, SetStopBits)
TOLVEX_PROPERTY(baud_rate, short, BaudRate, SetBaudRate)
TOLVEX_PROPERTY(parity, short, Parity, SetParity)
TOLVEX_PROPERTY(timeout, short, Timeout, SetTimeout)
TOLVEX_PROPERTY(protocol_mode, short, ProtocolMode, SetProtocolMode)
TOLVEX_PROPERTY(data_bits, short, DataBits, SetDataBits)
TOLVEX_PROPERTY(connection, short, Connection, SetConnection)
TOLVEX_PROPERTY(tcpip_port, int32_t, TCPIPPort, SetTCPIPPort)
TOLVEX_PROPERTY(rts_control, short, RTSControl, SetRTSControl)
#undef TOLVEX_PROPERTY

int tolvex_set_reply_timeout(tolvex_control* c, int32_t milliseconds) {
    return c->control.SetReplyTimeout(milliseconds) ? 1 : 0;
}

#define TOLVEX_IP_ADDR(part)                                                                       \
    short tolvex_get_ip_addr##part(const tolvex_control* c) {                                      \
        return c->control.IPAddr(part);                                                            \
    }                                                                                              \
    void tolvex_set_ip_addr##part(tolvex_control* c, short value) {                                \
        c->control.SetIPAddr(part, value);                                                         \
    }

TOLVEX_IP_ADDR(1)
TOLVEX_IP_ADDR(2)
TOLVEX_IP_ADDR(3)
TOLVEX_IP_ADDR(4)
#undef TOLVEX_IP_ADDR

int tolvex_read_holding_registers(tolvex_control* c, short handle, short slave, int32_t address,
                                  short quantity, int32_t rate) {
    return c->control.ReadHoldingRegisters(handle, slave, address, quantity, rate);
}

int tolvex_read_input_registers(tolvex_control* c, short handle, short slave, int32_t address,
                                short quantity, int32_t rate) {
    return c->control.ReadInputRegisters(handle, slave, address, quantity, rate);
}

int tolvex_read_coil_status(tolvex_control* c, short handle, short slave, int32_t address,
                            short quantity, int32_t rate) {
    return c->control.ReadCoilStatus(handle, slave, address, quantity, rate);
}

int tolvex_read_input_status(tolvex_control* c, short handle, short slave, int32_t address,
                             short quantity, int32_t rate) {
    return c->control.ReadInputStatus(handle, slave, address, quantity, rate);
}

int tolvex_preset_single_register(tolvex_control* c, short handle, short slave, int32_t address,
                                  int32_t rate) {
    return c->control.PresetSingleRegister(handle, slave, address, rate);
}

int tolvex_force_single_coil(tolvex_control* c, short handle, short slave, int32_t address,
                             int32_t rate) {
    return c->control.ForceSingleCoil(handle, slave, address, rate);
}

int tolvex_force_multiple_coils(tolvex_control* c, short handle, short slave, int32_t address,
                                short quantity, int32_t rate) {
    return c->control.ForceMultipleCoils(handle, slave, address, quantity, rate);
}

int tolvex_preset_multiple_registers(tolvex_control* c, short handle, short slave, int32_t address,
                                     short quantity, int32_t rate) {
    return c->control.PresetMultipleRegisters(handle, slave, address, quantity, rate);
}

int tolvex_read_write_multiple_registers(tolvex_control* c, short handle, short slave,
                                         int32_t readAddress, short readQuantity,
                                         int32_t writeAddress, short writeQuantity, int32_t rate) {
    return c->control.ReadWriteMultipleRegisters(handle, slave, readAddress, readQuantity,
                                                 writeAddress, writeQuantity, rate);
}

int tolvex_update_enable(tolvex_control* c, short handle) {
    return c->control.UpdateEnable(handle);
}

int tolvex_update_disable(tolvex_control* c, short handle) {
    return c->control.UpdateDisable(handle);
}

int tolvex_update_once(tolvex_control* c, short handle) {
    return c->control.UpdateOnce(handle);
}

int tolvex_open_connection(tolvex_control* c) {
    try {
        return c->control.OpenConnection();
    } catch (...) {
        return 0;
    }
}

void tolvex_close_connection(tolvex_control* c) {
    c->control.CloseConnection();
}

short tolvex_get_last_error(const tolvex_control* c) {
    return c->control.GetLastError();
}

int tolvex_is_busy(const tolvex_control* c, short handle) {
    return c->control.IsBusy(handle);
}

short tolvex_get_result(const tolvex_control* c, short handle) {
    return c->control.GetResult(handle);
}

int tolvex_is_connected(const tolvex_control* c) {
    return c->control.IsConnected();
}

#define TOLVEX_ACCESSOR(name, type, getter, setter)                                                \
    type tolvex_get_##name(tolvex_control* c, short handle, short index) {                         \
        return c->control.getter(handle, index);                                                   \
    }                                                                                              \
    void tolvex_set_##name(tolvex_control* c, short handle, short index, type value) {             \
        c->control.setter(handle, index, value);                                                   \
    }

TOLVEX_ACCESSOR(register, short, Register, SetRegister)
TOLVEX_ACCESSOR(coil, short, Coil, SetCoil)
TOLVEX_ACCESSOR(long, int32_t, Long, SetLong)
TOLVEX_ACCESSOR(float, float, Float, SetFloat)
TOLVEX_ACCESSOR(double, double, Double, SetDouble)
TOLVEX_ACCESSOR(long_swap, int32_t, LongSwap, SetLongSwap)
TOLVEX_ACCESSOR(float_swap, float, FloatSwap, SetFloatSwap)
TOLVEX_ACCESSOR(double_swap, double, DoubleSwap, SetDoubleSwap)
#undef TOLVEX_ACCESSOR

size_t tolvex_status_text(const tolvex_control* c, char* buffer, size_t size) {
    try {
        return CopyText(c->control.StatusText(), buffer, size);
    } catch (...) {
        return CopyText({}, buffer, size);
    }
}

size_t tolvex_save_properties(tolvex_control* c, char* buffer, size_t size) {
    try {
        const size_t length = CopyText(c->control.SaveProperties(), buffer, size);
        // A text cut short was not saved.
        if (buffer != nullptr && length < size) {
            c->control.MarkSaved();
        }
        return length;
    } catch (...) {
        return CopyText({}, buffer, size);
    }
}

int tolvex_load_properties(tolvex_control* c, const char* text) {
    try {
        std::string error;
        return text != nullptr && c->control.LoadProperties(text, error);
    } catch (...) {
        return 0;
    }
}

int tolvex_is_modified(const tolvex_control* c) {
    return c->control.IsModified();
}

void tolvex_enter_design_mode(tolvex_control* c) {
    c->control.EnterDesignMode();
}

const char* tolvex_error_text(short code) {
    return tolvex::ResultMeaning(static_cast<uint16_t>(code));
}

int tolvex_bind_port(int port, const char* devicePath) {
    try {
        return tolvex::SetPortDevice(port, devicePath != nullptr ? devicePath : "");
    } catch (...) {
        return 0;
    }
}

} // extern "C"
