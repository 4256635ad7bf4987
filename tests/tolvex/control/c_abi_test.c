/* A C host of libtolvex.so: the public header and the shared library only. It plays a Modbus/TCP
 * server by hand on a loopback socket. Exits 0 when every check holds. */
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdio.h>
#include <string.h>
#include <sys/socket.h>
#include <tolvex/tolvex.h>
#include <unistd.h>

static int failures = 0;

#define CHECK(condition)                                                                           \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);          \
            ++failures;                                                                            \
        }                                                                                          \
    } while (0)

struct events {
    int ok;
    int error;
    short last_handle;
};

static void on_ok(void* context, short handle) {
    struct events* seen = context;
    ++seen->ok;
    seen->last_handle = handle;
}

static void on_error(void* context, short handle, short error) {
    struct events* seen = context;
    (void)error;
    ++seen->error;
    seen->last_handle = handle;
}

static int listen_on_loopback(unsigned short* port) {
    struct sockaddr_in address;
    socklen_t length = sizeof address;
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || bind(fd, (struct sockaddr*)&address, sizeof address) != 0 || listen(fd, 1) != 0 ||
        getsockname(fd, (struct sockaddr*)&address, &length) != 0) {
        return -1;
    }
    *port = ntohs(address.sin_port);
    return fd;
}

static void check_properties(tolvex_control* control) {
    char text[64];
    CHECK(tolvex_get_baud_rate(control) == 5);
    CHECK(tolvex_status_text(control, text, sizeof text) == strlen("Port 1, 9600 baud, Closed"));
    CHECK(strcmp(text, "Port 1, 9600 baud, Closed") == 0);
    tolvex_set_timeout(control, 299);
    CHECK(tolvex_get_last_error(control) == 40);
    CHECK(tolvex_get_timeout(control) == 1000);
    tolvex_set_register(control, 3, 0, 100);
    CHECK(tolvex_get_last_error(control) == 1);
    tolvex_get_register(control, 100, 0);
    CHECK(tolvex_get_last_error(control) == 20);
    CHECK(!tolvex_read_holding_registers(control, 1, 1, 65536, 1, 1000));
    CHECK(strcmp(tolvex_error_text(31), "the connection could not be made") == 0);
}

static void check_persistence(tolvex_control* control) {
    char saved[256];
    tolvex_control* copy = tolvex_create();
    tolvex_set_parity(control, TOLVEX_PARITY_EVEN);
    CHECK(tolvex_is_modified(control));
    /* A text cut short is no save. */
    CHECK(tolvex_save_properties(control, saved, 8) > 8);
    CHECK(tolvex_is_modified(control));
    CHECK(tolvex_save_properties(control, saved, sizeof saved) < sizeof saved);
    CHECK(!tolvex_is_modified(control));
    CHECK(tolvex_load_properties(copy, saved));
    CHECK(tolvex_get_parity(copy) == TOLVEX_PARITY_EVEN);
    CHECK(!tolvex_load_properties(copy, "Parity=two\n"));
    CHECK(tolvex_get_parity(copy) == 2);
    tolvex_destroy(copy);
}

/* Answers one request for one register with 0x1234. */
static void answer_one_read(int client) {
    unsigned char request[12];
    unsigned char reply[11] = {0, 0, 0, 0, 0, 5, 1, 3, 2, 0x12, 0x34};
    CHECK(read(client, request, sizeof request) == (ssize_t)sizeof request);
    reply[0] = request[0];
    reply[1] = request[1];
    CHECK(write(client, reply, sizeof reply) == (ssize_t)sizeof reply);
}

static void check_a_transaction(tolvex_control* control) {
    struct events seen = {0, 0, -1};
    unsigned short port = 0;
    int listener = listen_on_loopback(&port);
    int client;
    struct pollfd entry;
    CHECK(listener >= 0);
    tolvex_set_callbacks(control, on_ok, on_error, &seen);
    tolvex_set_connection(control, 0);
    tolvex_set_ip_addr1(control, 127);
    tolvex_set_ip_addr4(control, 1);
    tolvex_set_tcpip_port(control, port);
    CHECK(tolvex_open_connection(control));
    CHECK(tolvex_is_connected(control));
    client = accept(listener, NULL, NULL);
    CHECK(client >= 0);

    CHECK(tolvex_read_holding_registers(control, 0, 1, 0, 1, 0));
    CHECK(tolvex_update_once(control, 0));
    answer_one_read(client);
    entry.fd = tolvex_event_fd(control);
    entry.events = POLLIN;
    CHECK(poll(&entry, 1, 10000) == 1);
    CHECK(tolvex_dispatch_events(control) == 1);
    CHECK(seen.ok == 1 && seen.error == 0 && seen.last_handle == 0);
    CHECK(tolvex_get_register(control, 0, 0) == 0x1234);
    CHECK(tolvex_get_last_error(control) == 0);

    tolvex_close_connection(control);
    CHECK(!tolvex_is_connected(control));
    close(client);
    close(listener);
}

int main(void) {
    tolvex_control* control = tolvex_create();
    if (control == NULL) {
        fprintf(stderr, "tolvex_create failed\n");
        return 1;
    }
    check_properties(control);
    check_persistence(control);
    check_a_transaction(control);
    tolvex_destroy(control);
    if (failures != 0) {
        fprintf(stderr, "%d checks failed\n", failures);
        return 1;
    }
    return 0;
}
