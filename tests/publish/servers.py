"""Real servers on the loopback interface for the publishing tests: OpenSSH's sshd for SFTP,
lighttpd with mod_webdav, pyftpdlib for FTP and FTPS, and s3rver for S3, each on a free high
port of 127.0.0.1 with its own temporary folder, its own configuration, keys and certificate.

Each runs in its own process group and dies with the test: it is stopped by its process id, its
group and every process below it, when the test ends, fails or is interrupted. kill() stops one
at once, as a crash would, and start() brings it back on the same port and folder.

Run with Debian's /usr/bin/python3, which has pyftpdlib. `servers.py BUILD` starts each server
and works it with the curl tool, to show the servers are what the tests take them for."""
import atexit
import ctypes
import hashlib
import os
import pwd
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.parse

PYTHON = "/usr/bin/python3"
HERE = os.path.dirname(os.path.abspath(__file__))
LOOPBACK = "127.0.0.1"
_running = set()


def die_with_parent():
    """For a child: killed when this process dies, however it dies."""
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


def _own_group_and_die_with_parent():
    os.setsid()
    die_with_parent()


def start_process(argv, log, env=None, cwd=None):
    """A child in its own process group that is killed when this process dies, however."""
    with open(log, "ab") as out:
        return subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=out, stderr=out, env=env,
                                cwd=cwd, preexec_fn=_own_group_and_die_with_parent)


def _children():
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open("/proc/%s/stat" % entry) as stat:
                    parent = int(stat.read().rsplit(")", 1)[1].split()[1])
            except (OSError, IndexError, ValueError):
                continue
            children.setdefault(parent, []).append(int(entry))
    return children


def descendants(pid):
    """Every process below pid: sshd puts each connection in a session of its own."""
    children, found, todo = _children(), [], [pid]
    while todo:
        for child in children.get(todo.pop(), []):
            found.append(child)
            todo.append(child)
    return found


def end_process(process, grace=5.0):
    """Stops the process, its group and everything below it; SIGKILL at once when grace is 0."""
    targets = [process.pid] + descendants(process.pid)
    for sig in ([signal.SIGTERM] if grace else []) + [signal.SIGKILL]:
        for pid in targets:
            try:
                os.kill(pid, sig)
            except ProcessLookupError:
                pass
        try:
            os.killpg(process.pid, sig)
        except ProcessLookupError:
            pass
        try:
            process.wait(grace or 5)
            break
        except subprocess.TimeoutExpired:
            continue
    process.wait()
    # The processes below are not this one's children: wait until they are gone or dead.
    deadline = time.time() + 5
    for pid in targets[1:]:
        while _alive(pid) and time.time() < deadline:
            time.sleep(0.02)


def _alive(pid):
    try:
        with open("/proc/%d/stat" % pid) as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


def free_port():
    with socket.socket() as probe:
        probe.bind((LOOPBACK, 0))
        return probe.getsockname()[1]


def _answers(port):
    try:
        with socket.create_connection((LOOPBACK, port), timeout=0.5):
            return True
    except OSError:
        return False


def hashes(folder):
    """Every regular file below folder by its name relative to it, "/" between steps: its
    SHA-256."""
    found = {}
    for top, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(top, name)
            with open(path, "rb") as data:
                found[os.path.relpath(path, folder).replace(os.sep, "/")] = \
                    hashlib.sha256(data.read()).hexdigest()
    return found


def run(argv, **options):
    return subprocess.run(argv, check=True, capture_output=True, **options)


def make_certificate(folder):
    """A self-signed certificate for 127.0.0.1; returns its file and its key's."""
    cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
    run(["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
         "-nodes", "-days", "2", "-subj", "/CN=" + LOOPBACK,
         "-addext", "subjectAltName=IP:" + LOOPBACK, "-keyout", key, "-out", cert])
    return cert, key


