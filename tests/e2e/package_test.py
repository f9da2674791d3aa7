"""The Debian package: built from the release preset, its contents checked with
dpkg-deb and lintian, then installed into this system with apt, run from
/usr/bin and removed again without a trace.

Installing changes the system, so that test runs only as root (as CI does)
and never when a vellumor package is installed already: it would remove it.
"""

import configparser
import gzip
import os
import re
import shutil
import subprocess
import tempfile

import pytest
from PIL import Image

from harness.app import App
from harness.program import Launch

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.path.join(SOURCE, "build", "release")
APP_ID = "example.vellumor.Vellumor"
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
FILES = {
    "/usr/bin/vellumor",
    "/usr/share/applications/vellumor.desktop",
    "/usr/share/metainfo/%s.metainfo.xml" % APP_ID,
    "/usr/share/man/man6/vellumor.6.gz",
    "/usr/share/doc/vellumor/copyright",
    "/usr/share/doc/vellumor/changelog.gz",
    "/usr/share/icons/hicolor/scalable/apps/vellumor.svg",
} | {"/usr/share/icons/hicolor/%dx%d/apps/vellumor.png" % (s, s) for s in ICON_SIZES}
# The libraries the program links and the two things it opens at run time.
DEPENDS = {"libsdl2-2.0-0", "libfreetype6", "libfontconfig1", "libgl1", "fonts-dejavu-core"}
APT = ["apt-get", "-y", "-q", "--no-install-recommends", "-o", "DPkg::Lock::Timeout=300"]


def run(command, **kwargs):
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **kwargs)
    assert result.returncode == 0, "%s failed (%d):\n%s" % (" ".join(command), result.returncode, result.stdout[-6000:])
    return result.stdout


def project_version():
    with open(os.path.join(SOURCE, "CMakeLists.txt")) as cmake_lists:
        return re.search(r"project\(vellumor VERSION ([0-9.]+)", cmake_lists.read()).group(1)


@pytest.fixture
def deb():
    """The package, made by cpack from the release build into a directory of
    its own that apt's unprivileged downloader may read too."""
    if not os.path.exists(os.path.join(BUILD, "CMakeCache.txt")):
        run(["cmake", "--preset", "release"], cwd=SOURCE)
    run(["cmake", "--build", "--preset", "release", "--target", "package_parts"], cwd=SOURCE)
    out = tempfile.mkdtemp(prefix="vellumor-deb-")
    try:
        os.chmod(out, 0o755)
        run(["cpack", "-G", "DEB", "-B", out], cwd=BUILD)
        debs = [name for name in os.listdir(out) if name.endswith(".deb")]
        assert len(debs) == 1, "cpack made %s" % debs
        yield os.path.join(out, debs[0])
    finally:
        shutil.rmtree(out)


def field(deb, name):
    return run(["dpkg-deb", "--field", deb, name]).strip()


def dependency_names(depends):
    return {re.match(r"\s*([a-z0-9.+-]+)", alternative).group(1)
            for part in depends.split(",") for alternative in part.split("|")}


def contents(deb):
    """[(path, mode, owner)] of everything in the package, folders included."""
    entries = []
    for line in run(["dpkg-deb", "--contents", deb]).splitlines():
        mode, owner, _, _, _, name = line.split(None, 5)
        entries.append(("/" + name.lstrip("./").rstrip("/"), mode, owner))
    return entries


def read_desktop_entry(path):
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(path)
    return entry["Desktop Entry"]


