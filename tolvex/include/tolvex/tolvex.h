#ifndef TOLVEX_TOLVEX_H
#define TOLVEX_TOLVEX_H

/* The C interface of the tolvex Modbus master control: one function per property and method of
 * the control. Booleans are int (non-zero true). All calls on one control come from one thread,
 * the host's; completion events are fired on that thread by tolvex_dispatch_events whenever
 * tolvex_event_fd is readable. */

#include <stddef.h>
#include <stdint.h>

#if defined(TOLVEX_BUILDING_LIBRARY)
#define TOLVEX_API __attribute__((visibility("default")))
#else
#define TOLVEX_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct tolvex_control tolvex_control;

typedef void (*tolvex_result_ok_fn)(void* context, short handle);
typedef void (*tolvex_result_error_fn)(void* context, short handle, short error);

/* Lifetime; NULL when the control cannot be created. Destroying closes the connection. */
TOLVEX_API tolvex_control* tolvex_create(void);
TOLVEX_API void tolvex_destroy(tolvex_control* control);

/* Events. */
TOLVEX_API void tolvex_set_callbacks(tolvex_control* control, tolvex_result_ok_fn result_ok,
                                     tolvex_result_error_fn result_error, void* context);
TOLVEX_API int tolvex_event_fd(const tolvex_control* control);
/* Fires the waiting completion events; returns how many. */
TOLVEX_API int tolvex_dispatch_events(tolvex_control* control);

/* Properties. */
TOLVEX_API short tolvex_get_stop_bits(const tolvex_control* control);
TOLVEX_API void tolvex_set_stop_bits(tolvex_control* control, short value);
TOLVEX_API short tolvex_get_baud_rate(const tolvex_control* control);
TOLVEX_API void tolvex_set_baud_rate(tolvex_control* control, short value);
TOLVEX_API short tolvex_get_parity(const tolvex_control* control);
TOLVEX_API void tolvex_set_parity(tolvex_control* control, short value);
TOLVEX_API short tolvex_get_timeout(const tolvex_control* control);
TOLVEX_API void tolvex_set_timeout(tolvex_control* control, short value);
TOLVEX_API short tolvex_get_protocol_mode(const tolvex_control* control);
TOLVEX_API void tolvex_set_protocol_mode(tolvex_control* control, short value);
TOLVEX_API short tolvex_get_data_bits(const tolvex_control* control);
TOLVEX_API void tolvex_set_data_bits(tolvex_control* control, short value);
TOLVEX_API short tolvex_get_ip_addr1(const tolvex_control* control);
TOLVEX_API void tolvex_set_ip_addr1(tolvex_control* control, short value);
TOLVEX_API short tolvex_get_ip_addr2(const tolvex_control* control);
TOLVEX_API void tolvex_set_ip_addr2(tolvex_control* control, short value);
TOLVEX_API short tolvex_get_ip_addr3(const tolvex_control* control);
TOLVEX_API void tolvex_set_ip_addr3(tolvex_control* control, short value);
TOLVEX_API short tolvex_get_ip_addr4(const tolvex_control* control);
TOLVEX_API void tolvex_set_ip_addr4(tolvex_control* control, short value);
TOLVEX_API short tolvex_get_connection(const tolvex_control* control);
TOLVEX_API void tolvex_set_connection(tolvex_control* control, short value);
TOLVEX_API int32_t tolvex_get_tcpip_port(const tolvex_control* control);
TOLVEX_API void tolvex_set_tcpip_port(tolvex_control* control, int32_t value);
TOLVEX_API short tolvex_get_rts_control(const tolvex_control* control);
TOLVEX_API void tolvex_set_rts_control(tolvex_control* control, short value);

/* Request methods. */
TOLVEX_API int tolvex_read_holding_registers(tolvex_control* control, short handle, short slave_id,
                                             int32_t address, short quantity, int32_t update_rate);
TOLVEX_API int tolvex_read_input_registers(tolvex_control* control, short handle, short slave_id,
                                           int32_t address, short quantity, int32_t update_rate);
TOLVEX_API int tolvex_read_coil_status(tolvex_control* control, short handle, short slave_id,
                                       int32_t address, short quantity, int32_t update_rate);
