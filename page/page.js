// Starts the viewer on the page's canvas and says what became of it: a
// failure to start in one line, the end with an offer to start again. Around
// it: the on-screen controls for touch, full screen, the line that says when
// the keys no longer reach the picture, and the worker that keeps the site
// for use without the server.
"use strict";

(function () {
  const stage = document.getElementById("stage");
  const frame = document.getElementById("frame");
  const notice = document.getElementById("notice");
  const away = document.getElementById("away");
  let viewer = null;  // the running program's module

  function say(line, offerRestart) {
    viewer = null;
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    document.body.classList.add("over");
    notice.textContent = line;
    if (offerRestart) {
      const button = document.createElement("button");
      button.id = "restart";
      button.textContent = "Start again";
      button.addEventListener("click", start);
      notice.append(button);
    }
    notice.hidden = false;
  }

  // A line in place of the picture: the canvas would only show black.
  function fail(line) {
    frame.hidden = true;
    say(line, false);
  }

  function start() {
    // A fresh canvas every time: a WebGL context lasts as long as its canvas.
    const old = document.getElementById("vellumor");
    const canvas = old.cloneNode(false);
    old.replaceWith(canvas);
    frame.hidden = false;
    notice.hidden = true;
    notice.textContent = "";
    document.body.classList.remove("over");
    canvas.addEventListener("blur", () => { away.hidden = viewer === null; });
    canvas.addEventListener("focus", () => { away.hidden = true; });
    canvas.focus();

    let failure = "";
    const settings = {
      canvas: canvas,
      print: (line) => console.log(line),
      // The program's stderr: only ever the one line saying why it cannot start.
      printErr: (line) => {
        console.error(line);
        if (!failure) failure = line;
      },
      onExit: (code) => {
        away.hidden = true;
        if (code === 0) {
          frame.hidden = true;
          say("Vellumor has ended.", true);
        } else {
          fail(failure || "vellumor: ended with code " + code);
        }
      },
      onAbort: (what) => fail(failure || "vellumor: stopped: " + what),
    };
    viewer = settings;  // the module's own object: its exports arrive on it
    Vellumor(settings).catch((error) => fail(failure || "vellumor: cannot start: " + error));
  }

  // The on-screen controls press the viewer's keys for as long as a finger
  // (or the mouse) holds them, wherever it goes meanwhile. They take neither
  // the focus nor the page's scrolling.
  const KEY_CODES = { W: 87, S: 83, A: 65, D: 68, Space: 32, Escape: 27, F1: 112, F2: 113, F3: 114, F4: 115,
    T: 84, R: 82, G: 71, F: 70, B: 66, V: 86, U: 85, Y: 89, 0: 48, 9: 57, 2: 50, 1: 49 };
  for (const button of document.querySelectorAll("#controls [data-key]")) {
    const code = KEY_CODES[button.dataset.key];
    let holder = null;  // the pointer pressing it
    const press = (down, event) => {
      button.classList.toggle("held", down);
      if (viewer && viewer._vellumor_control_key) {
        viewer._vellumor_control_key(code, down ? 1 : 0, event.pointerType === "touch" ? 1 : 0);
      }
    };
    button.tabIndex = -1;
    button.addEventListener("pointerdown", (event) => {
      if (holder !== null) return;
      holder = event.pointerId;
      button.setPointerCapture(event.pointerId);
      press(true, event);
    });
    const release = (event) => {
      if (event.pointerId !== holder) return;
      holder = null;
      press(false, event);
    };
    for (const type of ["pointerup", "pointercancel", "lostpointercapture"]) button.addEventListener(type, release);
  }
  const controls = document.getElementById("controls");
  controls.addEventListener("touchstart", (event) => event.preventDefault(), { passive: false });
  controls.addEventListener("mousedown", (event) => event.preventDefault());
  stage.addEventListener("contextmenu", (event) => event.preventDefault());

  // Controls for touch: shown where the primary pointer is coarse, or from
  // the first touch on; a mouse's press hides them again.
  document.body.classList.toggle("touch", matchMedia("(pointer: coarse)").matches);
  addEventListener("pointerdown", (event) => {
    document.body.classList.toggle("touch", event.pointerType === "touch" || event.pointerType === "pen");
  }, true);

  // Full screen for the picture (and the controls, on touch); the browser's
  // own full screen (F11) gives it the whole screen too. Each new size
  // reaches the viewer with its next frame.
  function toggleFullScreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen().catch(() => {});
    } else if (stage.requestFullscreen) {
      stage.requestFullscreen().catch(() => {});
    }
  }
  for (const id of ["whole-screen", "full-screen-keys"]) {
    const button = document.getElementById(id);
    button.addEventListener("click", toggleFullScreen);
    button.addEventListener("mousedown", (event) => event.preventDefault());  // the keys stay with the picture
  }
  const browserFullScreen = matchMedia("(display-mode: fullscreen)");
  const followBrowser = () => document.body.classList.toggle("whole-screen",
    browserFullScreen.matches && !document.fullscreenElement);
  browserFullScreen.addEventListener("change", followBrowser);
  document.addEventListener("fullscreenchange", followBrowser);
  followBrowser();

  // Installed or opened once, the page starts again without the server.
  if ("serviceWorker" in navigator && location.protocol !== "file:") {
    navigator.serviceWorker.register("sw.js").catch(() => {});
  }

  if (typeof WebAssembly !== "object") {
    fail("vellumor: this browser runs no WebAssembly");
  } else if (typeof Vellumor !== "function") {
    fail("vellumor: the page's vellumor.js did not load");
  } else {
    start();
  }
})();
