#!/usr/bin/python3
"""Starts and stops the real FTP, FTPS and SFTP servers the FTP tests use.

  test_servers.py start|stop NAME STATE_DIR  start NAME (STATE_DIR/NAME.json says where), or stop it
  test_servers.py fetch-proftpd STATE_DIR    unpack proftpd for its fixtures
  test_servers.py pyftpd ROOT USER PASSWORD PORT_FILE THROTTLE [CERT KEY]  (internal)

Each listens on 127.0.0.1. One whose program is missing is written as unavailable, with
the reason, so that the tests that need it skip visibly.
"""

import fcntl
import json
import os
import pwd
import random
import secrets
import shutil
import signal
import socket
import string
import subprocess
import sys
import time

NAMES = {
    "ftp_pyftpd": dict(kind="pyftpd", scheme="ftp"),
    "ftp_pyftpd_tls": dict(kind="pyftpd", scheme="ftpes", tls=True),
    "ftp_pyftpd_slow": dict(kind="pyftpd", scheme="ftp", throttle=64 * 1024),
    "ftp_vsftpd": dict(kind="vsftpd", scheme="ftp"),
    "ftp_vsftpd_tls": dict(kind="vsftpd", scheme="ftpes", tls=True),
    "ftp_sshd": dict(kind="sshd", scheme="sftp"),
    "ftp_proftpd_tls": dict(kind="proftpd", scheme="ftpes", tls=True),
    "ftp_proftpd_implicit": dict(kind="proftpd", scheme="ftps", tls=True, implicit=True),
    "ftp_liar": dict(kind="liar", scheme="ftp"),
}
HERE = os.path.dirname(os.path.abspath(__file__))
PYTHON = "/usr/bin/python3"   # the interpreter that has pyftpdlib

# proftpd is unpacked from Debian's packages rather than installed: installing
# it would remove vsftpd (both provide ftp-server).
PROFTPD_PACKAGES = ["proftpd-core", "proftpd-mod-crypto", "libhashkit2", "libhiredis0.14",
                    "libmemcached11", "libmemcachedutil2", "libpcre2-posix3", "libsodium23"]


def free_port(port=0):
    """port (0: any) if it is free on 127.0.0.1 now, else 0."""
    with socket.socket() as s:
        try:
            s.bind(("127.0.0.1", port))
            return s.getsockname()[1]
        except OSError:
            return 0


def free_port_range(count):
    """A run of count consecutive ports that are free now (passive data ports)."""
    for _ in range(200):
        base = random.randrange(30000, 60000 - count)
        if all(free_port(p) for p in range(base, base + count)):
            return base, base + count - 1
    raise RuntimeError("no free passive port range")


def greets(port, expect):
    """Whether port greets with expect now (None: whether it accepts)."""
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=2) as s:
            return expect is None or s.recv(256).startswith(expect)
    except OSError:
        return False


def run(argv, **kw):
    return subprocess.run(argv, check=True, capture_output=True, text=True, **kw).stdout.strip()


def make_certificate(folder):
    cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
    run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
         "-days", "30", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"])
    fp = run(["openssl", "x509", "-in", cert, "-noout", "-fingerprint", "-sha256"])
    return cert, key, fp.split("=", 1)[1]


def spawn(argv, folder, port=None, expect=b"220", env=None):
    """Starts argv detached from CTest (own session, output to server.log) and
    waits until port greets with expect. Our Python servers write the port they
    listen on to the file "port" in folder instead (port None)."""
    port_file = os.path.join(folder, "port")
    with open(os.path.join(folder, "server.log"), "ab") as log:
        proc = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=log, stderr=log, env=env,
                                start_new_session=True, close_fds=True)
    write_lines(os.path.join(folder, "pid"), [str(proc.pid)])
    deadline = time.time() + 30
    while not (port and greets(port, expect)):
        if time.time() > deadline:
            raise RuntimeError(f"{argv[0]} did not answer; see {folder}/server.log")
        time.sleep(0.1)
        if port is None and os.path.exists(port_file):
            port = int(open(port_file).read())
    return port


def publish_port(server_socket, port_file):
    """Our Python servers say which port they got by writing it to port_file."""
    write_lines(port_file + ".tmp", [str(server_socket.getsockname()[1])])
    os.rename(port_file + ".tmp", port_file)


def local_user(folder, password):
    """Creates a local user whose home is folder (vsftpd, proftpd and sshd need one)."""
    name = "orvt" + "".join(random.choice(string.ascii_lowercase) for _ in range(6))
    run(["useradd", "-M", "-d", folder, "-s", "/bin/bash", name])
    run(["chpasswd"], input=f"{name}:{password}\n")
    shutil.chown(folder, name, name)
    write_lines(os.path.join(os.path.dirname(folder), "user"), [name])
    return name


