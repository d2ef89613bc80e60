"""Publishing a generated site with the real program to real servers on the loopback interface,
grouped by what a user does:

  sftp, webdav, ftps, s3  the first publish puts the site there byte for byte and nothing hidden;
                          a caption edit of the same length sends that page only; a removed
                          slide's files leave and the user's own file stays; another machine
                          publishing the same site sends nothing; WebDAV keeps a folder holding a
                          file of the user's, FTPS sends large files whole under temporary
                          names, S3's check reads more than one page of keys
  refusals                an unknown or changed host key, an untrusted certificate, a wrong
                          password or secret, a read-only place, a full disk and a bad command
                          line each fail with the reason, and nothing is called published that
                          the server does not hold
  killed                  a server killed while a publish runs: run again, the server ends up
                          holding the site and gets again none of the files it held whole but
                          those it had just renamed into place; a server back within the
                          retries: the publish goes on to the end

publish_test.py VISTELLO TEMPLATES BUILD GROUP; run with Debian's /usr/bin/python3."""
import atexit
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

# The source tree gets no compiled copy of the harness.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import servers  # noqa: E402

program, templates, build = (os.path.abspath(argument) for argument in sys.argv[1:4])
group = sys.argv[4]
MANIFEST = ".vistello-published"
SUMMARY = re.compile(r"^Published (\d+) files \((\d+\.\d) MB\), removed (\d+), (\d+) unchanged$")
DRY_SUMMARY = re.compile(r"^Would publish (\d+) files \((\d+\.\d) MB\), remove (\d+), "
                         r"(\d+) unchanged$")
# A name of every kind a server may take wrongly, "%20" in it meaning itself, not a space.
ODD_NAME = "Lake #1 100%20 é"


def fail(what):
    for server in servers.running():
        with open(server.log, errors="replace") as log:
            print("%s's log ends:\n%s" % (server.name, log.read()[-3000:]), file=sys.stderr)
    print("FAIL: " + what, file=sys.stderr)
    sys.exit(1)


def expect(what, got, wanted):
    if got != wanted:
        fail("%s: got %r, wanted %r" % (what, got, wanted))


def hidden(name):
    return any(step.startswith(".") for step in name.split("/"))


class Site:
    """A project of small photos with captions, generated into its output folder, on a machine
    of its own: a HOME and a state folder where the program keeps what it published."""

    def __init__(self, address, photos=10, photo_bytes=None, home=None, env=None):
        self.work = tempfile.mkdtemp(prefix="vistello-site-")
        atexit.register(shutil.rmtree, self.work, ignore_errors=True)
        self.output = os.path.join(self.work, "web")
        os.makedirs(self.output)
        self.project = os.path.join(self.work, "site.dat")
        self.address = address
        self.home = home or os.path.join(self.work, "home")
        os.makedirs(self.home, exist_ok=True)
        self.state = os.path.join(self.work, "state")
        self.env = dict(env or {})
        self.slides = []
        for number in range(photos):
            name = "%s.jpg" % ODD_NAME if number == 1 else "photo %02d.jpg" % number
            path = os.path.join(self.work, name)
            if photo_bytes:
                # One large picture, each copy its own by the bytes after its end.
                with open(path, "wb") as photo:
                    photo.write(photo_bytes + os.urandom(64))
            else:
                servers.run(["vips", "gaussnoise", path, "64", "48"])
            title = ODD_NAME if number == 1 else "Slide %02d" % number
            self.slides.append({"IMAGE": name, "TITLE": title, "DESCRIPTION": "Calm lake"})
        self.generate()

    def write(self):
        lines = ["TEMPLATE=%s/light.htm" % templates, "OVERVIEW=%s/light-overview.htm" % templates,
                 "OUTPUT=web", "PUBLISH=" + self.address]
        for slide in self.slides:
            lines += ["%s=%s" % field for field in slide.items()] + [""]
        with open(self.project, "w") as project:
            project.write("\n".join(lines) + "\n")

    def generate(self):
        self.write()
        said = subprocess.run([program, "--generate", self.project], cwd=self.work,
                              capture_output=True, text=True)
        if said.returncode != 0:
            fail("generate: " + said.stderr)

    def files(self):
        """What the site is: every file of the output folder but the hidden ones."""
        return {name: digest for name, digest in servers.hashes(self.output).items()
                if not hidden(name)}

    def environment(self, env=None):
        """This machine's: none of the user's own keys, agent or state."""
        environment = {key: value for key, value in os.environ.items()
                       if not key.startswith("AWS_") and key != "SSH_AUTH_SOCK"}
        environment.update(HOME=self.home, XDG_STATE_HOME=self.state)
        environment.update(self.env)
        environment.update(env or {})
        return environment

    def run(self, *options, env=None):
        return subprocess.run(self.argv(options), cwd=self.work, env=self.environment(env),
                              capture_output=True, text=True, timeout=300,
                              preexec_fn=servers.die_with_parent)

    def argv(self, options):
        """The program with the options, the project named right after --publish."""
        options = list(options)
        at = options.index("--publish") + 1 if "--publish" in options else len(options)
        return [program] + options[:at] + [self.project] + options[at:]


