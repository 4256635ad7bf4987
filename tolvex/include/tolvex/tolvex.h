#ifndef TOLVEX_TOLVEX_H
#define TOLVEX_TOLVEX_H

/* The C interface of the tolvex Modbus master control: one function per property and method of
 * the control. This header and tolvex_constants.h (included here) are all a host needs; link with
 * libtolvex.so (pkg-config module "tolvex", CMake package "tolvex").
 *
 * A control owns one connection, a serial port in Modbus RTU or ASCII or a Modbus/TCP socket,
 * and 100 request slots, the handles 0..99. A host sets the connection's properties, calls
 * tolvex_open_connection, defines requests with the request methods, starts them with
 * tolvex_update_enable or tolvex_update_once, and reads the values they brought back with the
 * register accessors when their completion event fires. A worker thread of the control serves
 * one request at a time while the connection is open.
 *
 * Threads: all calls on one control come from one thread, the host's. Completion events are
 * fired on that thread by tolvex_dispatch_events. Separate controls may live on separate threads.
 * tolvex_error_text and tolvex_bind_port may be called from any thread.
 *
 * Values: properties, handles, slave addresses, quantities and indexes are 16-bit (short);
 * addresses and update rates are int32_t. Functions returning int as a truth value return
 * non-zero for true. Failures are reported by return values and by codes (enum tolvex_result),
 * never by ending the process. */

#include "tolvex/tolvex_constants.h"

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

/* Lifetime. A new control has the defaults given with each property below and is not modified.
 * tolvex_create returns NULL when the control cannot be created. tolvex_destroy closes the
 * connection, stops the worker and releases the control; it must not be called from one of the
 * control's own callbacks. */
TOLVEX_API tolvex_control* tolvex_create(void);
TOLVEX_API void tolvex_destroy(tolvex_control* control);

/* Events. Each completed transaction leaves a notice for the host: result_ok(context, handle)
 * when its result is 0, else result_error(context, handle, error) with the result code.
 *
 * tolvex_set_callbacks replaces both callbacks and the context handed back to them. Either
 * callback may be NULL: its events are then taken and dropped. Until callbacks are set, both are
 * NULL. A callback may call any function of this interface except tolvex_destroy.
 *
 * tolvex_event_fd is a descriptor to watch with poll, select or an event loop: it is readable
 * while notices wait and stops being readable once tolvex_dispatch_events has taken them all.
 * It is the same descriptor for the control's whole life and is closed by tolvex_destroy; do not
 * read, write or close it. Up to 1024 notices wait; when the host falls that far behind, the
 * worker tries again for about half a second and then drops the notice (the handle's result
 * stays readable with tolvex_get_result).
 *
 * tolvex_dispatch_events fires the events of the notices waiting at the call, in the order the
 * transactions completed, and returns how many notices it took. */
TOLVEX_API void tolvex_set_callbacks(tolvex_control* control, tolvex_result_ok_fn result_ok,
                                     tolvex_result_error_fn result_error, void* context);
TOLVEX_API int tolvex_event_fd(const tolvex_control* control);
TOLVEX_API int tolvex_dispatch_events(tolvex_control* control);

/* Properties. A set function checks the value: one in range is stored and the last error becomes
 * 0; one out of range is not stored and the last error becomes the code given. Every set, stored
 * or not, marks the control modified (tolvex_is_modified). Changes take effect at the next
 * tolvex_open_connection. An accepted range named tolvex_... is the values of that enum.
 *
 *   property       default                  accepted            refused with
 *   stop_bits      TOLVEX_STOP_BITS_ONE     tolvex_stop_bits    TOLVEX_STOP_BITS_OUT_OF_RANGE
 *   baud_rate      TOLVEX_B9600             tolvex_baud         TOLVEX_BAUD_RATE_OUT_OF_RANGE
 *   parity         TOLVEX_PARITY_NONE       tolvex_parity       TOLVEX_PARITY_OUT_OF_RANGE
 *   timeout        1000 (ms)                300..10000          TOLVEX_TIMEOUT_OUT_OF_RANGE
 *   protocol_mode  TOLVEX_MODE_RTU          tolvex_mode         TOLVEX_PROTOCOL_MODE_OUT_OF_RANGE
 *   data_bits      TOLVEX_BITS_EIGHT        tolvex_bits         TOLVEX_DATA_BITS_OUT_OF_RANGE
 *   ip_addr1..4    0                        0..255              TOLVEX_IP_ADDR_OUT_OF_RANGE
 *   connection     TOLVEX_CONNECTION_PORT1  tolvex_connection   TOLVEX_CONNECTION_OUT_OF_RANGE
 *   tcpip_port     502                      any below 65535     ignored, last error kept
 *   rts_control    TOLVEX_RTS_DISABLE       tolvex_rts_control  ignored, last error kept
 *
 * timeout is how long a reply may take, on a serial line and over TCP; set on an open serial
 * line, it applies from the next request on. ip_addr1..4 are the four
 * parts of the server's IPv4 address, ip_addr1 first. tcpip_port takes negative values too; its
 * low 16 bits are the server's port. */
