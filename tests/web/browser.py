"""The web build in headless Chromium, driven through Selenium and Debian's
chromium-driver as a person would drive it: keys and the mouse on the
canvas, the picture from screenshots, what the page says from its text."""

import functools
import http.server
import io
import shutil
import tempfile
import threading

from PIL import Image
from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.wheel_input import ScrollOrigin
from selenium.webdriver.common.keys import Keys

from harness.pictures import same_scene
from harness.waiting import wait_until

CHROMIUM = "/usr/lib/chromium/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
# WebGL through SwiftShader, and nothing that reaches for the network.
FLAGS = ["--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--no-first-run", "--disable-quic", "--window-size=900,700"]

KEYS = {"F1": Keys.F1, "F2": Keys.F2, "F3": Keys.F3, "F4": Keys.F4, "space": Keys.SPACE, "escape": Keys.ESCAPE,
        "ArrowDown": Keys.ARROW_DOWN, "Tab": Keys.TAB}

# Counts the page's animation frames: the viewer paints one in each.
COUNT_FRAMES = """
if (!window.framesShown) {
  window.framesShown = 0;
  const tick = () => { window.framesShown += 1; requestAnimationFrame(tick); };
  requestAnimationFrame(tick);
}"""


class Site:
    """The static folder served on 127.0.0.1, as scripts/web serves it."""

    def __init__(self, folder):
        class Quiet(http.server.SimpleHTTPRequestHandler):
            def log_message(self, *args):
                pass
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=folder))
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.url = "http://127.0.0.1:%d/" % self.server.server_port

    def close(self):
        self.server.shutdown()
        self.server.server_close()


