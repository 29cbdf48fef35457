#!/usr/bin/python3
"""An FTP server on 127.0.0.1 that lies, for the transport's tests.

  lying_server.py PORT_FILE LOG_FILE

Anyone logs in; each command line is appended, as raw bytes, to the log file.
The first folder of the path a command names picks the misbehaviour:

  hostile/     MLSD lists names no client may trust as paths (see HOSTILE)
  unix/        MLSD is refused; LIST gives "ls -l" lines and a line no parser reads
  forever/     MLSD sends a line every 5 ms and never ends
  silence/     MLSD and RETR answer 150, then nothing more is ever sent
  stall/       CWD into it is never answered
  halfway/     RETR: SIZE says 1000 bytes, 500 are sent, then 226
  brokenstor/  STOR is accepted, the data connection closed, the reply 426
  nostor/      STOR is refused (553)
  plain/       any name is there, as at the top
  million/     MLSD lists 1 000 000 files (for the benchmarks)

RETR of a listed file sends "content of " and the name's bytes; DELE, RNFR and
RMD answer 550 for names not listed.
"""

import socket
import socketserver
import sys
import threading
import time

from test_servers import publish_port

LATIN1 = b"caf\xe9.txt"
LONG = b"L" * 100000 + b".txt"


def mlsd(kind, name):
    return b"type=" + kind + b";size=1;modify=20240102030405; " + name + b"\r\n"


HOSTILE = {
    b"../x": b"file", b"a/b": b"file", b"trail/": b"file", b".": b"cdir", b"..": b"pdir",
    b"nul\x00name.txt": b"file", b"cr\rname.txt": b"file", b"lf\nname.txt": b"file",
    b"ctl\x16name.txt": b"file", b"back\\slash.txt": b"file", LONG: b"file",
    LATIN1: b"file", b"ok.txt": b"file", b"sub": b"dir",
}
UNIX_NAMES = [b"../x", b"a/b", b"ok.txt"]


def listing(verb, mode):
    if mode == b"hostile":
        # A CR LF inside a name (its CR sent as CR NUL) followed by a forged
        # fact list, and a line without facts: neither may become an entry.
        return (b"".join(mlsd(kind, name) for name, kind in HOSTILE.items())
                + mlsd(b"file", b"crlf\r\x00\ntype=file;size=9; phantom.txt")
                + b"no facts on this line\r\n")
    if mode == b"unix":
        return b"".join(b"-rw-r--r--   1 web  web   12 Jan 02  2024 " + n + b"\r\n"
                        for n in UNIX_NAMES) + b"this line follows no listing format at all\r\n"
    if mode == b"" and verb == b"MLSD":
        return (b"".join(mlsd(b"dir", m) for m in (b"hostile", b"unix", b"million"))
                + mlsd(b"file", b"plain.txt"))
    if mode == b"":
        return b"".join(b"drwxr-xr-x 1 web web 0 Jan 02  2024 " + m + b"\r\n"
                        for m in (b"hostile", b"unix"))
    return mlsd(b"file", b"plain.txt")


def listed(mode, name):
    if not name:
        return True   # anything at the top
    if mode in (b"hostile", b"unix"):
        return name in (HOSTILE if mode == b"hostile" else UNIX_NAMES)
    return mode in (b"halfway", b"brokenstor", b"nostor", b"silence", b"plain")


