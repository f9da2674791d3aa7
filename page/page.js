// Starts the viewer on the page's canvas and says what became of it: a
// failure to start in one line, the end with an offer to start again.
"use strict";

(function () {
  const frame = document.getElementById("frame");
  const notice = document.getElementById("notice");

  function say(line, offerRestart) {
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
        if (code === 0) {
          frame.hidden = true;
          say("Vellumor has ended.", true);
        } else {
          fail(failure || "vellumor: ended with code " + code);
        }
      },
      onAbort: (what) => fail(failure || "vellumor: stopped: " + what),
    };
    Vellumor(settings).catch((error) => fail(failure || "vellumor: cannot start: " + error));
  }

  if (typeof WebAssembly !== "object") {
    fail("vellumor: this browser runs no WebAssembly");
  } else if (typeof Vellumor !== "function") {
    fail("vellumor: the page's vellumor.js did not load");
  } else {
    start();
  }
})();
