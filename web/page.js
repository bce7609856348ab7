// The page around the show: loads show.js/show.wasm/show.data, waits for a
// click (browsers start sound only after one), makes the 44100 Hz audio
// context in that click and starts the program with the arguments the
// address asks for. Escape ends the show (the program hears it); the
// button shows the stage fullscreen.
//
// Address parameters: start=POSITION, verbose=1 as on the desktop;
// autostart=1 starts without the click (where the browser allows sound
// without one). For the tests: frames=FPS,SECONDS,SECONDS... draws the
// show's frames at those moments on a virtual clock; render=END renders the
// song up to order step END offline; tap=SECONDS keeps the first SECONDS of
// what the Web Audio node plays (as 16-bit samples, which the node plays
// exactly). window.kylvanderPage holds what the tests read back.
"use strict";

var kylvanderPage = (function () {
  var params = new URLSearchParams(location.search);
  var canvas = document.getElementById("canvas");
  var overlay = document.getElementById("overlay");
  var overlayText = document.getElementById("overlay-text");
  var readout = document.getElementById("readout");
  var page = {
    loadStart: performance.now(),
    firstFrameMs: null,    // from navigation start to the show's first frame
    readyMs: null,         // from navigation start to the program being ready
    events: [],
    messages: [],
    frames: {},            // test: index -> RGB bytes
    framesDone: false,
    framesFailed: null,
    renderDone: false,
    wav: null,
    ended: false,
    module: null,
    started: false,
    tap: null,
    tapFrames: 0,
  };

  function fit() {
    var width = Math.min(window.innerWidth, window.innerHeight * 4 / 3);
    canvas.style.width = Math.floor(width) + "px";
    canvas.style.height = Math.floor(width * 3 / 4) + "px";
  }
  window.addEventListener("resize", fit);
  fit();

  function say(text) {
    overlayText.textContent = text;
    overlay.classList.remove("hidden");
  }

  function onEvent(name, text) {
    page.events.push([name, text]);
    if (name === "title") {
      if (page.firstFrameMs === null) page.firstFrameMs = performance.now();
      readout.textContent = text;
    } else if (name === "ended" || name === "window-closed") {
      if (!page.ended) {
        page.ended = true;
        if (page.module && page.module.kylAudioContext) page.module.kylAudioContext.close();
        say("the end — reload to play again");
      }
    } else if (name === "frame") {
      var index = parseInt(text, 10);
      page.frames[index] = page.module.kylFramePixels;
    } else if (name === "frames-done") {
      page.framesDone = true;
      page.framesDoneMs = performance.now();
    } else if (name === "frames-failed") {
      page.framesFailed = text;
    }
  }

  function arguments_() {
    var data = "/content/show";
    if (params.has("frames")) {
      var list = params.get("frames").split(",");
      return ["--page-frames", list[0], data].concat(list.slice(1));
    }
    if (params.has("render")) {
      return ["--render-audio", "/tmp/song.wav", "--data", data, "--end-position",
              params.get("render")];
    }
    var args = ["--windowed", "--data", data];
    if (params.has("start")) args.push("--start", params.get("start"));
    if (params.get("verbose") === "1") args.push("--verbose");
    return args;
  }

  function start() {
    if (page.started || !page.module) return;
    page.started = true;
    overlay.classList.add("hidden");
    try {
      // Made in the click, so that the browser lets it play.
      var AudioContextClass = window.AudioContext || window.webkitAudioContext;
      if (AudioContextClass && !params.has("frames") && !params.has("render")) {
        page.module.kylAudioContext = new AudioContextClass({sampleRate: 44100});
        page.module.kylAudioContext.resume();
      }
    } catch (e) {
      console.warn("sound: " + e);
    }
    canvas.focus();
    page.startMs = performance.now();
    page.module.callMain(arguments_());
    page.mainReturnedMs = performance.now();
    if (params.has("render")) {
      page.wav = page.module.FS.readFile("/tmp/song.wav");
      page.renderDone = true;
    }
  }

  function tapSound(left, right) {
    var room = page.tap.length / 2 - page.tapFrames;
    var n = Math.min(left.length, room);
    for (var i = 0; i < n; i++) {
      page.tap[2 * (page.tapFrames + i)] = Math.round(left[i] * 32768);
      page.tap[2 * (page.tapFrames + i) + 1] = Math.round(right[i] * 32768);
    }
    page.tapFrames += n;
  }

  page.loaded = function () {
    if (params.has("tap")) page.tap = new Int16Array(2 * 44100 * Number(params.get("tap")));
    createKylvander({
      kylAudioTap: page.tap ? tapSound : null,
      canvas: canvas,
      print: function (text) { console.log(text); },
      printErr: function (text) { console.warn(text); },
      kylEvent: onEvent,
      kylMessage: function (caption, text) { page.messages.push(caption + ": " + text); },
      onAbort: function (what) { say("the show stopped: " + what); },
    }).then(function (module) {
      page.module = module;
      page.readyMs = performance.now();
      if (params.get("autostart") === "1" || params.has("frames") || params.has("render")) {
        start();
      } else {
        say("click to start");
      }
    });
  };

  overlay.addEventListener("click", start);
  document.getElementById("fullscreen").addEventListener("click", function () {
    var stage = document.getElementById("stage");
    if (document.fullscreenElement) document.exitFullscreen();
    else if (stage.requestFullscreen) stage.requestFullscreen();
    canvas.focus();
  });
  return page;
})();
