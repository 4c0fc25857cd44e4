#!/usr/bin/python3
"""Relays every connection accepted on LISTEN to a new connection to CONNECT, both ways, until
either side closes. Each address is tcp:HOST:PORT or unix:PATH. scripts/run.sh joins this
machine's loopback to the application's network namespace with two of them: a Unix socket in a
folder both can reach carries the connection across. Ends on SIGTERM.
Usage: socket-relay.py LISTEN CONNECT"""
import socket
import sys
import threading


def address(text):
    kind, _, rest = text.partition(":")
    if kind == "unix":
        return socket.AF_UNIX, rest
    if kind == "tcp":
        host, _, port = rest.rpartition(":")
        return socket.AF_INET, (host, int(port))
    sys.exit("socket-relay.py: not tcp:HOST:PORT or unix:PATH: " + text)


def pump(source, sink):
    try:
        while data := source.recv(65536):
            sink.sendall(data)
    except OSError:
        pass
    for end in (source, sink):
        try:
            end.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass


def relay(accepted, target):
    family, where = target
    try:
        onward = socket.socket(family, socket.SOCK_STREAM)
        onward.connect(where)
    except OSError as error:
        print("socket-relay.py: nothing answers at %s (yet?): %s" % (where, error), file=sys.stderr)
        accepted.close()
        return
    threading.Thread(target=pump, args=(onward, accepted), daemon=True).start()
    pump(accepted, onward)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    family, where = address(sys.argv[1])
    target = address(sys.argv[2])
    listener = socket.socket(family, socket.SOCK_STREAM)
    if family == socket.AF_INET:
        listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    try:
        listener.bind(where)
    except OSError as error:
        sys.exit("socket-relay.py: cannot listen on %s: %s" % (sys.argv[1], error))
    listener.listen()
    while True:
        accepted, _ = listener.accept()
        threading.Thread(target=relay, args=(accepted, target), daemon=True).start()


if __name__ == "__main__":
    main()
