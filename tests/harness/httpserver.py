#!/usr/bin/python3
"""The cloud, the update feed and the analytics collector for tests and the run script.

Serves the files of a folder over HTTP/1.1 on one address and port, answers every POST with an
empty 200, and appends every request to a log file as one JSON object per line:
    {"method": "POST", "path": "/collect", "headers": [["Host", "..."], ...], "body": "...",
     "status": 200}
("path" is the request target as sent, query included; "body" holds the bytes as Latin-1 text;
"status" is the status of the answer). The line is written before the answer goes out.

Faults are switched per path (the target without its query), with --fault PATH=MODE at start or
with commands on standard input while it runs:
    NNN            answer with that HTTP status (404, 500, 204, ...) and a short body
    stall          send the headers and half the body, then nothing until the client leaves
    cut            send the headers and half the body, then close the connection
    wrong-length   send the body chunked under a Content-Length 100 bytes longer (HTTP itself then
                   sees a complete body; only a client that counts the bytes notices)
    redirect-loop  answer 302 with the same path as the new location, every time
    redirect:PATH  answer 302 with PATH as the new location
    slow:MS        send the body in 16 parts, MS milliseconds apart
    hold           keep the answer back until the path's fault is switched to another mode
    auth:USER:PW   answer 401 with a Basic challenge unless the request carries USER and PW
    endless        send a chunked body that never ends, until the client leaves
    length:BYTES   announce a Content-Length of BYTES, then send that many bytes (the file's
                   content, then filler) unless the client leaves first
    gzip:BYTES     send the file's content, then zero bytes up to BYTES in all, compressed under
                   Content-Encoding: gzip whatever the request accepts (a gigabyte costs about
                   a megabyte on the wire: a compression bomb)
    encoding:NAME  send the file's content as it is under Content-Encoding: NAME

Commands on standard input, each answered by one line starting with "ok" or "error":
    fault PATH MODE | fault PATH off | faults off | quit
The server ends when standard input closes, so it never outlives the test that started it;
with --no-stdin it ignores standard input and runs until SIGTERM or SIGINT.

It prints "HTTP server listening on ADDRESS:PORT" once it accepts connections; exit code 3 means
the address could not be bound.
"""
import argparse
import base64
import json
import os
import re
import signal
import struct
import sys
import threading
import time
import urllib.parse
import zlib
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

STATUS = re.compile(r"^[1-5][0-9][0-9]$")


def valid_mode(mode):
    return (STATUS.match(mode) or mode in ("stall", "cut", "wrong-length", "redirect-loop", "hold")
            or (mode.startswith("redirect:") and len(mode) > 9)
            or (mode.startswith("slow:") and mode[5:].isdigit())
            or (mode.startswith("auth:") and ":" in mode[5:])
            or mode == "endless" or (mode.startswith("length:") and mode[7:].isdigit())
            or (mode.startswith("gzip:") and mode[5:].isdigit())
            or (mode.startswith("encoding:") and len(mode) > 9))


def gzip_stream(content, size):
    """The gzip stream of `content` followed by zero bytes up to `size` in all. A megabyte of
    zeros is compressed once and its segment repeated: each segment starts without history and
    ends on a byte boundary (a full flush), so the segments join into one valid stream."""
    def segment(data):
        compressor = zlib.compressobj(9, zlib.DEFLATED, -15)
        return compressor.compress(data) + compressor.flush(zlib.Z_FULL_FLUSH)

    parts = [b"\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\xff", segment(content)]
    crc = zlib.crc32(content)
    total = len(content)
    block = bytes(1 << 20)
    whole = segment(block)
    while total < size:
        count = min(size - total, len(block))
        parts.append(whole if count == len(block) else segment(block[:count]))
        crc = zlib.crc32(block[:count], crc)
        total += count
    parts.append(zlib.compressobj(9, zlib.DEFLATED, -15).flush())  # the final, empty block
    parts.append(struct.pack("<II", crc & 0xFFFFFFFF, total & 0xFFFFFFFF))
    return b"".join(parts)


