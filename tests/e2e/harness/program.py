"""How the program is launched, and the process it runs in."""

import dataclasses
import os
import subprocess

from .xserver import end

HERE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def sanitizer_environment():
    """Options for a program built with AddressSanitizer and UBSan (ignored otherwise).

    Leaks inside the system's graphics, window and font libraries are
    suppressed; a leak with a frame in our own code is still reported."""
    suppressions = os.path.join(HERE, "lsan.supp")
    return {
        "ASAN_OPTIONS": "detect_leaks=1:halt_on_error=1:abort_on_error=0",
        "LSAN_OPTIONS": "suppressions=%s:print_suppressions=0" % suppressions,
        "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1",
    }


@dataclasses.dataclass(frozen=True)
class Launch:
    """What starts the program: the executable, anything that runs it (a
    prefix such as ("wine",) for a Windows build) and the variables added to
    its environment, which win over the harness's own."""

    program: str
    prefix: tuple = ()
    env: dict = dataclasses.field(default_factory=dict)

    def command(self):
        return [*self.prefix, self.program]

    def with_env(self, **env):
        return dataclasses.replace(self, env={**self.env, **env})


def environment(launch, display):
    """The program's environment: ours without any display, then the given
    one (None for none), software OpenGL, the sanitizers' options and the
    launch's own variables."""
    env = dict(os.environ)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "XAUTHORITY"):
        env.pop(name, None)
    if display is not None:
        env["DISPLAY"] = display
    env["LIBGL_ALWAYS_SOFTWARE"] = "1"
    env.update(sanitizer_environment())
    env.update(launch.env)
    return env


class Program:
    """The program running, its output going to files in workdir; close()
    ends it if it still runs."""

    def __init__(self, launch, display, workdir):
        self.stdout_path = os.path.join(workdir, "stdout")
        self.stderr_path = os.path.join(workdir, "stderr")
        with open(self.stdout_path, "wb") as out, open(self.stderr_path, "wb") as err:
            self.process = subprocess.Popen(launch.command(), env=environment(launch, display),
                                            stdin=subprocess.DEVNULL, stdout=out, stderr=err)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def close(self):
        end(self.process)

    @property
    def pid(self):
        return self.process.pid

    @property
    def returncode(self):
        return self.process.returncode

    def running(self):
        return self.process.poll() is None

    def send_signal(self, number):
        self.process.send_signal(number)

    def wait_exit(self, timeout=30):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("program still running %d s later" % timeout) from None

    def stdout(self):
        with open(self.stdout_path, "rb") as f:
            return f.read().decode(errors="replace")

    def stderr(self):
        with open(self.stderr_path, "rb") as f:
            return f.read().decode(errors="replace")

    def check_running(self):
        assert self.running(), "program ended (code %s): %s" % (self.returncode, self.stderr().strip()[:2000])

    def check_clean_exit(self, timeout=30):
        """The program ends with code 0 and has written nothing."""
        code = self.wait_exit(timeout)
        err, out = self.stderr(), self.stdout()
        assert code == 0, "exit code %d; stderr:\n%s" % (code, err)
        assert out == "", "wrote to stdout: %r" % out[:2000]
        assert err == "", "wrote to stderr: %r" % err[:2000]

    def rss_kb(self):
        """Resident memory in KiB (VmRSS), or None once the process has ended."""
        try:
            with open("/proc/%d/status" % self.pid) as status:
                for line in status:
                    if line.startswith("VmRSS:"):
                        return int(line.split()[1])
        except OSError:
            pass
        return None