def published(said, what):
    """The counts of a publish that ended with the server holding the site."""
    last = said.stdout.strip().split("\n")[-1]
    match = SUMMARY.match(last)
    if said.returncode != 0 or not match or said.stderr.strip():
        fail("%s: exit %d, said %r, %r" % (what, said.returncode, said.stdout, said.stderr))
    return int(match[1]), int(match[3]), int(match[4])


def planned(said, what):
    """What a dry run would send and remove."""
    lines = said.stdout.strip().split("\n")
    match = DRY_SUMMARY.match(lines[-1])
    if said.returncode != 0 or not match:
        fail("%s: exit %d, said %r, %r" % (what, said.returncode, said.stdout, said.stderr))
    sends = [line[5:] for line in lines[:-1] if line.startswith("send ")]
    removes = [line[7:] for line in lines[:-1] if line.startswith("remove ")]
    expect(what + ": the lines of a dry run", len(sends) + len(removes), len(lines) - 1)
    expect(what + ": the count of files to send", int(match[1]), len(sends))
    expect(what + ": the count of files to remove", int(match[3]), len(removes))
    return sends, removes


def refused(said, what, *words):
    """A publish that failed with its reason, and the count of files it said it sent."""
    reasons = [line for line in said.stderr.split("\n") if line.startswith("vistello: ")]
    text = " ".join(reasons).lower()
    if said.returncode != 1 or not reasons or \
            words and not any(word.lower() in text for word in words):
        fail("%s: wanted exit 1 and a reason with one of %s; got exit %d, %r, %r"
             % (what, words, said.returncode, said.stdout, said.stderr))
    match = SUMMARY.match((said.stdout.strip().split("\n") or [""])[-1])
    return int(match[1]) if match else 0


def holds(server, site, what, own=()):
    """The server holds the site's files byte for byte, the program's record of them, the
    user's own files, and nothing else: no hidden file, no record, no temporary."""
    held = server.files()
    record = held.pop(MANIFEST, None)
    for name in own:
        held.pop(name, None)
    wanted = site.files()
    if held != wanted:
        fail("%s: the server holds other files than the site: %s missing, %s wrong, %s more"
             % (what, sorted(set(wanted) - set(held)),
                sorted(name for name in wanted if name in held and held[name] != wanted[name]),
                sorted(set(held) - set(wanted))))
    if record is None:
        fail("%s: the server has no %s" % (what, MANIFEST))


def touched(before, after):
    """The files of the server written since `before`, the program's record aside."""
    return {name for name, stamp in after.items()
            if before.get(name) != stamp and name != MANIFEST}