class Session(socketserver.BaseRequestHandler):
    def send(self, line):
        self.request.sendall(line + b"\r\n")

    def path_of(self, arg):
        full = arg if arg.startswith(b"/") else self.cwd.rstrip(b"/") + b"/" + arg
        mode, _, name = full.strip(b"/").partition(b"/")
        return mode, name

    def open_passive(self):
        if self.passive:
            self.passive.close()
        self.passive = socket.socket()
        self.passive.bind(("127.0.0.1", 0))
        self.passive.listen(1)
        return self.passive.getsockname()[1]

    def data_connection(self):
        self.passive.settimeout(10)
        conn, _ = self.passive.accept()
        self.passive.close()
        self.passive = None
        return conn

    def handle(self):
        self.cwd, self.passive = b"/", None
        self.send(b"220 liar ready")
        buf = b""
        while data := self.request.recv(65536):
            buf += data
            while b"\r\n" in buf:
                line, buf = buf.split(b"\r\n", 1)
                with self.server.log_lock, open(self.server.log_path, "ab") as f:
                    f.write(line + b"\n")
                if not self.command(line):
                    return

    def command(self, line):
        verb, _, arg = line.partition(b" ")
        verb = verb.upper()
        mode, name = self.path_of(arg)
        simple = {b"USER": b"331 any password will do", b"PASS": b"230 logged in",
                  b"TYPE": b"200 ok", b"OPTS": b"200 ok", b"RNTO": b"250 renamed",
                  b"MKD": b"250 done", b"PWD": b'257 "' + self.cwd + b'"'}
        if verb in simple:
            self.send(simple[verb])
        elif verb == b"CWD":
            if mode == b"stall":
                return True   # never answered
            self.cwd = b"/" + mode + (b"/" + name if name else b"")
            self.send(b"250 ok")
        elif verb == b"EPSV":
            self.send(b"229 passive (|||%d|)" % self.open_passive())
        elif verb == b"PASV":
            port = self.open_passive()
            self.send(b"227 passive (127,0,0,1,%d,%d)" % (port >> 8, port & 255))
        elif verb in (b"MLSD", b"LIST", b"NLST"):
            self.list(verb, self.path_of(b"")[0] if not arg or arg.startswith(b"-") else mode)
        elif verb == b"SIZE":
            if mode == b"halfway":
                self.send(b"213 1000")
            else:
                self.send(b"213 %d" % len(b"content of " + name) if listed(mode, name)
                          else b"550 no such file")
        elif verb == b"RETR":
            self.retrieve(mode, name)
        elif verb == b"STOR":
            self.store(mode)
        elif verb in (b"DELE", b"RNFR", b"RMD"):
            if not listed(mode, name):
                self.send(b"550 no such file")
            else:
                self.send(b"350 go on" if verb == b"RNFR" else b"250 done")
        elif verb == b"QUIT":
            self.send(b"221 bye")
            return False
        else:
            self.send(b"500 not understood")
        return True

    def list(self, verb, mode):
        if mode == b"unix" and verb == b"MLSD":
            self.send(b"500 MLSD not understood")
            return
        self.send(b"150 here it comes")
        conn = self.data_connection()
        if mode == b"silence":
            self.silent_conn = conn
            return
        try:
            if mode == b"forever":
                for n in range(10 ** 9):
                    conn.sendall(mlsd(b"file", b"endless-%08d.txt" % n))
                    time.sleep(0.005)
            elif mode == b"million":
                for block in range(0, 1000000, 10000):
                    conn.sendall(b"".join(
                        b"type=file;size=%d;modify=20240102030405; page-%07d.html\r\n" % (n * 37, n)
                        for n in range(block, block + 10000)))
            else:
                conn.sendall(listing(verb, mode))
        except OSError:
            pass
        conn.close()
        self.send(b"226 done")

    def store(self, mode):
        if mode == b"nostor":
            self.send(b"553 not allowed to store here")
            return
        self.send(b"150 send it")
        conn = self.data_connection()
        if mode == b"brokenstor":
            conn.recv(1024)
            conn.close()
            self.send(b"426 connection closed; transfer aborted")
            return
        while conn.recv(65536):
            pass
        conn.close()
        self.send(b"226 stored")

    def retrieve(self, mode, name):
        if not listed(mode, name):
            self.send(b"550 no such file")
            return
        self.send(b"150 here it comes")
        conn = self.data_connection()
        if mode == b"silence":
            self.silent_conn = conn
            return
        conn.sendall(b"x" * 500 if mode == b"halfway" else b"content of " + name)
        conn.close()
        self.send(b"226 done")


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main(port_file, log):
    server = Server(("127.0.0.1", 0), Session)
    server.log_path, server.log_lock = log, threading.Lock()
    publish_port(server.socket, port_file)
    server.serve_forever()


if __name__ == "__main__":
    main(*sys.argv[1:])