class Server:
    """One server: start() it, kill() it, start() it again on the same port and folder, and
    close() it, which also removes its folder. `site` is where the published site lands on this
    machine's disk."""
    name = "server"

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="vistello-%s-" % self.name)
        self.port = free_port()
        self.log = os.path.join(self.folder, "server.log")
        self.process = None

    def argv(self):
        raise NotImplementedError

    def env(self):
        return None

    def start(self):
        deadline = time.time() + 30
        while True:
            self.process = start_process(self.argv(), self.log, self.env(), self.folder)
            _running.add(self)
            while time.time() < deadline and self.process.poll() is None:
                if _answers(self.port):
                    return self
                time.sleep(0.05)
            # A port just freed by a killed server may not be free at once.
            if self.process.poll() is None or time.time() >= deadline:
                break
            time.sleep(0.2)
        self.stop()
        with open(self.log, errors="replace") as log:
            raise RuntimeError("%s did not start on port %d:\n%s"
                               % (self.name, self.port, log.read()[-2000:]))

    def stop(self, grace=5.0):
        if self.process is not None:
            end_process(self.process, grace)
            self.process = None
        _running.discard(self)

    def kill(self):
        """Gone at once, with every connection it had, as when it crashes."""
        self.stop(grace=0)

    def close(self):
        self.stop()
        shutil.rmtree(self.folder, ignore_errors=True)

    def __enter__(self):
        return self.start()

    def __exit__(self, *_):
        self.close()

    def files(self):
        """What the server holds of the site: name -> SHA-256."""
        return hashes(self.site) if os.path.isdir(self.site) else {}

    def path(self, name):
        """Where the server keeps the file of that name on this machine's disk."""
        return os.path.join(self.site, name)

    def count(self):
        """How many files the server holds of the site, quickly."""
        return sum(len(names) for _, _, names in os.walk(self.site))

    def stamps(self):
        """name -> (inode, modification time) of what the server holds: a file sent again has
        another."""
        found = {}
        for name in self.files():
            info = os.stat(self.path(name))
            found[name] = (info.st_ino, info.st_mtime_ns)
        return found

    def put_user_file(self, name, data):
        """A file of the user's own beside the site, put there by another program."""
        path = os.path.join(self.site, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as file:
            file.write(data)


def running():
    """The servers started and not stopped yet."""
    return list(_running)


def _stop_all():
    for server in list(_running):
        server.stop(grace=1)


def _stop_and_exit(number, _):
    _stop_all()
    sys.exit(128 + number)


atexit.register(_stop_all)
for _signal in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
    signal.signal(_signal, _stop_and_exit)


class Sshd(Server):
    """OpenSSH's sshd with a host key and one user key made here, for the user this runs as.
    `home` is a HOME for the program, its .ssh holding the user's key and a known_hosts that
    knows the host's key (know(False) empties it)."""
    name = "sshd"

    def __init__(self):
        super().__init__()
        self.user = pwd.getpwuid(os.getuid()).pw_name
        self.site = os.path.join(self.folder, "data", "site")
        os.makedirs(os.path.dirname(self.site))
        self.home = os.path.join(self.folder, "home")
        ssh = os.path.join(self.home, ".ssh")
        os.makedirs(ssh, mode=0o700)
        self.host_key = os.path.join(self.folder, "host_ed25519")
        self.key = os.path.join(ssh, "id_ed25519")
        for key in (self.host_key, self.key):
            run(["ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-C", "vistello-test", "-f", key])
        self.known_hosts = os.path.join(ssh, "known_hosts")
        self.know(True)
        self.config = os.path.join(self.folder, "sshd_config")
        with open(self.config, "w") as config:
            config.write("\n".join([
                "Port %d" % self.port, "ListenAddress " + LOOPBACK, "HostKey " + self.host_key,
                "AuthorizedKeysFile " + self.key + ".pub", "PidFile " + self.folder + "/sshd.pid",
                "StrictModes no", "UsePAM no", "PubkeyAuthentication yes",
                "PasswordAuthentication no", "KbdInteractiveAuthentication no",
                "PermitRootLogin prohibit-password", "UseDNS no", "MaxStartups 100",
                "MaxSessions 100", "Subsystem sftp internal-sftp", "LogLevel VERBOSE", ""]))
        if os.getuid() == 0:
            os.makedirs("/run/sshd", mode=0o755, exist_ok=True)

    def argv(self):
        return ["/usr/sbin/sshd", "-D", "-e", "-f", self.config]

    def know(self, known):
        with open(self.host_key + ".pub") as key:
            kind, body = key.read().split()[:2]
        with open(self.known_hosts, "w") as hosts:
            if known:
                hosts.write("[%s]:%d %s %s\n" % (LOOPBACK, self.port, kind, body))

    @property
    def fingerprint(self):
        """The host key's, as ssh prints it: SHA256:..."""
        said = run(["ssh-keygen", "-l", "-E", "sha256", "-f", self.host_key + ".pub"], text=True)
        return said.stdout.split()[1]

    def address(self, folder=None):
        return "sftp://%s@%s:%d%s" % (self.user, LOOPBACK, self.port,
                                      urllib.parse.quote(folder or self.site))

    def ssh_command(self):
        """The ssh command that logs in as the program does, for rsync -e."""
        return ("ssh -F /dev/null -p %d -i %s -o IdentitiesOnly=yes -o UserKnownHostsFile=%s "
                "-o StrictHostKeyChecking=yes -o BatchMode=yes"
                % (self.port, self.key, self.known_hosts))


class WebDav(Server):
    """lighttpd with mod_webdav behind basic authentication: user vistello, password `password`.
    /SITE takes writes; /readonly/site refuses them."""
    name = "webdav"
    user, password = "vistello", "secret word"

    def __init__(self, site="site"):
        super().__init__()
        self.root = os.path.join(self.folder, "data")
        self.site_name = site
        self.site = os.path.join(self.root, site)
        self.readonly = os.path.join(self.root, "readonly", "site")
        os.makedirs(self.readonly)
        uploads = os.path.join(self.folder, "uploads")
        os.makedirs(uploads)
        users = os.path.join(self.folder, "users")
        with open(users, "w") as file:
            file.write("%s:%s\n" % (self.user, self.password))
        self.config = os.path.join(self.folder, "lighttpd.conf")
        with open(self.config, "w") as config:
            config.write("""server.modules = ("mod_auth", "mod_authn_file", "mod_webdav")
server.document-root = "%s"
server.bind = "%s"
server.port = %d
server.errorlog = "%s"
server.upload-dirs = ("%s")
server.max-request-size = 0
auth.backend = "plain"
auth.backend.plain.userfile = "%s"
auth.require = ("/" => ("method" => "basic", "realm" => "vistello test", "require" => "valid-user"))
webdav.activate = "enable"
$HTTP["url"] =~ "^/readonly(/|$)" { webdav.is-readonly = "enable" }
""" % (self.root, LOOPBACK, self.port, self.log, uploads, users))

    def argv(self):
        return ["/usr/sbin/lighttpd", "-D", "-f", self.config]

    def address(self, folder=None):
        return "http://%s@%s:%d%s" % (self.user, LOOPBACK, self.port,
                                      urllib.parse.quote(folder or "/" + self.site_name))


class Ftp(Server):
    """pyftpdlib: user vistello (password `password`) may write in /site, reader only reads it,
    small's disk fills after `quota` bytes. With tls, explicit TLS is required; `ca_file` is
    the certificate to trust."""
    name = "ftp"
    password = "secret-word"

    def __init__(self, tls=False, quota=200000):
        super().__init__()
        self.tls = tls
        self.scheme = "ftps" if tls else "ftp"
        self.root = os.path.join(self.folder, "data")
        self.site = os.path.join(self.root, "site")
        small = os.path.join(self.folder, "small")
        os.makedirs(self.root)
        os.makedirs(small)
        self.small_site = os.path.join(small, "site")
        self.users = os.path.join(self.folder, "users")
        self.set_quota(quota)
        self.ca_file = None
        if tls:
            self.ca_file, self.key_file = make_certificate(self.folder)

    def set_quota(self, quota):
        """What small may write, from the next start on."""
        with open(self.users, "w") as users:
            users.write("vistello %s elradfmwMT %s\n" % (self.password, self.root))
            users.write("reader %s elr %s\n" % (self.password, self.root))
            users.write("small %s elradfmwMT %s %d\n"
                        % (self.password, os.path.dirname(self.small_site), quota))

    def argv(self):
        argv = [PYTHON, os.path.join(HERE, "ftp_server.py"), str(self.port), self.users]
        return argv + (["--tls", self.ca_file, self.key_file] if self.tls else [])

    def address(self, user="vistello", folder="/site"):
        return "%s://%s@%s:%d%s" % (self.scheme, user, LOOPBACK, self.port,
                                    urllib.parse.quote(folder))


def npm_servers(build):
    """node_modules for the S3 server, installed once under the build folder with `npm ci` from
    the committed lock, and again when the lock changes."""
    folder = os.path.join(build, "publish-servers")
    with open(os.path.join(HERE, "package-lock.json"), "rb") as lock:
        wanted = hashlib.sha256(lock.read()).hexdigest()
    stamp = os.path.join(folder, "installed")
    if os.path.exists(stamp) and open(stamp).read() == wanted:
        return folder
    os.makedirs(folder, exist_ok=True)
    for name in ("package.json", "package-lock.json"):
        shutil.copy(os.path.join(HERE, name), folder)
    run(["npm", "ci", "--no-audit", "--no-fund", "--loglevel=error"], cwd=folder)
    with open(stamp, "w") as file:
        file.write(wanted)
    return folder


class S3(Server):
    """s3rver, with every request's signature checked: key S3RVER (secret S3RVER) writes,
    READER (secret READER-SECRET) only reads. The site goes to bucket `bucket` under `prefix`."""
    name = "s3"
    access_key, secret = "S3RVER", "S3RVER"
    bucket, prefix, region = "site", "web", "us-east-1"

    def __init__(self, build, tls=False, prefix=None):
        super().__init__()
        self.prefix = prefix or self.prefix
        self.modules = npm_servers(os.path.abspath(build))
        self.storage = os.path.join(self.folder, "data")
        os.makedirs(self.storage)
        self.site = os.path.join(self.storage, self.bucket, self.prefix)
        self.tls = tls
        self.ca_file = None
        if tls:
            self.ca_file, self.key_file = make_certificate(self.folder)

    def argv(self):
        # s3rver makes the token of a listing's next page with DES, which OpenSSL 3 keeps
        # among its legacy ciphers.
        argv = ["node", "--openssl-legacy-provider", os.path.join(HERE, "s3_server.js"),
                str(self.port), self.storage,
                self.bucket, self.region]
        return argv + ([self.ca_file, self.key_file] if self.tls else [])

    def env(self):
        return dict(os.environ, NODE_PATH=os.path.join(self.modules, "node_modules"))

    def address(self, access_key=None, folder=None):
        return "s3%s://%s@%s:%d/%s" % ("" if self.tls else "+http", access_key or self.access_key,
                                       LOOPBACK, self.port,
                                       urllib.parse.quote(folder or self.bucket + "/" + self.prefix))

    def files(self):
        # s3rver keeps an object as NAME._S3rver_object beside its details.
        suffix = "._S3rver_object"
        return {name[:-len(suffix)]: digest for name, digest in super().files().items()
                if name.endswith(suffix)}

    def path(self, name):
        return os.path.join(self.site, name + "._S3rver_object")

    def count(self):
        return len(self.files())

    def curl(self, *arguments, secret=None, access_key=None):
        """curl signing as S3 wants, with the status code on the last line."""
        return subprocess.run(
            ["curl", "-sS", "-w", "\n%{http_code}", "--aws-sigv4", "aws:amz:%s:s3" % self.region,
             "-H", "x-amz-content-sha256: UNSIGNED-PAYLOAD",
             "-u", "%s:%s" % (access_key or self.access_key, secret or self.secret)]
            + (["--cacert", self.ca_file] if self.tls else []) + list(arguments),
            capture_output=True, text=True)

    def url(self, key):
        return "%s://%s:%d/%s/%s" % ("https" if self.tls else "http", LOOPBACK, self.port,
                                     self.bucket, urllib.parse.quote(self.prefix + "/" + key))

    def put_user_file(self, name, data):
        with tempfile.NamedTemporaryFile() as file:
            file.write(data)
            file.flush()
            said = self.curl("-T", file.name, self.url(name))
        if not said.stdout.endswith("\n200"):
            raise RuntimeError("s3rver took no %s: %s" % (name, said.stdout + said.stderr))


def _check(build):
    """Each server as the curl tool sees it: what it takes and what it refuses."""
    failures = []

    def curl(*arguments, env=None):
        said = subprocess.run(["curl", "-sS", "-w", "\n%{response_code}"] + list(arguments),
                              capture_output=True, text=True, env=env)
        return said.returncode, said.stdout.rsplit("\n", 1)[-1], said.stdout + said.stderr

    def expect(what, got, wanted):
        print("%-50s %s" % (what, "ok" if got == wanted else "FAILED: %r" % (got,)))
        if got != wanted:
            failures.append(what)

    scratch = tempfile.TemporaryDirectory()
    sample = os.path.join(scratch.name, "a b#%é.txt")
    with open(sample, "wb") as file:
        file.write(b"hello\n")
    named = {"dir/a b#%é.txt": hashlib.sha256(b"hello\n").hexdigest()}
    remote = urllib.parse.quote("dir/a b#%é.txt")
    with Sshd() as sshd:
        env = dict(os.environ, HOME=sshd.home)
        login = ["--key", sshd.key, "--pubkey", sshd.key + ".pub", "-u", sshd.user + ":"]
        url = "sftp://%s:%d%s/" % (LOOPBACK, sshd.port, sshd.site)
        curl(*login, "--ftp-create-dirs", "-T", sample, url + remote, env=env)
        expect("sftp: a file sent arrives by its name", sshd.files(), named)
        sshd.know(False)
        expect("sftp: an unknown host key is refused", curl(*login, url, env=env)[0], 60)
        sshd.know(True)
        sshd.kill()
        expect("sftp: killed, it is gone", _answers(sshd.port), False)
        sshd.start()
        expect("sftp: started again, it answers", curl(*login, url, env=env)[0], 0)
    with WebDav() as dav:
        url = "http://%s:%d" % (LOOPBACK, dav.port)
        login = ["-u", "%s:%s" % (dav.user, dav.password)]
        expect("webdav: a folder is made", curl(*login, "-X", "MKCOL", url + "/site/")[1], "201")
        expect("webdav: no PUT into a missing folder",
               curl(*login, "-T", sample, url + "/site/" + remote)[1], "409")
        curl(*login, "-X", "MKCOL", url + "/site/dir/")
        expect("webdav: PUT", curl(*login, "-T", sample, url + "/site/" + remote)[1], "201")
        expect("webdav: a file sent arrives by its name", dav.files(), named)
        expect("webdav: MOVE", curl(*login, "-X", "MOVE", "-H", "Destination: %s/site/b" % url,
                                    url + "/site/" + remote)[1], "201")
        expect("webdav: a wrong password is refused",
               curl("-u", dav.user + ":no", url + "/site/b")[1], "401")
        expect("webdav: the read-only folder refuses a file",
               curl(*login, "-T", sample, url + "/readonly/site/b")[1], "403")
    for tls in (False, True):
        with Ftp(tls=tls) as ftp:
            url = "ftp://%s:%d/site/" % (LOOPBACK, ftp.port)
            ssl = ["--ssl-reqd", "--cacert", ftp.ca_file] if tls else []
            login = ["-u", "vistello:" + ftp.password] + ssl
            name = ftp.scheme + ": "
            expect(name + "STOR", curl(*login, "--ftp-create-dirs", "-T", sample,
                                       url + remote)[1], "226")
            expect(name + "a file sent arrives by its name", ftp.files(), named)
            expect(name + "a wrong password is refused",
                   curl("-u", "vistello:no", *ssl, url)[1], "530")
            expect(name + "a reader cannot write", curl("-u", "reader:" + ftp.password, *ssl,
                                                        "-T", sample, url + "b")[1], "550")
            big = os.path.join(ftp.folder, "big")
            with open(big, "wb") as file:
                file.write(os.urandom(300000))
            said = curl("-u", "small:" + ftp.password, *ssl, "--ftp-create-dirs", "-T", big,
                        url + "big")
            with open(ftp.log) as log:
                expect(name + "the small disk fills", (said[0] != 0, "No space left on device" in log.read()),
                       (True, True))
            if tls:
                expect("ftps: plain FTP is refused",
                       curl("-u", "vistello:" + ftp.password, url)[1], "550")
                expect("ftps: an unknown certificate is refused",
                       curl("-u", "vistello:" + ftp.password, "--ssl-reqd", url)[0], 60)
    with S3(build) as s3:
        def status(said):
            return said.stdout.rsplit("\n", 1)[-1]
        expect("s3: PUT", status(s3.curl("-T", sample, s3.url("dir/a b#%é.txt"))), "200")
        expect("s3: an object sent arrives by its name", s3.files(), named)
        expect("s3: GET", s3.curl(s3.url("dir/a b#%é.txt")).stdout, "hello\n\n200")
        s3.curl("-T", sample, s3.url("dir/b"))
        listed = s3.curl("%s://%s:%d/%s?list-type=2&max-keys=1" % (
            "https" if s3.tls else "http", LOOPBACK, s3.port, s3.bucket))
        expect("s3: a listing in pages", "<NextContinuationToken>" in listed.stdout, True)
        expect("s3: a wrong secret is refused", status(s3.curl(s3.url("x"), secret="no")), "403")
        expect("s3: an unsigned request is refused", curl(s3.url("dir/a b#%é.txt"))[1], "403")
        expect("s3: a reader cannot write", status(s3.curl(
            "-T", sample, s3.url("x"), access_key="READER", secret="READER-SECRET")), "403")
        expect("s3: a reader reads", status(s3.curl(
            s3.url("dir/a b#%é.txt"), access_key="READER", secret="READER-SECRET")), "200")
        expect("s3: another region is refused", curl(
            "--aws-sigv4", "aws:amz:eu-west-1:s3", "-H", "x-amz-content-sha256: UNSIGNED-PAYLOAD",
            "-u", "S3RVER:S3RVER", s3.url("x"))[1], "400")
        expect("s3: a body other than the one signed is refused", curl(
            "--aws-sigv4", "aws:amz:us-east-1:s3", "-H", "x-amz-content-sha256: "
            + hashlib.sha256(b"other").hexdigest(), "-u", "S3RVER:S3RVER", "-T", sample,
            s3.url("y"))[1], "400")
        s3.kill()
        s3.start()
        expect("s3: started again, it keeps its objects", sorted(s3.files()),
               ["dir/a b#%é.txt", "dir/b"])
    return not failures


if __name__ == "__main__":
    sys.exit(0 if _check(os.path.abspath(sys.argv[1])) else 1)