def round_trip(server, site, options, what):
    """What a user does with a site, from the first publish to another machine's."""
    os.makedirs(os.path.join(site.output, ".cache"))
    for name in (".draft.htm", ".cache/notes.txt"):
        with open(os.path.join(site.output, name), "w") as file:
            file.write("not for the server\n")
    sends, removes = planned(site.run("--publish", "--dry-run", *options), what + ", dry run")
    expect(what + ": a dry run lists the whole site", sorted(sends), sorted(site.files()))
    expect(what + ": a dry run removes nothing", removes, [])
    expect(what + ": a dry run sends nothing", server.files(), {})

    sent, removed, unchanged = published(site.run("--publish", *options), what + ", first")
    expect(what + ": the first publish sends every file", (sent, removed, unchanged),
           (len(site.files()), 0, 0))
    holds(server, site, what + ", first")
    with open(server.path(MANIFEST), "rb") as record:
        kept = record.read().decode()
    for name, digest in site.files().items():
        if digest not in kept:
            fail("%s: the server's record lacks the sum of %s" % (what, name))
    if site.work in kept:
        fail("%s: the server's record names a folder of this machine" % what)
    server.put_user_file("robots.txt", b"User-agent: *\n")

    # The same number of letters: the page keeps its size and only its bytes differ.
    before, stamps = site.files(), server.stamps()
    site.slides[3]["DESCRIPTION"] = "Cold lake"
    site.write()
    said = site.run("--generate", "--publish", *options)
    changed = {name for name, digest in site.files().items() if before.get(name) != digest}
    expect(what + ": the edit changes one page", len(changed), 1)
    sent, removed, unchanged = published(said, what + ", after the edit")
    expect(what + ": after the edit", (sent, removed, unchanged), (1, 0, len(before) - 1))
    expect(what + ": the files the edit sent", touched(stamps, server.stamps()), changed)
    holds(server, site, what + ", after the edit", own=["robots.txt"])

    before, stamps = site.files(), server.stamps()
    del site.slides[5]
    site.generate()
    gone = set(before) - set(site.files())
    sends, removes = planned(site.run("--publish", "--dry-run", *options), what + ", dry removal")
    expect(what + ": a dry run lists the removed slide's files", sorted(removes), sorted(gone))
    sent, removed, unchanged = published(site.run("--publish", *options), what + ", removal")
    expect(what + ": the slide's files removed", removed, len(gone))
    expect(what + ": what the removal sent", touched(stamps, server.stamps()), set(sends))
    holds(server, site, what + ", after the removal", own=["robots.txt"])

    stamps = server.stamps()
    shutil.rmtree(site.state)
    sent, removed, unchanged = published(site.run("--publish", *options), what + ", new machine")
    expect(what + ": another machine publishing the same site",
           (sent, removed, unchanged), (0, 0, len(site.files())))
    expect(what + ": the files another machine sent", touched(stamps, server.stamps()), set())


def password_file(site, password):
    path = os.path.join(site.work, "password")
    with open(path, "w") as file:
        file.write(password + "\n")
    return path


def sftp():
    with servers.Sshd() as sshd:
        site = Site(sshd.address(), home=sshd.home)
        round_trip(sshd, site, [], "sftp")
        # Three slides of nine at once is more than a tenth of the site: asked first.
        stamps = sshd.stamps()
        del site.slides[2:5]
        site.generate()
        said = site.run("--publish")
        expect("sftp: many removals send nothing", refused(said, "sftp, many removals",
                                                           "--allow-removals"), 0)
        expect("sftp: the files many removals touched", touched(stamps, sshd.stamps()), set())
        published(site.run("--publish", "--allow-removals"), "sftp, --allow-removals")
        holds(sshd, site, "sftp, --allow-removals", own=["robots.txt"])


def add_files(site, folder, count, size):
    """`count` files of `size` random bytes in a folder of the site's output folder."""
    os.makedirs(os.path.join(site.output, folder))
    for number in range(count):
        with open(os.path.join(site.output, folder, "%04d.bin" % number), "wb") as file:
            file.write(os.urandom(size))


def webdav():
    # The site's folder on the server is named as freely as the files in it.
    with servers.WebDav(site=ODD_NAME) as dav:
        site = Site(dav.address())
        options = ["--password-file", password_file(site, dav.password)]
        round_trip(dav, site, options, "webdav")
        # A folder the site no longer has is removed, but not while it holds a file of the
        # user's: a collection goes with all it holds.
        add_files(site, "extra", 1, 10)
        published(site.run("--publish", *options), "webdav, a folder more")
        dav.put_user_file("extra/own.txt", b"mine\n")
        shutil.rmtree(os.path.join(site.output, "extra"))
        published(site.run("--publish", "--allow-removals", *options), "webdav, the folder gone")
        expect("webdav: the user's file in a folder the site left",
               "extra/own.txt" in dav.files(), True)


def ftps():
    with servers.Ftp(tls=True) as ftp:
        site = Site(ftp.address(), env={"SSL_CERT_FILE": ftp.ca_file})
        options = ["--password-file", password_file(site, ftp.password)]
        round_trip(ftp, site, options, "ftps")
        # Large files over several connections arrive whole the first time.
        add_files(site, "large", 40, 1000000)
        sent, _, _ = published(site.run("--publish", *options), "ftps, large files")
        expect("ftps: large files sent", sent, 40)
        with open(ftp.log, errors="replace") as log:
            stored = re.findall(r"\] STOR (.*) completed=", log.read())
        # Nobody fetches half a file: each goes under a temporary name, then is renamed.
        expect("ftps: files written under their own names",
               [name for name in stored if "/.vistello-up-" not in name], [])