class Browser:
    """A fresh headless Chromium with a profile of its own, showing `scale`
    device pixels to a CSS pixel; extra flags as given."""

    def __init__(self, scale=1, extra_flags=()):
        self.profile = tempfile.mkdtemp(prefix="vellumor-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        flags = FLAGS + ["--force-device-scale-factor=%g" % scale, "--user-data-dir=" + self.profile]
        for flag in flags + list(extra_flags):
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        try:
            self.driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        except BaseException:
            shutil.rmtree(self.profile, ignore_errors=True)
            raise
        self.console = []

    def close(self):
        try:
            self.driver.quit()
        finally:
            shutil.rmtree(self.profile, ignore_errors=True)

    def read_console(self):
        """Everything logged since the page opened: (level, message)."""
        self.console += [(entry["level"], entry["message"]) for entry in self.driver.get_log("browser")]
        return list(self.console)

    def console_errors(self):
        return [message for level, message in self.read_console() if level == "SEVERE"]


class Page:
    """The viewer's page open in a browser."""

    def __init__(self, browser, url):
        self.browser = browser
        self.driver = browser.driver
        self.driver.get(url)
        self.driver.execute_script(COUNT_FRAMES)

    # what the page shows

    def canvas(self):
        return self.driver.find_element("id", "vellumor")

    def notice(self):
        """The line the page shows under the picture, or "" while it shows none."""
        return self.driver.execute_script(
            "const n = document.getElementById('notice'); return n.hidden ? '' : n.textContent;")

    def frame_shown(self):
        return self.driver.execute_script("return !document.getElementById('frame').hidden;")

    def screenshot(self):
        """The canvas as the page shows it, in the device's pixels."""
        return Image.open(io.BytesIO(self.canvas().screenshot_as_png)).convert("RGB")

    def frames(self):
        return self.driver.execute_script("return window.framesShown;")

    def pointer_locked(self):
        return self.driver.execute_script("return document.pointerLockElement === document.getElementById('vellumor');")

    def ready(self, timeout=30):
        """Waits until the viewer draws: the canvas shows something other than black."""
        def drawn():
            self.check_alive()
            image = self.screenshot()
            return image if image.getbbox() is not None and image.getpixel((image.width - 1, 0)) != (0, 0, 0) else None
        return wait_until(drawn, timeout, "the first frame", interval=0.2)

    def check_alive(self):
        assert self.frame_shown(), "the viewer ended: %r" % self.notice()

    def resize(self, width, height):
        """Gives the canvas a CSS size, as the corner's grip does."""
        self.driver.execute_script(
            "const f = document.getElementById('frame'); f.style.width = arguments[0] + 'px';"
            "f.style.height = arguments[1] + 'px';", width, height)

    # waiting on the picture

    def wait_frames(self, count, timeout=20):
        target = self.frames() + count
        wait_until(lambda: self.frames() >= target, timeout, "%d more frames" % count, interval=0.02)

    def wait_for_change(self, reference, timeout=20, what="the picture to change", differs=None):
        differs = differs or (lambda old, new: not same_scene(new, old))

        def changed():
            self.check_alive()
            image = self.screenshot()
            return image if differs(reference, image) else None
        return wait_until(changed, timeout, what, interval=0.1)

    def wait_until_steady(self, timeout=20, frames=5):
        """Waits until two screenshots `frames` frames apart show the same scene
        outside the overlay text, and returns the second."""
        def steady():
            self.check_alive()
            before = self.screenshot()
            self.wait_frames(frames)
            after = self.screenshot()
            return after if after.size == before.size and same_scene(after, before) else None
        return wait_until(steady, timeout, "a steady picture", interval=0)

    # keys

    def _key(self, key):
        return KEYS.get(key, key)

    def key(self, *keys):
        """Presses and releases each key in turn."""
        actions = ActionChains(self.driver)
        for key in keys:
            actions.key_down(self._key(key)).key_up(self._key(key))
        actions.perform()

    def key_down(self, key):
        ActionChains(self.driver).key_down(self._key(key)).perform()

    def key_up(self, key):
        ActionChains(self.driver).key_up(self._key(key)).perform()

    # the mouse, in CSS pixels of the canvas

    def _from_centre(self, x, y):
        size = self.canvas().size
        return int(x - size["width"] / 2), int(y - size["height"] / 2)

    def move_mouse(self, x, y):
        ActionChains(self.driver).move_to_element_with_offset(self.canvas(), *self._from_centre(x, y)).perform()

    def look(self, dx, dy):
        """Moves the mouse under pointer lock. Chromium gives the first move
        after a lock is taken no motion when it comes from automation: a still
        move goes first."""
        ActionChains(self.driver).move_by_offset(0, 0).move_by_offset(dx, dy).perform()

    def drag(self, start, end, steps=8, during=lambda: None):
        """Drags from one point to another in steps; returns what `during`
        found with the button still down."""
        canvas = self.canvas()
        actions = ActionChains(self.driver).move_to_element_with_offset(canvas, *self._from_centre(*start))
        actions.click_and_hold()
        for i in range(1, steps + 1):
            point = (start[0] + (end[0] - start[0]) * i // steps, start[1] + (end[1] - start[1]) * i // steps)
            actions.move_to_element_with_offset(canvas, *self._from_centre(*point))
        actions.perform()
        try:
            return during()
        finally:
            ActionChains(self.driver).release().perform()

    def click_outside(self):
        """Clicks the page beside the canvas: the canvas loses the focus."""
        ActionChains(self.driver).move_to_element(self.driver.find_element("tag name", "table")).click().perform()

    def click(self, x, y):
        ActionChains(self.driver).move_to_element_with_offset(self.canvas(), *self._from_centre(x, y)).click().perform()

    def wheel(self, notches):
        """Turns the wheel over the canvas; positive is away from the user
        (a page scrolls up), 100 pixels a notch as in Chromium."""
        origin = ScrollOrigin.from_element(self.canvas())
        for _ in range(abs(notches)):
            ActionChains(self.driver).scroll_from_origin(origin, 0, -100 if notches > 0 else 100).perform()


def open_page(browser, url, timeout=30):
    page = Page(browser, url)
    try:
        page.ready(timeout)
    except (AssertionError, WebDriverException):
        raise AssertionError("the page did not start; console: %r" % browser.read_console())
    return page
