#!/usr/bin/python3
"""Modbus slave for the interoperability tests.

Serves RTU or ASCII on one end of a socat pseudo-terminal pair, or Modbus/TCP on 127.0.0.1.
Prints one line "READY <client device or TCP port>" once it serves, and runs until its standard
input closes (the test ends, or dies), then stops socat and exits.

Slave 1 holds (other slaves get no answer; slave 0 is a broadcast on serial lines): coil i = (i % 3 == 0), discrete input i = (i % 2 == 1),
holding register i = 0x1000 + i, input register i = 0x2000 + i, for i in 0..299.
"""
import argparse
import asyncio
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

from pymodbus.datastore import (ModbusSequentialDataBlock, ModbusServerContext,
                                ModbusSlaveContext)
from pymodbus.server.async_io import ModbusSerialServer, ModbusTcpServer
from pymodbus.transaction import ModbusAsciiFramer, ModbusRtuFramer, ModbusSocketFramer

SIZE = 300
SLAVE = 1


def make_context():
    slave = ModbusSlaveContext(
        co=ModbusSequentialDataBlock(0, [i % 3 == 0 for i in range(SIZE)]),
        di=ModbusSequentialDataBlock(0, [i % 2 == 1 for i in range(SIZE)]),
        hr=ModbusSequentialDataBlock(0, [0x1000 + i for i in range(SIZE)]),
        ir=ModbusSequentialDataBlock(0, [0x2000 + i for i in range(SIZE)]),
        zero_mode=True)
    return ModbusServerContext(slaves={SLAVE: slave}, single=False)


def start_pty_pair(folder):
    server_end = os.path.join(folder, "server")
    client_end = os.path.join(folder, "client")
    socat = subprocess.Popen(
        ["socat", f"pty,raw,echo=0,link={server_end}", f"pty,raw,echo=0,link={client_end}"],
        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + 20
    while not (os.path.exists(server_end) and os.path.exists(client_end)):
        if socat.poll() is not None or time.monotonic() > deadline:
            raise RuntimeError("socat did not create the pseudo-terminal pair")
        time.sleep(0.02)
    return socat, server_end, client_end


async def serve_serial(framer, device, client_end):
    server = ModbusSerialServer(make_context(), framer=framer, port=device, baudrate=19200,
                                broadcast_enable=True, ignore_missing_slaves=True)
    await server.start()
    announce(client_end)
    await wait_for_stdin_close()
    await server.shutdown()


async def serve_tcp():
    server = ModbusTcpServer(make_context(), framer=ModbusSocketFramer,
                             address=("127.0.0.1", 0), allow_reuse_address=True,
                             ignore_missing_slaves=True)
    task = asyncio.create_task(server.serve_forever())
    await server.serving
    announce(server.server.sockets[0].getsockname()[1])
    await wait_for_stdin_close()
    task.cancel()


def announce(where):
    print(f"READY {where}", flush=True)


async def wait_for_stdin_close():
    closed = asyncio.get_running_loop().create_future()
    loop = asyncio.get_running_loop()

    def watch():
        sys.stdin.buffer.read()
        loop.call_soon_threadsafe(closed.set_result, True)

    threading.Thread(target=watch, daemon=True).start()
    await closed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("mode", choices=["rtu", "ascii", "tcp"])
    mode = parser.parse_args().mode
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    if mode == "tcp":
        asyncio.run(serve_tcp())
        return
    folder = tempfile.mkdtemp(prefix="tolvex-peer-")
    socat = None
    try:
        socat, server_end, client_end = start_pty_pair(folder)
        framer = ModbusRtuFramer if mode == "rtu" else ModbusAsciiFramer
        asyncio.run(serve_serial(framer, server_end, client_end))
    finally:
        if socat is not None:
            socat.terminate()
            socat.wait()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
