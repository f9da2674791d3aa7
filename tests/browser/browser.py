"""The web build in headless Chromium, driven through Selenium and Debian's
chromium-driver as a person drives it: keys and the mouse on the canvas; the
picture, the page's text and its console read back."""

import functools
import http.server
import io
import shutil
import tempfile
import threading

from PIL import Image
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.wheel_input import ScrollOrigin
from selenium.webdriver.common.keys import Keys

from harness.pictures import same_scene
from harness.waiting import wait_until

# WebGL through SwiftShader, and nothing that reaches for the network.
FLAGS = ["--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--no-first-run", "--disable-quic", "--window-size=900,700"]
KEYS = {"F1": Keys.F1, "F2": Keys.F2, "F3": Keys.F3, "F4": Keys.F4, "space": Keys.SPACE, "escape": Keys.ESCAPE,
        "ArrowDown": Keys.ARROW_DOWN, "Tab": Keys.TAB}
# Counts the page's animation frames: the viewer paints one in each.
COUNT_FRAMES = """window.framesShown = 0;
const tick = () => { window.framesShown += 1; requestAnimationFrame(tick); };
requestAnimationFrame(tick);"""


class Site:
    """The static folder served on 127.0.0.1, as scripts/web serves it."""

    def __init__(self, folder):
        class Quiet(http.server.SimpleHTTPRequestHandler):
            def log_message(self, *args):
                pass
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=folder))
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.url = "http://127.0.0.1:%d/" % self.server.server_port
        self.folder = folder

    def close(self):
        self.server.shutdown()
        self.server.server_close()


class Browser:
    """A fresh headless Chromium with a profile of its own, `scale` device
    pixels to a CSS pixel."""

    def __init__(self, scale=1, extra_flags=()):
        self.profile = tempfile.mkdtemp(prefix="vellumor-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/lib/chromium/chromium"
        for flag in FLAGS + ["--force-device-scale-factor=%g" % scale, "--user-data-dir=" + self.profile,
                             *extra_flags]:
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        try:
            self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        except BaseException:
            shutil.rmtree(self.profile, ignore_errors=True)
            raise

    def close(self):
        try:
            self.driver.quit()
        finally:
            shutil.rmtree(self.profile, ignore_errors=True)

    def console_errors(self):
        """The errors logged since the last call."""
        return [entry["message"] for entry in self.driver.get_log("browser") if entry["level"] == "SEVERE"]


class Page:
    """The viewer's page open in a browser; points are CSS pixels of the canvas.
    `scale` is the device pixel ratio the overlay is drawn at."""

    def __init__(self, browser, url):
        self.browser, self.scale = browser, 1
        self.driver = browser.driver
        self.driver.get(url)
        self.driver.execute_script(COUNT_FRAMES)

    def script(self, code, *args):
        return self.driver.execute_script(code, *args)

    def canvas(self):
        return self.driver.find_element("id", "vellumor")

    def screenshot(self):
        """The canvas as the page shows it, in device pixels."""
        return Image.open(io.BytesIO(self.canvas().screenshot_as_png)).convert("RGB")

    def notice(self):
        """The line under the picture, or "" while there is none."""
        return self.script("const n = document.getElementById('notice'); return n.hidden ? '' : n.textContent;")

    def frames(self):
        return self.script("return window.framesShown;")

    def pointer_locked(self):
        return self.script("return document.pointerLockElement === document.getElementById('vellumor');")

    def cursor(self):
        return self.script("return getComputedStyle(document.getElementById('vellumor')).cursor;")

    def check_alive(self):
        assert not self.script("return document.getElementById('frame').hidden;"), \
            "the viewer ended: %r" % self.notice()

    def ready(self, timeout=30):
        """Waits until the viewer draws: the canvas's top-right corner is not black."""
        def drawn():
            self.check_alive()
            image = self.screenshot()
            return image if image.getpixel((image.width - 1, 0)) != (0, 0, 0) else None
        return wait_until(drawn, timeout, "the first frame", interval=0.2)

    def resize(self, width, height):
        """Gives the canvas a CSS size, as the corner's grip does."""
        self.script("const f = document.getElementById('frame'); f.style.width = arguments[0] + 'px';"
                    "f.style.height = arguments[1] + 'px';", width, height)

    def wait_frames(self, count, timeout=20):
        target = self.frames() + count
        wait_until(lambda: self.frames() >= target, timeout, "%d more frames" % count, interval=0.02)

    def wait_for_change(self, reference, timeout=20, what="the picture to change"):
        """The first picture whose scene, outside the overlay text, is not reference's."""
        def changed():
            self.check_alive()
            image = self.screenshot()
            return image if not same_scene(image, reference, self.scale) else None
        return wait_until(changed, timeout, what, interval=0.1)

    def wait_until_steady(self, timeout=20, frames=5):
        """The second of two pictures `frames` frames apart that show the same scene."""
        def steady():
            self.check_alive()
            before = self.screenshot()
            self.wait_frames(frames)
            after = self.screenshot()
            return after if same_scene(after, before, self.scale) else None
        return wait_until(steady, timeout, "a steady picture", interval=0)

    def key(self, *keys):
        """Presses and releases each key in turn."""
        actions = ActionChains(self.driver)
        for key in keys:
            actions.key_down(KEYS.get(key, key)).key_up(KEYS.get(key, key))
        actions.perform()

    def key_down(self, key):
        ActionChains(self.driver).key_down(KEYS.get(key, key)).perform()

    def key_up(self, key):
        ActionChains(self.driver).key_up(KEYS.get(key, key)).perform()

    def _at(self, actions, x, y):
        size = self.canvas().size  # Selenium measures from the element's centre
        return actions.move_to_element_with_offset(self.canvas(), int(x - size["width"] / 2),
                                                   int(y - size["height"] / 2))

    def click(self, x, y):
        self._at(ActionChains(self.driver), x, y).click().perform()

    def click_outside(self):
        """Clicks the page beside the canvas, which takes the focus from it."""
        ActionChains(self.driver).move_to_element(self.driver.find_element("tag name", "table")).click().perform()

    def look(self, dx, dy):
        """Moves the mouse under pointer lock. Chromium gives the first move
        after a lock is taken no motion when it comes from automation: a still
        move goes first."""
        ActionChains(self.driver).move_by_offset(0, 0).move_by_offset(dx, dy).perform()

    def drag(self, start, end, steps=8, during=lambda: None):
        """Drags in steps; returns what `during` finds with the button still down."""
        actions = self._at(ActionChains(self.driver), *start).click_and_hold()
        for i in range(1, steps + 1):
            self._at(actions, start[0] + (end[0] - start[0]) * i // steps, start[1] + (end[1] - start[1]) * i // steps)
        actions.perform()
        try:
            return during()
        finally:
            ActionChains(self.driver).release().perform()

    def wheel(self, notches):
        """Turns the wheel over the canvas, positive away from the user (the
        page would scroll up), 100 pixels a notch as in Chromium."""
        for _ in range(abs(notches)):
            ActionChains(self.driver).scroll_from_origin(ScrollOrigin.from_element(self.canvas()), 0,
                                                         -100 if notches > 0 else 100).perform()


def open_page(browser, url):
    page = Page(browser, url)
    try:
        page.ready()
    except AssertionError as failure:
        raise AssertionError("%s; console: %s" % (failure, browser.console_errors())) from None
    return page