def s3():
    with servers.S3(build, prefix="web/" + ODD_NAME) as s3:
        site = Site(s3.address())
        options = ["--password-file", password_file(site, s3.secret)]
        round_trip(s3, site, options, "s3")
        # The server lists a thousand keys a page: the check reads every page.
        add_files(site, "many", 1001, 1)
        published(site.run("--publish", *options), "s3, more keys than a page")


def host_keys():
    with servers.Sshd() as sshd:
        site = Site(sshd.address(), home=sshd.home)
        sshd.know(False)
        said = site.run("--publish")
        refused(said, "sftp, an unknown host", sshd.fingerprint)
        wrong = "SHA256:" + "A" * 43
        refused(site.run("--publish", "--accept-host-key", wrong), "sftp, another key accepted",
                sshd.fingerprint)
        expect("sftp: what an unknown host got", sshd.files(), {})
        published(site.run("--publish", "--accept-host-key", sshd.fingerprint),
                  "sftp, the key accepted")
        holds(sshd, site, "sftp, the key accepted")
        # The key accepted is known from then on.
        published(site.run("--publish"), "sftp, the key known")
        old = sshd.fingerprint
        sshd.stop()
        for name in (sshd.host_key, sshd.host_key + ".pub"):
            os.remove(name)
        servers.run(["ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-f", sshd.host_key])
        sshd.start()
        said = site.run("--publish")
        refused(said, "sftp, a changed host key", sshd.fingerprint)
        if old in said.stderr:
            fail("sftp: a changed host key was named by its old fingerprint")


def logins_and_places():
    with servers.WebDav() as dav:
        site = Site(dav.address())
        said = site.run("--publish", "--password-file", password_file(site, "wrong"))
        expect("webdav: sent with a wrong password", refused(
            said, "webdav, a wrong password", "password", "login", "401", "refused"), 0)
        site.address = dav.address("/readonly/site")
        site.write()
        said = site.run("--publish", "--password-file", password_file(site, dav.password))
        expect("webdav: sent to a read-only place", refused(
            said, "webdav, read-only", "403", "forbidden", "denied", "permission"), 0)
        expect("webdav: what a refusing server got", dav.files(), {})
    with servers.Ftp(quota=60000) as ftp:
        site = Site(ftp.address(), photos=12, photo_bytes=make_photo(320, 240))
        said = site.run("--publish", "--password-file", password_file(site, "wrong"))
        expect("ftp: sent with a wrong password", refused(
            said, "ftp, a wrong password", "password", "login", "530", "refused"), 0)
        # A folder the user may read and not write.
        os.makedirs(ftp.site)
        site.address = ftp.address(user="reader")
        site.write()
        said = site.run("--publish", "--password-file", password_file(site, ftp.password))
        expect("ftp: sent by a reader", refused(said, "ftp, read-only", "privileges", "denied",
                                                "permission"), 0)
        # A disk that fills: what is said to be sent is there, and once there is room the
        # rest goes.
        site.address = ftp.address(user="small")
        site.write()
        said = site.run("--publish", "--password-file", password_file(site, ftp.password))
        sent = refused(said, "ftp, a full disk", "space", "full")
        whole = {name: digest for name, digest in hashes_below(ftp.small_site).items()
                 if site.files().get(name) == digest}
        if sent > len(whole):
            fail("ftp: %d files called sent to a full disk that holds %d" % (sent, len(whole)))
        ftp.stop()
        ftp.set_quota(10 ** 9)
        ftp.start()
        stamps = {name: os.stat(os.path.join(ftp.small_site, name)).st_mtime_ns
                  for name in whole}
        published(site.run("--publish", "--password-file", password_file(site, ftp.password)),
                  "ftp, room again")
        again = [name for name, stamp in stamps.items()
                 if os.stat(os.path.join(ftp.small_site, name)).st_mtime_ns != stamp]
        expect("ftp: files sent again after the disk filled", again, [])
    with servers.S3(build) as s3:
        site = Site(s3.address())
        said = site.run("--publish", env={"AWS_SECRET_ACCESS_KEY": "wrong"})
        expect("s3: sent with a wrong secret", refused(
            said, "s3, a wrong secret", "signature", "403", "denied", "refused"), 0)
        site.address = s3.address(access_key="READER")
        site.write()
        said = site.run("--publish", env={"AWS_SECRET_ACCESS_KEY": "READER-SECRET"})
        expect("s3: sent by a reader", refused(said, "s3, read-only", "denied", "403"), 0)
        expect("s3: what a refusing server got", s3.files(), {})
        # The access key from the environment where the address names none.
        site.address = s3.address().replace(s3.access_key + "@", "")
        site.write()
        published(site.run("--publish", env={"AWS_ACCESS_KEY_ID": s3.access_key,
                                             "AWS_SECRET_ACCESS_KEY": s3.secret}),
                  "s3, keys from the environment")
        holds(s3, site, "s3, keys from the environment")


