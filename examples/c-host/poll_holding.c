/* A small C host of libtolvex.so: polls holding registers of a Modbus/TCP server and prints one
 * line per reading, until it has printed the readings asked for.
 *
 *   tolvex-c-host ADDRESS PORT FIRST COUNT READINGS
 *
 * ADDRESS is the server's IPv4 address, PORT its TCP port, FIRST the first register, COUNT how
 * many registers (1..125) and READINGS how many lines to print. A reading prints as
 * "reading 1: 4096 4097" (unsigned register values in order) or, when the server or the line
 * failed, as "reading 2: error 10: no reply within the timeout". Exits 0 when every reading was
 * printed, 1 when the connection failed, 2 on a usage error. */
#include <arpa/inet.h>
#include <errno.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <tolvex/tolvex.h>

enum {
    POLLED_HANDLE = 1,
    SLAVE_ID = 1,
    UPDATE_RATE_MS = 100,
    MAX_REGISTERS = 125,
};

struct poller {
    tolvex_control* control;
    short count;
    long readings_left;
    long readings_done;
};

/* Events fire only inside tolvex_dispatch_events, on this thread: no locking is needed. */
static void print_registers(void* context, short handle) {
    struct poller* poller = context;
    if (poller->readings_left == 0) {
        return;
    }
    printf("reading %ld:", ++poller->readings_done);
    for (short i = 0; i < poller->count; ++i) {
        printf(" %u", (unsigned short)tolvex_get_register(poller->control, handle, i));
    }
    printf("\n");
    --poller->readings_left;
}

static void print_failure(void* context, short handle, short error) {
    struct poller* poller = context;
    (void)handle;
    if (poller->readings_left == 0) {
        return;
    }
    printf("reading %ld: error %d: %s\n", ++poller->readings_done, error, tolvex_error_text(error));
    --poller->readings_left;
}

static int parse_number(const char* text, long low, long high, long* value) {
    char* end = NULL;
    errno = 0;
    *value = strtol(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && *value >= low && *value <= high;
}

static int connect_to(tolvex_control* control, const char* address_text, long port) {
    struct in_addr address;
    const unsigned char* part = (const unsigned char*)&address.s_addr;
    if (inet_pton(AF_INET, address_text, &address) != 1) {
        fprintf(stderr, "tolvex-c-host: not an IPv4 address: %s\n", address_text);
        return 0;
    }
    tolvex_set_connection(control, TOLVEX_CONNECTION_TCP_IP);
    /* The address is in network order: its first byte is the first part. */
    tolvex_set_ip_addr1(control, part[0]);
    tolvex_set_ip_addr2(control, part[1]);
    tolvex_set_ip_addr3(control, part[2]);
    tolvex_set_ip_addr4(control, part[3]);
    tolvex_set_tcpip_port(control, (int32_t)port);
    if (!tolvex_open_connection(control)) {
        const short code = tolvex_get_last_error(control);
        fprintf(stderr, "tolvex-c-host: error %d: %s\n", code, tolvex_error_text(code));
        return 0;
    }
    return 1;
}

/* Waits on the control's event descriptor and dispatches until every reading was printed. Each
 * transaction ends within the control's timeout, so a longer silence means the host is stuck. */
static int print_readings(struct poller* poller) {
    struct pollfd watch = {tolvex_event_fd(poller->control), POLLIN, 0};
    const int quiet_limit_ms = 3 * tolvex_get_timeout(poller->control) + UPDATE_RATE_MS;
    while (poller->readings_left > 0) {
        const int ready = poll(&watch, 1, quiet_limit_ms);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            fprintf(stderr, "tolvex-c-host: no reading within %d ms\n", quiet_limit_ms);
            return 0;
        }
        tolvex_dispatch_events(poller->control);
    }
    return 1;
}

static int poll_registers(tolvex_control* control, long first, struct poller* poller) {
    char status[64];
    tolvex_status_text(control, status, sizeof status);
    printf("%s\n", status);
    if (!tolvex_read_holding_registers(control, POLLED_HANDLE, SLAVE_ID, (int32_t)first,
                                       poller->count, UPDATE_RATE_MS) ||
        !tolvex_update_enable(control, POLLED_HANDLE)) {
        fprintf(stderr, "tolvex-c-host: the request was refused\n");
        return 2;
    }
    const int printed = print_readings(poller);
    tolvex_update_disable(control, POLLED_HANDLE);
    return printed ? 0 : 1;
}

int main(int argc, char** argv) {
    long port, first, count, readings;
    if (argc != 6 || !parse_number(argv[2], 1, 65535, &port) ||
        !parse_number(argv[3], 0, 65535, &first) ||
        !parse_number(argv[4], 1, MAX_REGISTERS, &count) ||
        !parse_number(argv[5], 1, 1000000, &readings)) {
        fprintf(stderr, "usage: tolvex-c-host ADDRESS PORT FIRST COUNT(1..125) READINGS\n");
        return 2;
    }
    tolvex_control* control = tolvex_create();
    if (control == NULL) {
        fprintf(stderr, "tolvex-c-host: cannot create the Modbus master\n");
        return 1;
    }
    struct poller poller = {control, (short)count, readings, 0};
    /* The result_error callback could be NULL: failed readings would then go unseen. */
    tolvex_set_callbacks(control, print_registers, print_failure, &poller);
    int status = 1;
    if (connect_to(control, argv[1], port)) {
        status = poll_registers(control, first, &poller);
        tolvex_close_connection(control);
    }
    tolvex_destroy(control);
    return status;
}
