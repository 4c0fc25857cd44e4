#!/usr/bin/python3
"""The device's FTP server (pyftpdlib): one user rooted in the storage folder, on the address
and port given, answering NLST of an empty folder with 450 as the device does. VirtualQX8 runs
it for its storage; the FTP client tests run it alone. Prints "LISTENING <port>" once it accepts
connections, and ends when its standard input closes (its parent is gone).

Options for tests: --log FILE records every command line received; --throttle BYTES limits each
data connection to BYTES per second; --extra-name NAME adds a name to every NLST answer;
--refuse-size CODE answers SIZE with that code (500 or 502), as servers without it do."""
import argparse
import logging
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


def end_with_parent():
    sys.stdin.buffer.read()
    os._exit(0)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--address", required=True)
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--log")
    parser.add_argument("--empty-nlst-450", action="store_true",
                        help="answer NLST of an empty folder with 450, as the device does")
    parser.add_argument("--throttle", type=int, default=0,
                        help="bytes per second on each data connection (0: no limit)")
    parser.add_argument("--extra-name", action="append", default=[],
                        help="a name added to every NLST answer (hostile-listing tests)")
    parser.add_argument("--refuse-size", type=int, choices=(500, 502),
                        help="answer SIZE with this code, as a server without SIZE does")
    args = parser.parse_args()

    logging.basicConfig(level=logging.WARNING)
    log = open(args.log, "a", buffering=1) if args.log else None

    class Handler(FTPHandler):
        def pre_process_command(self, line, cmd, arg):
            if log:
                log.write(line + "\n")
            return super().pre_process_command(line, cmd, arg)

        def ftp_SIZE(self, path):
            if args.refuse_size:
                self.respond("%d Command SIZE not understood." % args.refuse_size)
                return
            return super().ftp_SIZE(path)

        def ftp_NLST(self, path):
            if args.empty_nlst_450 and os.path.isdir(path) and not os.listdir(path):
                self.respond("450 No files found")
                return
            if not args.extra_name:
                return super().ftp_NLST(path)
            try:
                names = sorted(self.run_as_current_user(self.fs.listdir, path))
            except OSError as err:
                self.respond("550 %s." % err.strerror)
                return
            data = "".join(n + "\r\n" for n in names + args.extra_name)
            self.push_dtp_data(data.encode("utf8"), isproducer=False, cmd="NLST")
            return path

    if args.throttle > 0:
        class Throttled(ThrottledDTPHandler):
            read_limit = args.throttle
            write_limit = args.throttle
        Handler.dtp_handler = Throttled

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    Handler.authorizer = authorizer
    Handler.permit_privileged_ports = True
    server = FTPServer((args.address, args.port), Handler)
    threading.Thread(target=end_with_parent, daemon=True).start()
    print("LISTENING %d" % server.address[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    sys.exit(main())
