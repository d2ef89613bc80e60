"""Publishing over SFTP to an sshd on the loopback interface, against rsync over ssh to the same
server, each run a new process with the site in the page cache:

  (a) the first publish of a 5,000-photo site, and `rsync -a` of the same folder to another
      folder of the server;
  (b) after one caption changed and the site generated again: the publish, and rsync again;
  (c) a 20,000-photo site published with nothing changed: seconds and peak memory.

The photos are 1600 x 1072 JPEGs of about 350 KB; the site holds copies of them and a page each.
publish_bench.py BUILD, with Debian's /usr/bin/python3; the photos stay in BUILD/bench-publish
for the next run."""
import os
import shutil
import subprocess
import sys

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(root, "tests", "publish"))
import servers  # noqa: E402

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build"))
program = os.path.join(build, "vistello")
templates = os.path.join(root, "templates")
scratch = os.path.join(build, "bench-publish")
PICTURES = 16


def pictures():
    """A few camera-sized pictures; every photo of a site is one of them with bytes of its own
    after the picture's end, since a site copies a file it is shown twice only once."""
    folder = os.path.join(scratch, "pictures")
    made = [os.path.join(folder, "picture %02d.jpg" % number) for number in range(PICTURES)]
    if all(os.path.exists(path) for path in made):
        return made
    os.makedirs(folder, exist_ok=True)
    for number, path in enumerate(made):
        bands = []
        for band in range(3):
            bands.append(os.path.join(folder, "band%d.v" % band))
            servers.run(["vips", "gaussnoise", bands[-1], "400", "268", "--sigma", "60",
                         "--seed", str(number * 3 + band)])
        servers.run(["vips", "bandjoin", " ".join(bands), folder + "/rgb.v"])
        servers.run(["vips", "resize", folder + "/rgb.v", folder + "/big.v", "4",
                     "--kernel", "cubic"])
        servers.run(["vips", "copy", folder + "/big.v", path + "[Q=90,strip]"])
    for name in os.listdir(folder):
        if name.endswith(".v"):
            os.remove(os.path.join(folder, name))
    return made


class Site:
    def __init__(self, photos, address, home):
        self.work = os.path.join(scratch, "site-%d" % photos)
        shutil.rmtree(self.work, ignore_errors=True)
        self.output = os.path.join(self.work, "web")
        os.makedirs(self.output)
        self.project = os.path.join(self.work, "site.dat")
        self.env = dict(os.environ, HOME=home, XDG_STATE_HOME=os.path.join(self.work, "state"))
        self.env.pop("SSH_AUTH_SOCK", None)
        made = []
        for path in pictures():
            with open(path, "rb") as picture:
                made.append(picture.read())
        photos_folder = os.path.join(self.work, "photos")
        os.makedirs(photos_folder)
        self.lines = ["TEMPLATE=%s/light.htm" % templates,
                      "OVERVIEW=%s/light-overview.htm" % templates, "OUTPUT=web",
                      "PUBLISH=" + address]
        for number in range(photos):
            name = "IMG_%05d.jpg" % number
            with open(os.path.join(photos_folder, name), "wb") as photo:
                photo.write(made[number % PICTURES] + b"photo %d" % number)
            self.lines += ["IMAGE=photos/" + name, "TITLE=Photo %d" % number,
                           "DESCRIPTION=Calm lake", ""]
        self.generate()

    def generate(self):
        with open(self.project, "w") as project:
            project.write("\n".join(self.lines) + "\n")
        subprocess.run([program, "--generate", self.project], cwd=self.work, env=self.env,
                       check=True, stdout=subprocess.DEVNULL)
        # In the page cache, as after the generate that made it.
        for top, _, names in os.walk(self.output):
            for name in names:
                with open(os.path.join(top, name), "rb") as file:
                    while file.read(1 << 20):
                        pass

    def edit_caption(self):
        at = self.lines.index("DESCRIPTION=Calm lake")
        self.lines[at] = "DESCRIPTION=Cold lake"
        self.generate()


def measure(what, photos, argv, env=None, cwd=None):
    """Runs the command; prints and returns its seconds, and its peak memory in MB."""
    subprocess.run(["sync"], check=True)
    timing = os.path.join(scratch, "time")
    said = subprocess.run(["/usr/bin/time", "-f", "%e %M", "-o", timing] + argv, env=env,
                          cwd=cwd, capture_output=True, text=True)
    if said.returncode != 0:
        sys.exit("%s failed: %s%s" % (what, said.stdout, said.stderr))
    with open(timing) as file:
        seconds, kb = file.read().split()[-2:]
    print("%-40s %6d %9s %8d" % (what, photos, seconds, int(kb) // 1024), flush=True)
    return float(seconds), int(kb) // 1024


def main():
    os.makedirs(scratch, exist_ok=True)
    print("%-40s %6s %9s %8s" % ("run", "photos", "seconds", "peak_MB"), flush=True)
    with servers.Sshd() as sshd:
        site = Site(5000, sshd.address(), sshd.home)
        copy = os.path.join(os.path.dirname(sshd.site), "rsync")
        rsync = ["rsync", "-a", "-e", sshd.ssh_command(), site.output + "/",
                 "%s@%s:%s/" % (sshd.user, servers.LOOPBACK, copy)]
        first, _ = measure("publish, first", 5000, [program, "--publish", site.project],
                           site.env, site.work)
        synced, _ = measure("rsync -a, first", 5000, rsync)
        site.edit_caption()
        edit, _ = measure("publish, one caption changed", 5000,
                          [program, "--publish", site.project], site.env, site.work)
        again, _ = measure("rsync -a, one caption changed", 5000, rsync)
        print("first publish / first rsync:          %.2f (at most 1.2)" % (first / synced))
        print("publish after the edit / first:       1/%.0f (at most 1/50)"
              % (first / max(edit, 0.01)))
        print("publish after the edit / rsync again: %.2f (below 1)" % (edit / max(again, 0.01)))
        shutil.rmtree(site.work)
    with servers.Sshd() as sshd:
        site = Site(20000, sshd.address(), sshd.home)
        measure("publish, first", 20000, [program, "--publish", site.project], site.env,
                site.work)
        seconds, peak = measure("publish, nothing changed", 20000,
                                [program, "--publish", site.project], site.env, site.work)
        print("nothing changed: %.2f s (at most 2), %d MB (at most 100)" % (seconds, peak))
        shutil.rmtree(site.work)


if __name__ == "__main__":
    main()