TOLVEX_API int tolvex_read_input_status(tolvex_control* control, short handle, short slave_id,
                                        int32_t address, short quantity, int32_t update_rate);
TOLVEX_API int tolvex_preset_single_register(tolvex_control* control, short handle, short slave_id,
                                             int32_t address, int32_t update_rate);
TOLVEX_API int tolvex_force_single_coil(tolvex_control* control, short handle, short slave_id,
                                        int32_t address, int32_t update_rate);
TOLVEX_API int tolvex_force_multiple_coils(tolvex_control* control, short handle, short slave_id,
                                           int32_t address, short quantity, int32_t update_rate);
TOLVEX_API int tolvex_preset_multiple_registers(tolvex_control* control, short handle,
                                                short slave_id, int32_t address, short quantity,
                                                int32_t update_rate);
TOLVEX_API int tolvex_read_write_multiple_registers(tolvex_control* control, short handle,
                                                    short slave_id, int32_t read_address,
                                                    short read_quantity, int32_t write_address,
                                                    short write_quantity, int32_t update_rate);
TOLVEX_API int tolvex_update_enable(tolvex_control* control, short handle);
TOLVEX_API int tolvex_update_disable(tolvex_control* control, short handle);
TOLVEX_API int tolvex_update_once(tolvex_control* control, short handle);
TOLVEX_API int tolvex_open_connection(tolvex_control* control);
TOLVEX_API void tolvex_close_connection(tolvex_control* control);
TOLVEX_API short tolvex_get_last_error(const tolvex_control* control);
TOLVEX_API int tolvex_is_busy(const tolvex_control* control, short handle);
TOLVEX_API short tolvex_get_result(const tolvex_control* control, short handle);
TOLVEX_API int tolvex_is_connected(const tolvex_control* control);

/* Register accessors. */
TOLVEX_API short tolvex_get_register(tolvex_control* control, short handle, short index);
TOLVEX_API void tolvex_set_register(tolvex_control* control, short handle, short index,
                                    short value);
TOLVEX_API short tolvex_get_coil(tolvex_control* control, short handle, short index);
TOLVEX_API void tolvex_set_coil(tolvex_control* control, short handle, short index, short value);
TOLVEX_API int32_t tolvex_get_long(tolvex_control* control, short handle, short index);
TOLVEX_API void tolvex_set_long(tolvex_control* control, short handle, short index, int32_t value);
TOLVEX_API float tolvex_get_float(tolvex_control* control, short handle, short index);
TOLVEX_API void tolvex_set_float(tolvex_control* control, short handle, short index, float value);
TOLVEX_API double tolvex_get_double(tolvex_control* control, short handle, short index);
TOLVEX_API void tolvex_set_double(tolvex_control* control, short handle, short index, double value);
TOLVEX_API int32_t tolvex_get_long_swap(tolvex_control* control, short handle, short index);
TOLVEX_API void tolvex_set_long_swap(tolvex_control* control, short handle, short index,
                                     int32_t value);
TOLVEX_API float tolvex_get_float_swap(tolvex_control* control, short handle, short index);
TOLVEX_API void tolvex_set_float_swap(tolvex_control* control, short handle, short index,
                                      float value);
TOLVEX_API double tolvex_get_double_swap(tolvex_control* control, short handle, short index);
TOLVEX_API void tolvex_set_double_swap(tolvex_control* control, short handle, short index,
                                       double value);

/* Status line, persistence and helpers. Text functions copy at most size - 1 bytes plus a
 * terminating zero and return the full length of the text. */
TOLVEX_API size_t tolvex_status_text(const tolvex_control* control, char* buffer, size_t size);
TOLVEX_API size_t tolvex_save_properties(const tolvex_control* control, char* buffer, size_t size);
/* Non-zero when loaded; on malformed text nothing changes. */
TOLVEX_API int tolvex_load_properties(tolvex_control* control, const char* text);
/* Leaves run mode: drops every request and closes the connection. */
TOLVEX_API void tolvex_enter_design_mode(tolvex_control* control);
/* A short English meaning of a result or last-error code. */
TOLVEX_API const char* tolvex_error_text(short code);
/* Binds a port number 1..32 to a device path (NULL or "" restores the default). */
TOLVEX_API int tolvex_bind_port(int port, const char* device_path);

#ifdef __cplusplus
}
#endif

#endif
