#!/usr/bin/python3
"""An FTP server on 127.0.0.1 that lies, for the transport's tests.

  lying_server.py --port-file FILE --log FILE

Anyone logs in. The login folder lists the folders hostile and unix and a
file plain.txt. The first folder of the path a command names (after CWD or
in its argument) picks the misbehaviour:

  hostile/   MLSD lists names no client may trust as paths: "../x", "a/b",
             a file "trail/" , ".", "..", NUL, CR and LF inside names, a line
             without facts, a 100 000-character name, control characters,
             a backslash, and the Latin-1 name "caf\\xe9.txt"
  unix/      MLSD is refused (500); LIST gives "ls -l" lines with the names
             "../x", "a/b", "ok.txt" and a line no parser can read
  forever/   MLSD sends a line every 5 ms and never ends
  silence/   MLSD and RETR answer 150, then nothing more is ever sent
  stall/     CWD into it is never answered
  halfway/   RETR of any file: SIZE says 1000 bytes, 500 are sent, the data
             connection is closed and the reply says 226
  brokenstor/  STOR is accepted (150), then the data connection is closed and
             the reply is 426
  nostor/    STOR is refused (553)
  million/   MLSD lists 1 000 000 files (for the benchmarks)

RETR of a listed file sends "content of " and the name's bytes. DELE, RNFR,
RNTO, MKD and RMD answer 250 for listed names and 550 for others. Every
command line received is appended, as raw bytes, to the log file.
"""

import argparse
import os
import socket
import socketserver
import threading
import time

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


def hostile_listing():
    out = b"".join(mlsd(kind, name) for name, kind in HOSTILE.items())
    # A name carrying CR LF (its CR sent as CR NUL, as MLSD does) and a forged
    # fact list after it, and a line without facts: neither may become an
    # entry of its own.
    out += mlsd(b"file", b"crlf\r\x00\ntype=file;size=9; phantom.txt")
    return out + b"no facts on this line\r\n"


def unix_listing():
    lines = [b"-rw-r--r--   1 web  web   12 Jan 02  2024 " + n for n in UNIX_NAMES]
    lines.append(b"this line follows no listing format at all")
    return b"".join(line + b"\r\n" for line in lines)


def listed(mode, name):
    if mode == b"hostile":
        return name in HOSTILE
    if mode == b"unix":
        return name in UNIX_NAMES
    return mode in (b"halfway", b"brokenstor", b"nostor", b"silence")