def certificates():
    with servers.Ftp(tls=True) as ftp:
        site = Site(ftp.address(), photos=1)
        said = site.run("--publish", "--password-file", password_file(site, ftp.password))
        refused(said, "ftps, a certificate nobody vouches for", "certificate", "SSL")
        expect("ftps: what a server nobody vouches for got", ftp.files(), {})


def command_lines():
    site = Site("sftp://nobody@127.0.0.1:1/site", photos=1)
    for options in (["--dry-run"], ["--publish", "--accept-host-key"],
                    ["--allow-removals", "--generate"]):
        said = site.run(*options)
        expect("exit status of %s" % options, said.returncode, 2)
    site.address = ""
    site.write()
    refused(site.run("--publish"), "a project without PUBLISH=", "PUBLISH")


def hashes_below(folder):
    return servers.hashes(folder) if os.path.isdir(folder) else {}


def make_photo(width, height):
    path = os.path.join(tempfile.mkdtemp(), "photo.jpg")
    servers.run(["vips", "gaussnoise", path, str(width), str(height)])
    with open(path, "rb") as photo:
        data = photo.read()
    shutil.rmtree(os.path.dirname(path))
    return data


def refusals():
    host_keys()
    certificates()
    logins_and_places()
    command_lines()


def publish_while(server, site, options, then):
    """Starts a publish, and once the server holds a few of the site's files, calls `then`
    while it runs; returns what the publish said."""
    out, err = (tempfile.TemporaryFile("w+") for _ in range(2))
    running = subprocess.Popen(site.argv(["--publish"] + options), cwd=site.work,
                               env=site.environment(), stdout=out, stderr=err, text=True,
                               preexec_fn=servers.die_with_parent)
    deadline = time.time() + 60
    while server.count() < 4 and running.poll() is None and time.time() < deadline:
        time.sleep(0.005)
    if running.poll() is not None:
        fail("the publish ended before the server could be killed: make the site bigger")
    then()
    running.wait(120)
    out.seek(0)
    err.seek(0)
    return subprocess.CompletedProcess(running.args, running.returncode, out.read(), err.read())


def killed():
    photo = make_photo(1600, 1067)
    with servers.Sshd() as sshd:
        site = Site(sshd.address(), photos=60, photo_bytes=photo, home=sshd.home)
        said = publish_while(sshd, site, [], sshd.kill)
        sent = refused(said, "sftp, the server killed")
        whole = {name for name, digest in sshd.files().items()
                 if site.files().get(name) == digest}
        if sent > len(whole):
            fail("sftp: %d files called sent to a killed server that holds %d"
                 % (sent, len(whole)))
        stamps = sshd.stamps()
        sshd.start()
        sent, removed, unchanged = published(site.run("--publish"), "sftp, after the kill")
        holds(sshd, site, "sftp, after the kill")
        # A file the server renamed into place as it was killed, before it could say so, may
        # go again: one for each connection at most.
        again = touched({name: stamps[name] for name in whole}, sshd.stamps()) & whole
        if len(again) > 4:
            fail("sftp: files sent again that the killed server held whole: %s" % sorted(again))
    # Back before the publish gives up: it goes on and ends with the site.
    with servers.WebDav() as dav:
        site = Site(dav.address(), photos=60, photo_bytes=photo)
        options = ["--password-file", password_file(site, dav.password)]

        def restart():
            dav.kill()
            dav.start()
        published(publish_while(dav, site, options, restart), "webdav, the server restarted")
        holds(dav, site, "webdav, the server restarted")


GROUPS = {"sftp": sftp, "webdav": webdav, "ftps": ftps, "s3": s3, "refusals": refusals,
          "killed": killed}
GROUPS[group]()
