#!/usr/bin/python3
"""Starts and stops the real FTP, FTPS and SFTP servers the FTP tests use.

  test_servers.py start|stop NAME STATE_DIR  start NAME in the background and
                                     write STATE_DIR/NAME.json, or stop it
  test_servers.py fetch-proftpd STATE_DIR    unpack proftpd for its fixtures
  test_servers.py pyftpd ...                 (internal) run a pyftpdlib server

Every server listens on 127.0.0.1 on a port free at start. A server whose
program is not installed is written as unavailable, with the reason, so that
the tests that need it skip visibly.
"""

import argparse
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

# proftpd is unpacked from Debian's packages rather than installed: installing
# it would remove vsftpd (both provide ftp-server).
PROFTPD_PACKAGES = ["proftpd-core", "proftpd-mod-crypto", "libhashkit2", "libhiredis0.14",
                    "libmemcached11", "libmemcachedutil2", "libpcre2-posix3", "libsodium23"]


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def port_is_free(port):
    with socket.socket() as s:
        try:
            s.bind(("127.0.0.1", port))
            return True
        except OSError:
            return False


def free_port_range(count):
    """A run of count consecutive ports that are free now (passive data ports)."""
    for _ in range(200):
        base = random.randrange(30000, 60000 - count)
        if all(port_is_free(p) for p in range(base, base + count)):
            return base, base + count - 1
    raise RuntimeError("no free passive port range")