class Session(socketserver.BaseRequestHandler):
    def setup(self):
        self.cwd = b"/"
        self.passive = None
        self.renaming = None

    def send(self, line):
        self.request.sendall(line + b"\r\n")

    def log(self, line):
        with self.server.log_lock, open(self.server.log_path, "ab") as f:
            f.write(line + b"\n")

    def path_of(self, arg):
        full = arg if arg.startswith(b"/") else self.cwd.rstrip(b"/") + b"/" + arg
        parts = full.strip(b"/").split(b"/", 1)
        return parts[0], (parts[1] if len(parts) > 1 else b"")

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
        self.send(b"220 liar ready")
        buf = b""
        while True:
            data = self.request.recv(65536)
            if not data:
                return
            buf += data
            while b"\r\n" in buf:
                line, buf = buf.split(b"\r\n", 1)
                self.log(line)
                if not self.command(line):
                    return

    def command(self, line):
        verb, _, arg = line.partition(b" ")
        verb = verb.upper()
        if verb == b"USER":
            self.send(b"331 any password will do")
        elif verb == b"PASS":
            self.send(b"230 logged in")
        elif verb == b"PWD":
            self.send(b'257 "' + self.cwd + b'"')
        elif verb in (b"TYPE", b"OPTS"):
            self.send(b"200 ok")
        elif verb == b"CWD":
            mode, _ = self.path_of(arg)
            if mode == b"stall":
                return True   # never answered
            self.cwd = arg if arg.startswith(b"/") else self.cwd.rstrip(b"/") + b"/" + arg
            self.send(b"250 ok")
        elif verb == b"EPSV":
            self.send(b"229 passive (|||%d|)" % self.open_passive())
        elif verb == b"PASV":
            port = self.open_passive()
            self.send(b"227 passive (127,0,0,1,%d,%d)" % (port >> 8, port & 255))
        elif verb in (b"MLSD", b"LIST", b"NLST"):
            self.listing(verb, arg)
        elif verb == b"SIZE":
            mode, name = self.path_of(arg)
            if mode == b"halfway":
                self.send(b"213 1000")
            elif listed(mode, name):
                self.send(b"213 %d" % len(b"content of " + name))
            else:
                self.send(b"550 no such file")
        elif verb == b"RETR":
            self.retrieve(arg)
        elif verb == b"STOR":
            self.store(arg)
        elif verb in (b"DELE", b"RNFR", b"RMD", b"MKD"):
            mode, name = self.path_of(arg)
            if not listed(mode, name) and verb != b"MKD":
                self.send(b"550 no such file")
            else:
                self.send(b"350 go on" if verb == b"RNFR" else b"250 done")
        elif verb == b"RNTO":
            self.send(b"250 renamed")
        elif verb == b"QUIT":
            self.send(b"221 bye")
            return False
        else:
            self.send(b"500 not understood")
        return True

    def listing(self, verb, arg):
        mode, _ = self.path_of(arg) if arg and not arg.startswith(b"-") else self.path_of(b"")
        if mode == b"unix" and verb == b"MLSD":
            self.send(b"500 MLSD not understood")
            return
        self.send(b"150 here it comes")
        if mode == b"silence":
            self.silent_conn = self.data_connection()
            return
        conn = self.data_connection()
        try:
            if mode == b"forever":
                n = 0
                while True:
                    conn.sendall(mlsd(b"file", b"endless-%08d.txt" % n))
                    n += 1
                    time.sleep(0.005)
            elif mode == b"hostile":
                conn.sendall(hostile_listing())
            elif mode == b"million":
                for block in range(0, 1000000, 10000):
                    conn.sendall(b"".join(
                        b"type=file;size=%d;modify=20240102030405; page-%07d.html\r\n" % (n * 37, n)
                        for n in range(block, block + 10000)))
            elif mode == b"unix":
                conn.sendall(unix_listing())
            elif mode == b"" and verb == b"MLSD":
                conn.sendall(b"".join(mlsd(b"dir", m) for m in (b"hostile", b"unix", b"million"))
                             + mlsd(b"file", b"plain.txt"))
            elif mode == b"":
                conn.sendall(b"".join(b"drwxr-xr-x 1 web web 0 Jan 02  2024 " + m + b"\r\n"
                                      for m in (b"hostile", b"unix")))
            else:
                conn.sendall(mlsd(b"file", b"plain.txt"))
        except OSError:
            pass
        conn.close()
        self.send(b"226 done")

    def store(self, arg):
        mode, _ = self.path_of(arg)
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

    def retrieve(self, arg):
        mode, name = self.path_of(arg)
        if mode == b"silence":
            self.send(b"150 here it comes")
            self.silent_conn = self.data_connection()
            return
        if not listed(mode, name):
            self.send(b"550 no such file")
            return
        self.send(b"150 here it comes")
        conn = self.data_connection()
        conn.sendall(b"x" * 500 if mode == b"halfway" else b"content of " + name)
        conn.close()
        self.send(b"226 done")


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--port-file", required=True)
    p.add_argument("--log", required=True)
    args = p.parse_args()
    server = Server(("127.0.0.1", 0), Session)
    server.log_path = args.log
    server.log_lock = threading.Lock()
    tmp = args.port_file + ".tmp"
    with open(tmp, "w") as f:
        f.write(str(server.server_address[1]))
    os.rename(tmp, args.port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