class Faults:
    def __init__(self):
        self._lock = threading.Lock()
        self._modes = {}

    def set(self, path, mode):
        with self._lock:
            if mode == "off":
                self._modes.pop(path, None)
            else:
                self._modes[path] = mode

    def clear(self):
        with self._lock:
            self._modes.clear()

    def get(self, path):
        with self._lock:
            return self._modes.get(path)


class RequestLog:
    def __init__(self, path):
        self._lock = threading.Lock()
        self._file = open(path, "a", encoding="utf-8")

    def record(self, method, target, headers, body, status):
        entry = {"method": method, "path": target, "headers": [list(h) for h in headers.items()],
                 "body": body.decode("latin-1"), "status": status}
        with self._lock:
            self._file.write(json.dumps(entry) + "\n")
            self._file.flush()


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "QX8TestHTTP/1.0"

    def log_message(self, format, *args):
        pass

    def do_GET(self):
        self.handle_request(b"")

    def do_POST(self):
        length = int(self.headers.get("Content-Length") or 0)
        self.handle_request(self.rfile.read(length))

    def handle_request(self, body):
        path = urllib.parse.urlsplit(self.path).path
        mode = self.server.faults.get(path)
        while mode == "hold" and not self.server.stopping.wait(0.01):
            mode = self.server.faults.get(path)
        content = None
        if mode and mode.startswith("auth:"):
            credentials = base64.b64encode(mode[len("auth:"):].encode()).decode()
            if self.headers.get("Authorization") == "Basic " + credentials:
                mode = None
            else:
                self.server.request_log.record(self.command, self.path, self.headers, body, 401)
                self.send_response(401)
                self.send_header("WWW-Authenticate", 'Basic realm="QX8 cloud"')
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
        if mode and STATUS.match(mode):
            status = int(mode)
        elif mode and mode.startswith("redirect"):
            status = 302
        elif self.command == "POST":
            status = 200
        else:
            content = self.read_file(path)
            status = 404 if content is None else 200
        self.server.request_log.record(self.command, self.path, self.headers, body, status)
        if mode and STATUS.match(mode):
            self.answer(status, b"Status %s from the test server\n" % mode.encode())
        elif mode == "redirect-loop":
            self.redirect(path)
        elif mode and mode.startswith("redirect:"):
            self.redirect(mode[len("redirect:"):])
        elif self.command == "POST":
            self.answer(200, b"")
        elif content is None:
            self.answer(404, b"Not found\n")
        else:
            self.send_content(content, mode)

    def read_file(self, path):
        root = self.server.root
        target = os.path.realpath(os.path.join(root, urllib.parse.unquote(path).lstrip("/")))
        if target != root and not target.startswith(root + os.sep):
            return None
        if os.path.isdir(target):
            target = os.path.join(target, "index.html")
        try:
            with open(target, "rb") as file:
                return file.read()
        except OSError:
            return None

    def answer(self, status, body):
        if status < 200 or status in (204, 304):
            body = b""
        self.send_response(status)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def redirect(self, location):
        self.send_response(302)
        self.send_header("Location", location)
        self.send_header("Content-Length", "0")
        self.end_headers()

    def send_content(self, content, mode):
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        if mode == "endless":
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            self.send_filler(None, lambda block: b"%x\r\n%s\r\n" % (len(block), block))
            return
        if mode and mode.startswith("length:"):
            length = int(mode[len("length:"):])
            self.send_header("Content-Length", str(length))
            self.end_headers()
            self.wfile.write(content[:length])
            self.send_filler(length - min(length, len(content)), lambda block: block)
            return
        if mode and mode.startswith("gzip:"):
            content = gzip_stream(content, int(mode[len("gzip:"):]))
            self.send_header("Content-Encoding", "gzip")
        elif mode and mode.startswith("encoding:"):
            self.send_header("Content-Encoding", mode[len("encoding:"):])
        if mode == "wrong-length":
            self.send_header("Content-Length", str(len(content) + 100))
            self.send_header("Transfer-Encoding", "chunked")
        else:
            self.send_header("Content-Length", str(len(content)))
        self.end_headers()
        half = content[:len(content) // 2]
        if mode == "stall":
            self.wfile.write(half)
            self.wfile.flush()
            self.wait_until_client_leaves()
        elif mode == "cut":
            self.wfile.write(half)
            self.close_connection = True
        elif mode == "wrong-length":
            self.wfile.write(b"%x\r\n%s\r\n0\r\n\r\n" % (len(content), content))
            self.close_connection = True
        elif mode and mode.startswith("slow:"):
            delay = int(mode[len("slow:"):]) / 1000.0
            step = max(1, -(-len(content) // 16))
            for start in range(0, len(content), step):
                self.wfile.write(content[start:start + step])
                self.wfile.flush()
                time.sleep(delay)
        else:
            self.wfile.write(content)

    def send_filler(self, count, frame):
        """Sends `count` filler bytes (without end for None), each block framed by `frame`."""
        block = bytes(range(256)) * 256
        self.close_connection = True
        try:
            while count is None or count > 0:
                if self.server.stopping.is_set():
                    return
                part = block if count is None else block[:count]
                self.wfile.write(frame(part))
                if count is not None:
                    count -= len(part)
        except OSError:
            pass  # the client left, as it should

    def wait_until_client_leaves(self):
        self.connection.settimeout(0.1)
        while not self.server.stopping.is_set():
            try:
                if not self.connection.recv(4096):
                    break
            except TimeoutError:
                continue
            except OSError:
                break
        self.close_connection = True


class Server(ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        # A client that leaves mid-answer (an aborted or timed-out transfer) is no fault here.
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(request, client_address)


def run_commands(server):
    for line in sys.stdin:
        words = line.split()
        if words == ["quit"]:
            print("ok", flush=True)
            break
        if words == ["faults", "off"]:
            server.faults.clear()
            print("ok", flush=True)
        elif len(words) == 3 and words[0] == "fault" and (words[2] == "off" or valid_mode(words[2])):
            server.faults.set(words[1], words[2])
            print("ok", flush=True)
        else:
            print("error unknown command: " + line.strip(), flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--address", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0, help="0 picks a free port")
    parser.add_argument("--root", required=True, help="the folder to serve")
    parser.add_argument("--log", required=True, help="the request log, one JSON object a line")
    parser.add_argument("--fault", action="append", default=[], metavar="PATH=MODE")
    parser.add_argument("--no-stdin", action="store_true",
                        help="ignore standard input; run until SIGTERM or SIGINT")
    args = parser.parse_args()

    try:
        server = Server((args.address, args.port), Handler)
    except OSError as error:
        print("cannot bind %s:%d: %s" % (args.address, args.port, error), file=sys.stderr)
        return 3
    server.root = os.path.realpath(args.root)
    server.request_log = RequestLog(args.log)
    server.faults = Faults()
    server.stopping = threading.Event()
    for switch in args.fault:
        path, _, mode = switch.partition("=")
        if not valid_mode(mode):
            print("unknown fault: " + switch, file=sys.stderr)
            return 2
        server.faults.set(path, mode)

    serving = threading.Thread(target=server.serve_forever, daemon=True)
    serving.start()
    print("HTTP server listening on %s:%d" % server.server_address[:2], flush=True)
    if args.no_stdin:
        signal.signal(signal.SIGTERM, lambda *_: server.stopping.set())
        try:
            server.stopping.wait()
        except KeyboardInterrupt:
            pass
    else:
        run_commands(server)
    server.stopping.set()
    server.shutdown()
    server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