def wait_for_greeting(port, timeout=15.0, expect=b""):
    """Waits until the port greets with expect (None: until it accepts)."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=2) as s:
                if expect is None or s.recv(256).startswith(expect):
                    return True
        except OSError:
            pass
        time.sleep(0.1)
    return False


def make_certificate(folder):
    cert = os.path.join(folder, "cert.pem")
    key = os.path.join(folder, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes",
                    "-keyout", key, "-out", cert, "-days", "30", "-subj", "/CN=127.0.0.1",
                    "-addext", "subjectAltName=IP:127.0.0.1"],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    fp = subprocess.run(["openssl", "x509", "-in", cert, "-noout", "-fingerprint", "-sha256"],
                        check=True, capture_output=True, text=True).stdout
    return cert, key, fp.strip().split("=", 1)[1]


def spawn(argv, folder, port=None, expect=b"220", env=None):
    """Starts argv detached from CTest (own session, output to server.log) and
    waits until port greets with expect (None: until it accepts). Our Python
    servers write the port they listen on to --port-file instead."""
    if port is None:
        argv = argv + ["--port-file", os.path.join(folder, "port")]
    with open(os.path.join(folder, "server.log"), "ab") as log:
        proc = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=log, stderr=log, env=env,
                                start_new_session=True, close_fds=True)
    with open(os.path.join(folder, "pid"), "w") as f:
        f.write(str(proc.pid))
    if port is None:
        port_file = os.path.join(folder, "port")
        deadline = time.time() + 15
        while not os.path.exists(port_file) and time.time() < deadline:
            time.sleep(0.05)
        port = int(open(port_file).read())
    if not wait_for_greeting(port, expect=expect):
        raise RuntimeError(f"{argv[0]} did not answer; see {folder}/server.log")
    return port


def local_user(folder, password):
    """Creates a local user whose home is folder (vsftpd and sshd need one)."""
    name = "orvt" + "".join(random.choice(string.ascii_lowercase) for _ in range(6))
    subprocess.run(["useradd", "-M", "-d", folder, "-s", "/bin/bash", name], check=True)
    subprocess.run(["chpasswd"], input=f"{name}:{password}\n", text=True, check=True)
    shutil.chown(folder, name, name)
    with open(os.path.join(os.path.dirname(folder), "user"), "w") as f:
        f.write(name)
    return name


def proftpd_dist(state_dir):
    """The unpacked proftpd packages, fetched with apt-get once per build tree."""
    import fcntl
    dist = os.path.join(os.path.dirname(os.path.abspath(state_dir)), "proftpd-dist")
    with open(dist + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if os.path.exists(os.path.join(dist, "usr/sbin/proftpd")):
            return dist
        debs = dist + ".debs"
        shutil.rmtree(debs, ignore_errors=True)
        os.makedirs(debs)
        fetch = ["apt-get", "download", "-qq"] + PROFTPD_PACKAGES
        if subprocess.run(fetch, cwd=debs, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode != 0:
            subprocess.run(["apt-get", "update", "-qq"], check=True)
            subprocess.run(fetch, cwd=debs, check=True, stdout=subprocess.DEVNULL)
        unpacked = dist + ".tmp"
        shutil.rmtree(unpacked, ignore_errors=True)
        for deb in sorted(os.listdir(debs)):
            subprocess.run(["dpkg-deb", "-x", os.path.join(debs, deb), unpacked], check=True)
        os.rename(unpacked, dist)
        shutil.rmtree(debs, ignore_errors=True)
        return dist


def write_lines(path, lines):
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")
    return path


def proftpd_config(folder, dist, port, user, password, cert, key, implicit):
    """proftpd with its usual TLS settings: TLS 1.2 and 1.3, TLS required, and
    TLS session reuse required on data connections."""
    lo, hi = free_port_range(40)
    pw = pwd.getpwnam(user)
    digest = subprocess.run(["openssl", "passwd", "-6", "-stdin"], input=password, text=True,
                            check=True, capture_output=True).stdout.strip()
    users = write_lines(os.path.join(folder, "ftpd.passwd"),
                        [f"{user}:{digest}:{pw.pw_uid}:{pw.pw_gid}::{pw.pw_dir}:/bin/bash"])
    groups = write_lines(os.path.join(folder, "ftpd.group"), [f"{user}:x:{pw.pw_gid}:"])
    os.chmod(users, 0o600)
    os.chmod(groups, 0o600)
    conf = [
        "ServerType standalone", 'ServerName "Orvane test"', "DefaultAddress 127.0.0.1",
        f"Port {port}", "UseIPv6 off", "User nobody", "Group nogroup",
        f"ScoreboardFile {folder}/scoreboard", f"PidFile {folder}/proftpd.pid",
        "DelayTable none", "WtmpLog off", "UseReverseDNS off", "RequireValidShell off",
        "AuthOrder mod_auth_file.c", f"AuthUserFile {users}", f"AuthGroupFile {groups}",
        f"PassivePorts {lo} {hi}", f"SystemLog {folder}/system.log", "TransferLog none",
        "Umask 022", "AllowOverwrite on", "ListOptions -a",
        f"ModulePath {dist}/usr/lib/proftpd", "LoadModule mod_tls.c",
        "TLSEngine on", "TLSRequired on", "TLSProtocol TLSv1.2 TLSv1.3",
        f"TLSRSACertificateFile {cert}", f"TLSRSACertificateKeyFile {key}",
        "TLSVerifyClient off", f"TLSLog {folder}/tls.log",
    ]
    return write_lines(os.path.join(folder, "proftpd.conf"),
                       conf + (["TLSOptions UseImplicitSSL"] if implicit else []))


def start(name, state_dir):
    server = NAMES[name]
    kind = server["kind"]
    folder = os.path.join(state_dir, name)
    if os.path.exists(folder):
        stop(name, state_dir)
    root = os.path.join(folder, "root")
    os.makedirs(root)
    os.chmod(folder, 0o755)
    password = "pw-" + secrets.token_hex(6)
    info = dict(name=name, scheme=server["scheme"], host="127.0.0.1", port=0, user="",
                password=password, root=root, certificate="", fingerprint="", hostKey="",
                available=True, reason="")
    program = {"vsftpd": "/usr/sbin/vsftpd", "sshd": "/usr/sbin/sshd"}.get(kind)
    if program and not os.path.exists(program):
        info.update(available=False, reason=f"{kind} is not installed (.ci/run installs it)")
        kind = None
    if kind in ("vsftpd", "proftpd", "sshd"):
        info.update(user=local_user(root, password), port=free_port())
    if server.get("tls"):
        cert, key, fp = make_certificate(folder)
        info.update(certificate=cert, fingerprint=fp)

    if kind == "pyftpd":
        info["user"] = "tester"
        argv = ["/usr/bin/python3", os.path.abspath(__file__), "pyftpd", "--root", root,
                "--user", "tester", "--password", password, "--throttle",
                str(server.get("throttle", 0))]
        if server.get("tls"):
            argv += ["--cert", cert, "--key", key]
        info["port"] = spawn(argv, folder)
    elif kind == "liar":
        info.update(user="anyone", log=os.path.join(folder, "commands.log"))
        liar = os.path.join(os.path.dirname(os.path.abspath(__file__)), "lying_server.py")
        info["port"] = spawn(["/usr/bin/python3", liar, "--log", info["log"]], folder)
    elif kind == "vsftpd":
        lo, hi = free_port_range(40)
        os.makedirs("/var/run/vsftpd/empty", exist_ok=True)
        conf = [
            "listen=YES", "listen_ipv6=NO", "listen_address=127.0.0.1",
            f"listen_port={info['port']}", "background=NO", "seccomp_sandbox=NO",
            "isolate=NO", "isolate_network=NO", "anonymous_enable=NO", "local_enable=YES",
            "write_enable=YES", "local_umask=022", "pasv_enable=YES",
            "pasv_address=127.0.0.1", f"pasv_min_port={lo}", f"pasv_max_port={hi}",
            "pam_service_name=vsftpd", "secure_chroot_dir=/var/run/vsftpd/empty",
            "utf8_filesystem=YES", "force_dot_files=YES", "text_userdb_names=YES",
            "xferlog_enable=NO", "dirmessage_enable=NO", "use_localtime=YES",
        ]
        if server.get("tls"):
            conf += ["ssl_enable=YES", f"rsa_cert_file={cert}", f"rsa_private_key_file={key}",
                     "force_local_logins_ssl=YES", "force_local_data_ssl=YES",
                     "require_ssl_reuse=YES", "ssl_ciphers=HIGH"]
        spawn([program, write_lines(os.path.join(folder, "vsftpd.conf"), conf)], folder,
              info["port"])
    elif kind == "proftpd":
        dist = proftpd_dist(state_dir)
        conf = proftpd_config(folder, dist, info["port"], info["user"], password, cert, key,
                              server.get("implicit", False))
        libs = os.path.join(dist, "usr/lib/x86_64-linux-gnu")
        # Implicit TLS greets only after a handshake: wait for the port.
        spawn([os.path.join(dist, "usr/sbin/proftpd"), "-n", "-c", conf], folder, info["port"],
              expect=None if server.get("implicit") else b"220",
              env=dict(os.environ, LD_LIBRARY_PATH=libs))
    elif kind == "sshd":
        key = os.path.join(folder, "host_key")
        subprocess.run(["ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-f", key], check=True)
        fp = subprocess.run(["ssh-keygen", "-l", "-E", "sha256", "-f", key + ".pub"],
                            check=True, capture_output=True, text=True).stdout.split()[1]
        info.update(hostKey=key + ".pub", fingerprint=fp)
        os.makedirs("/run/sshd", mode=0o755, exist_ok=True)
        conf = write_lines(os.path.join(folder, "sshd_config"), [
            f"HostKey {key}", "ListenAddress 127.0.0.1", f"Port {info['port']}",
            "UsePAM no", "PasswordAuthentication yes", "KbdInteractiveAuthentication no",
            "PubkeyAuthentication no", "Subsystem sftp internal-sftp",
            f"AllowUsers {info['user']}", "StrictModes no",
            f"PidFile {os.path.join(folder, 'sshd.pid')}", "LogLevel ERROR"])
        spawn([program, "-D", "-e", "-f", conf], folder, info["port"], expect=b"SSH-")

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
    pid_file = os.path.join(folder, "pid")
    if os.path.exists(pid_file):
        pid = int(open(pid_file).read())
        try:
            os.killpg(pid, signal.SIGTERM)
            for _ in range(50):
                if not alive(pid):
                    break
                time.sleep(0.05)
            os.killpg(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    user_file = os.path.join(folder, "user")
    if os.path.exists(user_file):
        subprocess.run(["userdel", open(user_file).read().strip()],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    shutil.rmtree(folder, ignore_errors=True)
    try:
        os.remove(os.path.join(state_dir, name + ".json"))
    except FileNotFoundError:
        pass


def run_pyftpd(args):
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler, TLS_FTPHandler, ThrottledDTPHandler
    from pyftpdlib.servers import FTPServer

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    if args.cert:
        handler = TLS_FTPHandler
        handler.certfile = args.cert
        handler.keyfile = args.key
        base_dtp = handler.dtp_handler

        class Dtp(base_dtp):
            # libcurl starts the data channel's TLS handshake itself: keep
            # reading while it runs, or the handshake never completes.
            def readable(self):
                if getattr(self, "_ssl_accepting", False):
                    return True
                return super().readable()

        handler.dtp_handler = Dtp
    else:
        handler = FTPHandler
    if args.throttle:
        class Slow(ThrottledDTPHandler):
            read_limit = args.throttle
            write_limit = args.throttle
        handler.dtp_handler = Slow
    handler.authorizer = authorizer
    handler.banner = "Orvane test server ready."
    server = FTPServer(("127.0.0.1", 0), handler)
    write_lines(args.port_file + ".tmp", [str(server.socket.getsockname()[1])])
    os.rename(args.port_file + ".tmp", args.port_file)
    server.serve_forever()


def main():
    p = argparse.ArgumentParser()
    sub = p.add_subparsers(dest="cmd", required=True)
    for cmd in ("start", "stop"):
        s = sub.add_parser(cmd)
        s.add_argument("name", choices=sorted(NAMES))
        s.add_argument("state_dir")
    sub.add_parser("fetch-proftpd").add_argument("state_dir")
    s = sub.add_parser("pyftpd")
    for opt in ("--root", "--user", "--password", "--port-file"):
        s.add_argument(opt, required=True)
    s.add_argument("--cert")
    s.add_argument("--key")
    s.add_argument("--throttle", type=int, default=0)
    args = p.parse_args()
    if args.cmd == "start":
        os.makedirs(args.state_dir, exist_ok=True)
        try:
            start(args.name, args.state_dir)
        except Exception:
            stop(args.name, args.state_dir)
            raise
    elif args.cmd == "stop":
        stop(args.name, args.state_dir)
    elif args.cmd == "fetch-proftpd":
        os.makedirs(args.state_dir, exist_ok=True)
        print(proftpd_dist(args.state_dir))
    else:
        run_pyftpd(args)


if __name__ == "__main__":
    sys.exit(main())