TOLVEX_API short tolvex_get_stop_bits(const tolvex_control* control);
TOLVEX_API void tolvex_set_stop_bits(tolvex_control* control, short value);
TOLVEX_API short tolvex_get_baud_rate(const tolvex_control* control);
TOLVEX_API void tolvex_set_baud_rate(tolvex_control* control, short value);
TOLVEX_API short tolvex_get_parity(const tolvex_control* control);
TOLVEX_API void tolvex_set_parity(tolvex_control* control, short value);
TOLVEX_API short tolvex_get_timeout(const tolvex_control* control);
TOLVEX_API void tolvex_set_timeout(tolvex_control* control, short value);
/* A reply timeout of 10..10000 ms for the serial requests sent from now on, below the timeout
 * property's range and not stored in it: for a host probing a bus for silent addresses. The next
 * tolvex_set_timeout or tolvex_open_connection replaces it. Returns non-zero when accepted;
 * otherwise nothing changes and the last error is TOLVEX_TIMEOUT_OUT_OF_RANGE. */
TOLVEX_API int tolvex_set_reply_timeout(tolvex_control* control, int32_t milliseconds);
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

/* Request methods define the request of one handle and return non-zero when it was accepted;
 * they do not send it: tolvex_update_enable sends it every update_rate ms (cyclic) and
 * tolvex_update_once sends it once. A definition is refused (0, nothing changed, last error kept)
 * when an address is outside 0..65535, the handle outside 0..99, the slave above 255, the update
 * rate outside 50..600000 ms on handles 1..99, or the quantity outside the function's limits:
 * coil and input reads 1..1968, register reads 1..125, coil writes 1..1968, register writes
 * 1..123, read/write 0..125 read and 1..121 written. Reads need a slave 1..255; a write to slave
 * 0 is a broadcast. Defining resets the handle's result to TOLVEX_PENDING and its mode to
 * TOLVEX_UPDATE_DISABLED; requests may be defined while closed and run once connected.
 *
 * Handle 0 is the immediate handle: any update rate, served before every other handle, and
 * undefined again after its transaction, so each use is a definition and tolvex_update_once.
 * tolvex_update_enable and tolvex_update_disable refuse it.
 *
 * The values to write (single register and single coil included) are set beforehand with the
 * accessors: element 0, 1, ... of the handle's write buffer. */
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
/* Set a defined handle's mode (enum tolvex_update_mode) and return non-zero; 0 for an undefined
 * handle, for a handle outside 0..99, and for handle 0 in tolvex_update_enable and
 * tolvex_update_disable. */
TOLVEX_API int tolvex_update_enable(tolvex_control* control, short handle);
TOLVEX_API int tolvex_update_disable(tolvex_control* control, short handle);
TOLVEX_API int tolvex_update_once(tolvex_control* control, short handle);

/* Connection. tolvex_open_connection opens the serial port of connection (see tolvex_bind_port)
 * or, for TOLVEX_CONNECTION_TCP_IP, connects to ip_addr1..4 and tcpip_port, and starts the
 * worker. It returns 0 and sets the last error on failure: TOLVEX_ALREADY_CONNECTED,
 * TOLVEX_PORT_OPEN_FAILED, TOLVEX_CONNECT_FAILED or TOLVEX_ADDRESS_INVALID. When a serial port
 * opened but could not be configured it stays held: call tolvex_close_connection before trying
 * again. tolvex_close_connection stops the worker and closes the port or socket; requests,
 * results and values stay. */
TOLVEX_API int tolvex_open_connection(tolvex_control* control);
TOLVEX_API void tolvex_close_connection(tolvex_control* control);
TOLVEX_API int tolvex_is_connected(const tolvex_control* control);
/* The control-wide last error (enum tolvex_result): set by property writes,
 * tolvex_open_connection and the accessors only (tcpip_port and rts_control leave it). */
TOLVEX_API short tolvex_get_last_error(const tolvex_control* control);
/* A handle's result: TOLVEX_PENDING from its definition until its next transaction completes,
 * then that transaction's code; TOLVEX_HANDLE_OUT_OF_RANGE outside 0..99. */