def test_package_contents(deb):
    assert field(deb, "Package") == "vellumor"
    assert field(deb, "Version") == project_version()
    assert field(deb, "Architecture") == run(["dpkg", "--print-architecture"]).strip()
    depends = field(deb, "Depends")
    assert DEPENDS <= dependency_names(depends), "Depends: %s" % depends

    files = [(path, mode, owner) for path, mode, owner in contents(deb) if mode.startswith("-")]
    assert {path for path, _, _ in files} == FILES
    for path, mode, owner in files:
        assert owner == "root/root", path
        assert mode == ("-rwxr-xr-x" if path == "/usr/bin/vellumor" else "-rw-r--r--"), path

    with tempfile.TemporaryDirectory(prefix="vellumor-deb-tree-") as tree:
        run(["dpkg-deb", "--extract", deb, tree])
        usr_share = os.path.join(tree, "usr", "share")

        # The menu finds the program on PATH and its icon in the hicolor theme,
        # and the software centre finds the menu entry through the metadata.
        entry = read_desktop_entry(os.path.join(usr_share, "applications", "vellumor.desktop"))
        assert entry["Exec"].split()[0] == "vellumor"
        assert entry["Icon"] == "vellumor"
        run(["appstreamcli", "validate-tree", "--no-net", tree])

        # Each rendering has its folder's size and shows the picture: sky
        # above, grey hill in the middle, blue water below, rounded corners.
        for size in ICON_SIZES:
            path = os.path.join(usr_share, "icons", "hicolor", "%dx%d" % (size, size), "apps", "vellumor.png")
            with Image.open(path) as png:
                icon = png.convert("RGBA")
            assert icon.size == (size, size), path
            at = lambda fx, fy: icon.getpixel((int(fx * size), int(fy * size)))
            assert at(0, 0)[3] == 0, "corner of %s not transparent" % path
            r, g, b, a = at(0.5, 0.15)
            assert a == 255 and b > r + 20 and b > g + 20 and r > 100, "sky of %s: %s" % (path, (r, g, b, a))
            r, g, b, a = at(0.5, 0.55)
            assert a == 255 and max(r, g, b) - min(r, g, b) < 12 and r > 100, "hill of %s: %s" % (path, (r, g, b, a))
            r, g, b, a = at(0.5, 0.9)
            assert a == 255 and b > 2 * r and b > 2 * g, "water of %s: %s" % (path, (r, g, b, a))

        with gzip.open(os.path.join(usr_share, "man", "man6", "vellumor.6.gz"), "rt") as man:
            assert man.readline().startswith(".TH VELLUMOR 6 ")

    lint = subprocess.run(["lintian", "--fail-on", "error,warning", deb],
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    assert lint.returncode == 0, "lintian:\n%s" % lint.stdout


def package_states():
    """{package:architecture: state} of every package dpkg knows beyond its name."""
    lines = run(["dpkg-query", "--show", "--showformat", "${Package}:${Architecture} ${db:Status-Status}\n"])
    states = dict(line.split() for line in lines.splitlines())
    return {package: state for package, state in states.items() if state != "not-installed"}


def status(package):
    result = subprocess.run(["dpkg-query", "--show", "--showformat", "${db:Status-Status}", package],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    return result.stdout if result.returncode == 0 else "unknown"


def test_package_installs_runs_and_removes(request, x_server, workdir):
    if os.geteuid() != 0:
        pytest.skip("installing into the system needs root")
    if status("vellumor") not in ("unknown", "not-installed"):
        pytest.skip("a vellumor package is installed already (%s)" % status("vellumor"))
    deb = request.getfixturevalue("deb")

    listed = [path for path, _, _ in contents(deb)]
    existed = {path: os.path.lexists(path) for path in listed}
    before = package_states()

    run(APT + ["install", deb])
    try:
        assert status("vellumor") == "installed"
        owned = set(run(["dpkg", "--listfiles", "vellumor"]).splitlines()) - {"/."}
        assert owned == set(listed)
        for path in FILES:
            assert os.path.isfile(path), path

        entry = read_desktop_entry("/usr/share/applications/vellumor.desktop")
        app = App(Launch(program="/usr/bin/vellumor"), x_server.display, workdir)
        try:
            app.ready()
            assert app.client.titles(app.window) == ("Vellumor", "Vellumor")
            # Desktops match the window to its menu entry by its class.
            assert app.client.wm_class(app.window)[1] == entry["StartupWMClass"]
            app.focus()
            app.key("Escape")
            app.check_clean_exit()
        finally:
            app.close()
    finally:
        run(APT + ["purge", "vellumor"])
        # Whatever apt brought in for the package goes with it.
        pulled_in = sorted(set(package_states()) - set(before))
        if pulled_in:
            run(APT + ["purge"] + pulled_in)

    assert status("vellumor") in ("unknown", "not-installed")
    assert package_states() == before
    left = [path for path in listed if os.path.lexists(path) != existed[path]]
    assert not left, "left behind: %s" % left
