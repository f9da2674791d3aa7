"""Fixtures of the browser tests: the web build's folder served on
127.0.0.1, a fresh headless Chromium per test and the viewer's page open in
it. The same-picture tests also start the desktop program on a private Xvfb
through the desktop end-to-end tests' harness, which these tests share."""

import os
import sys

import pytest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
pytest.register_assert_rewrite("harness", "browser", "overlay")

from browser import Browser, Site, open_page  # noqa: E402


def pytest_addoption(parser):
    parser.addoption("--site", help="the web build's static folder (build/web/site)")
    parser.addoption("--desktop", help="the desktop vellumor executable the pictures are compared with")


@pytest.fixture(scope="session")
def site(request):
    folder = request.config.getoption("--site")
    if not folder or not os.path.isfile(os.path.join(folder, "index.html")):
        pytest.fail("--site=FOLDER names the web build's folder with index.html", pytrace=False)
    served = Site(os.path.abspath(folder))
    yield served
    served.close()


@pytest.fixture
def browser():
    started = Browser()
    yield started
    started.close()


@pytest.fixture
def page(site, browser):
    """The viewer running in the page, its first frames drawn, the canvas
    focused. Whatever the test did, the page's console shows no error."""
    opened = open_page(browser, site.url)
    yield opened
    errors = browser.console_errors()
    assert not errors, "errors on the page's console: %s" % errors