TOLVEX_API short tolvex_get_result(const tolvex_control* control, short handle);
/* Non-zero from tolvex_update_enable or tolvex_update_once until the handle's next transaction
 * has completed, and while a transaction of the handle is on the wire. */
TOLVEX_API int tolvex_is_busy(const tolvex_control* control, short handle);

/* Register accessors view a handle's 2000 bytes as elements of one width: register 0..124
 * (16 bits), coil 0..1967 (one byte each, non-zero is ON), long and float 0..61 (registers 2i and
 * 2i + 1), double 0..30 (registers 4i..4i + 3). Without _swap the lowest register holds the least
 * significant word; with _swap the words are in the opposite order (register 2i, or 4i, holds the
 * most significant word).
 *
 * A get reads the values of the handle's last successful transaction and sets the last error to
 * the handle's result, so a 0 last error means the value is fresh. A set writes the handle's
 * write buffer, sent from the next time the request is served, and sets the last error to
 * TOLVEX_VALUE_STORED; it does not change what a get returns. A handle outside 0..99 gives
 * TOLVEX_HANDLE_OUT_OF_RANGE, an index outside the range TOLVEX_INDEX_OUT_OF_RANGE; then a get
 * returns 0 and a set stores nothing. */
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

/* Text functions copy at most size - 1 bytes and a terminating zero into buffer and return the
 * full length of the text; pass NULL and 0 to learn the length. */

/* The one-line status: "Port 1, 9600 baud, Closed" for a serial connection, "TCP/IP Connection
 * = Open" for TCP. A loaded baud_rate outside the rate table shows as "Port 1, baud rate 99 (not
 * valid), Closed". */
TOLVEX_API size_t tolvex_status_text(const tolvex_control* control, char* buffer, size_t size);

/* Persistence. The text is one "Name=value" line per property, in this order, values in decimal:
 *
 *   Connection=1
 *   BaudRate=5
 *   DataBits=1
 *   Parity=0
 *   StopBits=0
 *   Timeout=1000
 *   ProtocolMode=0
 *   IPAddr1=0
 *   IPAddr2=0
 *   IPAddr3=0
 *   IPAddr4=0
 *
 * tcpip_port and rts_control are not kept; every control starts with 502 and TOLVEX_RTS_DISABLE.
 *
 * tolvex_save_properties writes the text; when the whole text fitted it also clears the modified
 * flag. tolvex_load_properties reads such a text: names are matched exactly, blanks around names
 * and values and blank lines are skipped, a name missing from the text takes its default (not its
 * current value), an unknown name is ignored. A line without "=", or a known name whose value is
 * not a 16-bit integer, makes it return 0 and change nothing; otherwise it returns non-zero and
 * clears the modified flag.
 *
 * Loaded values are taken as they are, without the range checks of the set functions, and the
 * get functions return them so. Outside their ranges: a baud_rate or parity makes a serial
 * tolvex_open_connection fail with TOLVEX_PORT_OPEN_FAILED (and the status text names the baud
 * rate as not valid); a connection above 32 or below 0 has no device and fails the same way; an
 * ip_addr part makes a TCP open fail with TOLVEX_ADDRESS_INVALID; a data_bits or stop_bits other
 * than 0 means 8 data bits or two stop bits; a protocol_mode other than TOLVEX_MODE_ASCII means
 * RTU; a timeout is used as it is. */
TOLVEX_API size_t tolvex_save_properties(tolvex_control* control, char* buffer, size_t size);
TOLVEX_API int tolvex_load_properties(tolvex_control* control, const char* text);
/* Non-zero when a property was set since the control was created, loaded or saved. */
TOLVEX_API int tolvex_is_modified(const tolvex_control* control);

/* Leaves run mode: when connected, drops every request and closes the connection. */
TOLVEX_API void tolvex_enter_design_mode(tolvex_control* control);

/* The meaning of a result or last-error code as a short English text, for example
 * tolvex_error_text(TOLVEX_NO_REPLY) is "no reply within the timeout". Codes 1..255 without a
 * meaning of their own read "device exception"; any other unknown code reads "unknown code". The
 * text is static: never free it. */
TOLVEX_API const char* tolvex_error_text(short code);

/* The port table maps the serial port numbers 1..32 of the connection property to device paths.
 * It is process-wide: one binding serves every control in the process, and a control looks its
 * port up when it opens, so a binding takes effect at the next tolvex_open_connection. By default
 * port n is /dev/ttyS<n-1> (port 1 is /dev/ttyS0). tolvex_bind_port binds a port to a device path;
 * NULL or "" restores the default. It returns 0 for a port outside 1..32. */
TOLVEX_API int tolvex_bind_port(int port, const char* device_path);

#ifdef __cplusplus
}
#endif

#endif
