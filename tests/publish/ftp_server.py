"""An FTP server on the loopback interface for the publishing tests, pyftpdlib's own, in the
foreground until it is killed:

  ftp_server.py PORT USERS [--tls CERT KEY]

USERS is a file of lines "NAME PASSWORD PERMISSIONS HOME [QUOTA]": pyftpdlib's permission letters
("elr" reads only, "elradfmw" writes too) and, for a user whose disk fills, the bytes its uploads
may write before a write fails as a full disk does. With --tls the server speaks explicit TLS and
refuses a login or a transfer that did not start it."""
import errno
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import DTPHandler, FTPHandler, TLS_DTPHandler, TLS_FTPHandler
from pyftpdlib.log import logger
from pyftpdlib.servers import FTPServer

quotas = {}
written = {}


class FillingFile:
    """A file being uploaded that fails as on a full disk once its user's quota is spent."""

    def __init__(self, file, user):
        self._file = file
        self._user = user

    def write(self, data):
        if written[self._user] + len(data) > quotas[self._user]:
            raise OSError(errno.ENOSPC, "No space left on device")
        written[self._user] += len(data)
        return self._file.write(data)

    def __getattr__(self, name):
        return getattr(self._file, name)


class QuotaFS(AbstractedFS):
    def open(self, filename, mode):
        file = super().open(filename, mode)
        user = self.cmd_channel.username
        if user in quotas and ("w" in mode or "a" in mode or "+" in mode):
            return FillingFile(file, user)
        return file


class SaysDiskFull:
    """A write that failed for want of room is answered 452 with the system's words, as FTP
    servers answer it; pyftpdlib would say "426 None"."""

    def handle_error(self):
        failure = sys.exc_info()[1]
        cause = failure.args[0] if failure is not None and failure.args else None
        if isinstance(cause, OSError) and cause.errno == errno.ENOSPC:
            self._resp = ("452 %s; transfer aborted." % cause.strerror, logger.warning)
            self.close()
        else:
            super().handle_error()


class FullDiskDTPHandler(SaysDiskFull, DTPHandler):
    pass


class EagerTLSDTPHandler(SaysDiskFull, TLS_DTPHandler):
    """libcurl starts TLS on a data connection as soon as it is open, before it sends the
    command that uses it; pyftpdlib would take those early bytes for a hang-up and close it."""

    def readable(self):
        return self._ssl_accepting or super().readable()


def main():
    port, users = int(sys.argv[1]), sys.argv[2]
    authorizer = DummyAuthorizer()
    with open(users) as lines:
        for line in lines:
            fields = line.split()
            if not fields:
                continue
            name, password, permissions, home = fields[:4]
            authorizer.add_user(name, password, home, perm=permissions)
            if len(fields) > 4:
                quotas[name] = int(fields[4])
                written[name] = 0
    handler = FTPHandler
    handler.dtp_handler = FullDiskDTPHandler
    if "--tls" in sys.argv:
        at = sys.argv.index("--tls")
        handler = TLS_FTPHandler
        handler.dtp_handler = EagerTLSDTPHandler
        handler.certfile, handler.keyfile = sys.argv[at + 1], sys.argv[at + 2]
        handler.tls_control_required = True
        handler.tls_data_required = True
    handler.authorizer = authorizer
    handler.abstracted_fs = QuotaFS
    handler.auth_failed_timeout = 0.1
    handler.banner = "Test server ready."
    server = FTPServer(("127.0.0.1", port), handler)
    server.max_cons = 64
    server.serve_forever()


if __name__ == "__main__":
    main()
