#!/usr/bin/python3
"""A second RFC 2217 server for the tests, on pyserial's own server side (PortManager).

Usage: rfc2217_server.py DEVICE

Listens on a free TCP port of 127.0.0.1 and prints its number alone on the first line of
standard output; then serves one client at a time, each on DEVICE opened afresh, as a serial
device server does. It ends when standard input closes.

A pseudo-terminal has no modem lines: setting DTR, RTS or a break, or reading CTS, DSR, RI or
CD, would fail there, so they are no-ops here and the lines read as low.
"""

import socket
import sys
import threading

import serial
import serial.rfc2217


class LinelessPort(serial.Serial):
    def _update_dtr_state(self):
        pass

    def _update_rts_state(self):
        pass

    def _update_break_state(self):
        pass

    cts = property(lambda self: False)
    dsr = property(lambda self: False)
    ri = property(lambda self: False)
    cd = property(lambda self: False)


class Connection:
    """The client's socket as PortManager writes to it, from either thread."""

    def __init__(self, client):
        self.client = client
        self.lock = threading.Lock()

    def write(self, data):
        with self.lock:
            self.client.sendall(data)


def serve(client, device):
    port = LinelessPort()
    port.port = device
    port.timeout = 0.05
    port.open()
    connection = Connection(client)
    manager = serial.rfc2217.PortManager(port, connection)
    done = threading.Event()

    def to_client():
        while not done.is_set():
            try:
                data = port.read(port.in_waiting or 1)
                if data:
                    connection.write(b"".join(manager.escape(data)))
            except (OSError, serial.SerialException):
                break

    reader = threading.Thread(target=to_client, daemon=True)
    reader.start()
    try:
        while True:
            data = client.recv(1024)
            if not data:
                break
            port.write(b"".join(manager.filter(data)))
    except OSError:
        pass
    finally:
        done.set()
        reader.join()
        port.close()
        client.close()


def main():
    device = sys.argv[1]
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(1)

    def accept():
        while True:
            client, _ = server.accept()
            client.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
            serve(client, device)

    threading.Thread(target=accept, daemon=True).start()
    print(server.getsockname()[1], flush=True)
    sys.stdin.read()


if __name__ == "__main__":
    main()
