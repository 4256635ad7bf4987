#ifndef TOLVEX_TOLVEX_CONSTANTS_H
#define TOLVEX_TOLVEX_CONSTANTS_H

/* The values of the control's enumerated properties and the codes it reports, in plain C. The
 * C++ enumerations of the library take their values from these. */

/* BaudRate: an index into the table of rates, not a rate. */
enum tolvex_baud {
    TOLVEX_B300 = 0,
    TOLVEX_B600 = 1,
    TOLVEX_B1200 = 2,
    TOLVEX_B2400 = 3,
    TOLVEX_B4800 = 4,
    TOLVEX_B9600 = 5,  /* the default */
    TOLVEX_B14000 = 6, /* selects 14400 bit/s, whatever the name says */
    TOLVEX_B19200 = 7,
    TOLVEX_B38400 = 8,
    TOLVEX_B56000 = 9,
    TOLVEX_B57600 = 10,
    TOLVEX_B115200 = 11
};

/* DataBits. */
enum tolvex_bits {
    TOLVEX_BITS_SEVEN = 0,
    TOLVEX_BITS_EIGHT = 1 /* the default */
};

/* Parity. */
enum tolvex_parity { TOLVEX_PARITY_NONE = 0, TOLVEX_PARITY_ODD = 1, TOLVEX_PARITY_EVEN = 2 };

/* StopBits. */
enum tolvex_stop_bits { TOLVEX_STOP_BITS_ONE = 0, TOLVEX_STOP_BITS_TWO = 1 };

/* ProtocolMode of a serial connection; a TCP connection always speaks Modbus/TCP. */
enum tolvex_mode { TOLVEX_MODE_RTU = 0, TOLVEX_MODE_ASCII = 1 };

/* Connection: Modbus/TCP, or the serial port of that number (see tolvex_bind_port). */
enum tolvex_connection {
    TOLVEX_CONNECTION_TCP_IP = 0,
    TOLVEX_CONNECTION_PORT1 = 1, /* the default */
    TOLVEX_CONNECTION_PORT2 = 2,
    TOLVEX_CONNECTION_PORT3 = 3,
    TOLVEX_CONNECTION_PORT4 = 4,
    TOLVEX_CONNECTION_PORT5 = 5,
    TOLVEX_CONNECTION_PORT6 = 6,
    TOLVEX_CONNECTION_PORT7 = 7,
    TOLVEX_CONNECTION_PORT8 = 8,
    TOLVEX_CONNECTION_PORT9 = 9,
    TOLVEX_CONNECTION_PORT10 = 10,
    TOLVEX_CONNECTION_PORT11 = 11,
    TOLVEX_CONNECTION_PORT12 = 12,
    TOLVEX_CONNECTION_PORT13 = 13,
    TOLVEX_CONNECTION_PORT14 = 14,
    TOLVEX_CONNECTION_PORT15 = 15,
    TOLVEX_CONNECTION_PORT16 = 16,
    TOLVEX_CONNECTION_PORT17 = 17,
    TOLVEX_CONNECTION_PORT18 = 18,
    TOLVEX_CONNECTION_PORT19 = 19,
    TOLVEX_CONNECTION_PORT20 = 20,
    TOLVEX_CONNECTION_PORT21 = 21,
    TOLVEX_CONNECTION_PORT22 = 22,
    TOLVEX_CONNECTION_PORT23 = 23,
    TOLVEX_CONNECTION_PORT24 = 24,
    TOLVEX_CONNECTION_PORT25 = 25,
    TOLVEX_CONNECTION_PORT26 = 26,
    TOLVEX_CONNECTION_PORT27 = 27,
    TOLVEX_CONNECTION_PORT28 = 28,
    TOLVEX_CONNECTION_PORT29 = 29,
    TOLVEX_CONNECTION_PORT30 = 30,
    TOLVEX_CONNECTION_PORT31 = 31,
    TOLVEX_CONNECTION_PORT32 = 32
};

/* RTSControl: how the serial line's RTS signal is driven. Toggle raises RTS for each frame sent
 * and drops it once the frame has left the line (two-wire RS-485). */
enum tolvex_rts_control { TOLVEX_RTS_DISABLE = 0, TOLVEX_RTS_ENABLE = 1, TOLVEX_RTS_TOGGLE = 2 };

/* How a request slot is served: set by tolvex_update_disable, tolvex_update_enable and
 * tolvex_update_once. */
enum tolvex_update_mode {
    TOLVEX_UPDATE_DISABLED = 0, /* not sent */
    TOLVEX_UPDATE_CYCLIC = 1,   /* sent again whenever its update rate has passed */
    TOLVEX_UPDATE_ONCE = 2      /* sent once, then disabled */
};

/* Result and last-error codes. A handle's result (tolvex_get_result, the error of a result_error
 * event) is 0, TOLVEX_PENDING, a communication failure 10..16, or the exception code 1..255 the
 * device answered with: the device's codes share this number space. The control's last error
 * (tolvex_get_last_error) is set by property writes, tolvex_open_connection and the register
 * accessors only. tolvex_error_text gives the meaning of any code as text. */
enum tolvex_result {
    TOLVEX_SUCCESS = 0,
    /* Last error after every accepted accessor write: the value was stored, not a failure. As a
     * result code, 1 is the device's exception "illegal function". */
    TOLVEX_VALUE_STORED = 1,
    TOLVEX_NO_REPLY = 10,       /* no reply within the timeout */
    TOLVEX_CHECKSUM_ERROR = 11, /* CRC or LRC error */
    TOLVEX_REPLY_MISMATCH = 12, /* reply does not match the request */
    TOLVEX_WRONG_LENGTH = 13,   /* reply of the wrong length */
    TOLVEX_SEND_FAILED = 14,    /* frame could not be sent */
    TOLVEX_RECEIVE_FAILED = 15, /* receive failed */
    TOLVEX_NOT_OPEN = 16,       /* connection not open */
    /* Handle outside 0..99 (tolvex_get_result, and the accessors' last error). */
    TOLVEX_HANDLE_OUT_OF_RANGE = 20,
    TOLVEX_INDEX_OUT_OF_RANGE = 22, /* accessor index outside the handle's buffer */
    /* Defined, not yet completed (tolvex_get_result, and the read accessors' last error). */
    TOLVEX_PENDING = 23,
    TOLVEX_SOCKET_LIBRARY_FAILED = 30, /* TCP: the socket library could not be started */
    TOLVEX_CONNECT_FAILED = 31,        /* TCP: the connection could not be made */
    TOLVEX_IP_ADDR_OUT_OF_RANGE = 32,  /* an IPAddr value outside 0..255 */
    TOLVEX_ADDRESS_INVALID = 33,       /* TCP: the address text does not convert */
    TOLVEX_TIMEOUT_OUT_OF_RANGE = 40,  /* Timeout outside 300..10000 */
    TOLVEX_CONNECTION_OUT_OF_RANGE = 41,
    TOLVEX_BAUD_RATE_OUT_OF_RANGE = 42,
    TOLVEX_PARITY_OUT_OF_RANGE = 43,
    TOLVEX_STOP_BITS_OUT_OF_RANGE = 44,
    TOLVEX_DATA_BITS_OUT_OF_RANGE = 45,
    TOLVEX_PROTOCOL_MODE_OUT_OF_RANGE = 46,
    TOLVEX_PORT_OPEN_FAILED = 47, /* the serial port could not be opened or configured */
    TOLVEX_ALREADY_CONNECTED = 48 /* tolvex_open_connection while connected */
};

#endif