def proftpd_dist(state_dir):
    """The unpacked proftpd packages, fetched with apt-get once per build tree."""
    dist = os.path.join(os.path.dirname(os.path.abspath(state_dir)), "proftpd-dist")
    with open(dist + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if os.path.exists(os.path.join(dist, "usr/sbin/proftpd")):
            return dist
        debs, unpacked = dist + ".debs", dist + ".tmp"
        for d in (debs, unpacked):
            shutil.rmtree(d, ignore_errors=True)
        os.makedirs(debs)
        fetch = ["apt-get", "download", "-qq"] + PROFTPD_PACKAGES
        if subprocess.run(fetch, cwd=debs, capture_output=True).returncode != 0:
            run(["apt-get", "update", "-qq"])
            run(fetch, cwd=debs)
        for deb in sorted(os.listdir(debs)):
            run(["dpkg-deb", "-x", os.path.join(debs, deb), unpacked])
        os.rename(unpacked, dist)
        shutil.rmtree(debs, ignore_errors=True)
        return dist


def write_lines(path, lines, mode=0o644):
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")
    os.chmod(path, mode)
    return path


def write_config(path, text, separator="|"):
    return write_lines(path, [line.strip() for line in text.split(separator)])


def vsftpd_config(folder, info, tls):
    lo, hi = free_port_range(40)
    os.makedirs("/var/run/vsftpd/empty", exist_ok=True)
    conf = f"""listen=YES listen_ipv6=NO listen_address=127.0.0.1 listen_port={info['port']}
        background=NO seccomp_sandbox=NO isolate=NO isolate_network=NO anonymous_enable=NO
        local_enable=YES write_enable=YES local_umask=022 pasv_enable=YES pasv_address=127.0.0.1
        pasv_min_port={lo} pasv_max_port={hi} pam_service_name=vsftpd
        secure_chroot_dir=/var/run/vsftpd/empty utf8_filesystem=YES force_dot_files=YES
        text_userdb_names=YES xferlog_enable=NO dirmessage_enable=NO use_localtime=YES"""
    if tls:
        conf += f""" ssl_enable=YES rsa_cert_file={info['certificate']}
            rsa_private_key_file={folder}/key.pem force_local_logins_ssl=YES
            force_local_data_ssl=YES require_ssl_reuse=YES ssl_ciphers=HIGH"""
    return write_config(os.path.join(folder, "vsftpd.conf"), conf, None)


def proftpd_config(folder, dist, info, implicit):
    """proftpd with its usual TLS settings: TLS 1.2 and 1.3, TLS required, and
    TLS session reuse required on data connections."""
    lo, hi = free_port_range(40)
    pw = pwd.getpwnam(info["user"])
    digest = run(["openssl", "passwd", "-6", "-stdin"], input=info["password"])
    write_lines(f"{folder}/ftpd.passwd",
                [f"{pw.pw_name}:{digest}:{pw.pw_uid}:{pw.pw_gid}::{pw.pw_dir}:/bin/bash"], 0o600)
    write_lines(f"{folder}/ftpd.group", [f"{pw.pw_name}:x:{pw.pw_gid}:"], 0o600)
    conf = f"""ServerType standalone|ServerName "Orvane test"|DefaultAddress 127.0.0.1
        |Port {info['port']}|UseIPv6 off|User nobody|Group nogroup
        |ScoreboardFile {folder}/scoreboard|PidFile {folder}/proftpd.pid|DelayTable none
        |WtmpLog off|UseReverseDNS off|RequireValidShell off|AuthOrder mod_auth_file.c
        |AuthUserFile {folder}/ftpd.passwd|AuthGroupFile {folder}/ftpd.group
        |PassivePorts {lo} {hi}|SystemLog {folder}/system.log|TransferLog none|Umask 022
        |AllowOverwrite on|ListOptions -a|ModulePath {dist}/usr/lib/proftpd|LoadModule mod_tls.c
        |TLSEngine on|TLSRequired on|TLSProtocol TLSv1.2 TLSv1.3
        |TLSRSACertificateFile {info['certificate']}|TLSRSACertificateKeyFile {folder}/key.pem
        |TLSVerifyClient off|TLSLog {folder}/tls.log"""
    return write_config(os.path.join(folder, "proftpd.conf"), conf + ("|TLSOptions UseImplicitSSL" if implicit else ""))


def sshd_config(folder, info):
    key = os.path.join(folder, "host_key")
    run(["ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-f", key])
    info["fingerprint"] = run(["ssh-keygen", "-l", "-E", "sha256", "-f", key + ".pub"]).split()[1]
    os.makedirs("/run/sshd", mode=0o755, exist_ok=True)
    conf = f"""HostKey {key}|ListenAddress 127.0.0.1|Port {info['port']}|UsePAM no
        |PasswordAuthentication yes|KbdInteractiveAuthentication no|PubkeyAuthentication no
        |Subsystem sftp internal-sftp|AllowUsers {info['user']}|StrictModes no
        |PidFile {folder}/sshd.pid|LogLevel ERROR"""
    return write_config(os.path.join(folder, "sshd_config"), conf)


def start(name, state_dir):
    server = NAMES[name]
    kind, tls = server["kind"], server.get("tls", False)
    folder = os.path.join(os.path.abspath(state_dir), name)
    if os.path.exists(folder):
        stop(name, state_dir)
    root = os.path.join(folder, "root")
    os.makedirs(root)
    os.chmod(folder, 0o755)
    info = dict(name=name, scheme=server["scheme"], host="127.0.0.1", port=0, user="",
                password="pw-" + secrets.token_hex(6), root=root, certificate="",
                fingerprint="", available=True, reason="")
    program = {"vsftpd": "/usr/sbin/vsftpd", "sshd": "/usr/sbin/sshd"}.get(kind)
    if program and not os.path.exists(program):
        info.update(available=False, reason=f"{kind} is not installed (.ci/run installs it)")
        kind = None
    if kind in ("vsftpd", "proftpd", "sshd"):
        info.update(user=local_user(root, info["password"]), port=free_port())
    if tls:
        cert, key, fp = make_certificate(folder)
        info.update(certificate=cert, fingerprint=fp)

    if kind == "pyftpd":
        info["user"] = "tester"
        info["port"] = spawn([PYTHON, os.path.abspath(__file__), "pyftpd", root, "tester", info["password"],
                              os.path.join(folder, "port"), str(server.get("throttle", 0))]
                             + ([cert, key] if tls else []), folder)
    elif kind == "liar":
        info.update(user="anyone", log=os.path.join(folder, "commands.log"))
        info["port"] = spawn([PYTHON, os.path.join(HERE, "lying_server.py"),
                              os.path.join(folder, "port"), info["log"]], folder)
    elif kind == "vsftpd":
        spawn([program, vsftpd_config(folder, info, tls)], folder, info["port"])
    elif kind == "proftpd":
        dist = proftpd_dist(state_dir)
        implicit = server.get("implicit", False)
        # Implicit TLS greets only after a handshake: wait for the port.
        spawn([os.path.join(dist, "usr/sbin/proftpd"), "-n", "-c",
               proftpd_config(folder, dist, info, implicit)], folder, info["port"],
              expect=None if implicit else b"220",
              env=dict(os.environ, LD_LIBRARY_PATH=os.path.join(dist, "usr/lib/x86_64-linux-gnu")))
    elif kind == "sshd":
        spawn([program, "-D", "-e", "-f", sshd_config(folder, info)], folder, info["port"],
              expect=b"SSH-")
    with open(os.path.join(state_dir, name + ".json"), "w") as f:
        json.dump(info, f, indent=1)
    print(json.dumps(info, indent=1))


def alive(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except FileNotFoundError:
        return False


def stop(name, state_dir):
    folder = os.path.join(state_dir, name)
    if os.path.exists(f"{folder}/pid"):
        pid = int(open(f"{folder}/pid").read())
        try:
            os.killpg(pid, signal.SIGTERM)
            for _ in range(50):
                if alive(pid):
                    time.sleep(0.05)
            os.killpg(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    if os.path.exists(f"{folder}/user"):
        subprocess.run(["userdel", open(f"{folder}/user").read().strip()], capture_output=True)
    shutil.rmtree(folder, ignore_errors=True)
    if os.path.exists(os.path.join(state_dir, name + ".json")):
        os.remove(os.path.join(state_dir, name + ".json"))


def run_pyftpd(root, user, password, port_file, throttle, cert=None, key=None):
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler, TLS_FTPHandler, ThrottledDTPHandler
    from pyftpdlib.servers import FTPServer

    handler = TLS_FTPHandler if cert else FTPHandler
    if cert:
        handler.certfile, handler.keyfile = cert, key

        class Dtp(handler.dtp_handler):
            # libcurl starts the data channel's TLS handshake itself: keep
            # reading while it runs, or the handshake never completes.
            def readable(self):
                return getattr(self, "_ssl_accepting", False) or super().readable()

        handler.dtp_handler = Dtp
    if int(throttle):
        class Slow(ThrottledDTPHandler):
            read_limit = write_limit = int(throttle)
        handler.dtp_handler = Slow
    handler.authorizer = DummyAuthorizer()
    handler.authorizer.add_user(user, password, root, perm="elradfmwMT")
    handler.banner = "Orvane test server ready."
    server = FTPServer(("127.0.0.1", 0), handler)
    publish_port(server.socket, port_file)
    server.serve_forever()


def main(cmd=None, *args):
    usage = __doc__.split("\n\n")[1]
    if cmd in ("start", "stop") and len(args) == 2 and args[0] in NAMES:
        os.makedirs(args[1], exist_ok=True)
        try:
            (start if cmd == "start" else stop)(*args)
        except Exception:
            stop(*args)
            raise
    elif cmd == "fetch-proftpd" and len(args) == 1:
        os.makedirs(args[0], exist_ok=True)
        print(proftpd_dist(args[0]))
    elif cmd == "pyftpd" and len(args) in (5, 7):
        run_pyftpd(*args)
    else:
        sys.exit(f"usage:\n{usage}\nservers: {', '.join(sorted(NAMES))}")


if __name__ == "__main__":
    main(*sys.argv[1:])
