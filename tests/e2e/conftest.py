"""Fixtures of the end-to-end tests: the program to test, a private X server
and the program running on it.

A test asks for `app` to get the program ready on its own Xvfb; both end
when the test does, however it went. What can vary around the program lives
in one place each:
- how it is started (`launch`): the executable, a prefix that runs it
  (--runner, Wine for the Windows build) and variables added to its environment;
- the display it runs on (`desktop`): a bare Xvfb, or one that openbox
  manages (parametrize a test with desktop=["bare", "openbox"], indirect);
- variables a single test adds, with the program_env marker.
"""

import os
import shlex
import sys
import tempfile

import pytest

pytest.register_assert_rewrite("harness")

from harness.app import App  # noqa: E402
from harness.desktops import Openbox  # noqa: E402
from harness.program import Launch  # noqa: E402
from harness.xserver import XServer  # noqa: E402


def pytest_addoption(parser):
    parser.addoption("--program", help="the vellumor executable to test")
    parser.addoption("--runner", default="",
                     help="a command that runs the program, such as 'cmake/wine-run.sh PREFIX' for vellumor.exe")


def pytest_configure(config):
    config.addinivalue_line("markers", "program_env(**variables): add variables to the program's environment")


@pytest.fixture(scope="session")
def launch(request):
    """How the program is started."""
    program = request.config.getoption("--program")
    if not program:
        pytest.fail("--program=PATH names the vellumor executable to test", pytrace=False)
    runner = tuple(shlex.split(request.config.getoption("--runner")))
    return Launch(program=os.path.abspath(program), prefix=runner)


@pytest.fixture
def workdir():
    """A scratch directory outside the source tree, for the program's output."""
    with tempfile.TemporaryDirectory(prefix="vellumor-e2e-") as path:
        yield path


@pytest.fixture
def x_server():
    """A private Xvfb, ended after the test."""
    with XServer() as server:
        yield server


@pytest.fixture
def desktop(request, x_server):
    """The display the program runs on, with everything that should run there
    before it: nothing but the server ("bare"), or openbox managing it."""
    kind = getattr(request, "param", "bare")
    if kind == "bare":
        yield x_server.display
    elif kind == "openbox":
        manager = Openbox(x_server.display)
        try:
            yield x_server.display
        finally:
            manager.close()
    else:
        raise ValueError("no desktop named %r" % kind)


@pytest.fixture
def app(request, launch, desktop, workdir):
    """The program running on its own display with its window up and its
    first frames drawn; ended after the test."""
    marker = request.node.get_closest_marker("program_env")
    if marker:
        launch = launch.with_env(**marker.kwargs)
    started = App(launch, desktop, workdir)
    try:
        yield started.ready()
    finally:
        started.close()
        err = started.program.stderr()
        if err:
            # Shown with a failing test's report: sanitizer reports, start-up errors.
            sys.stderr.write("the program's stderr:\n%s" % err[-20000:])
