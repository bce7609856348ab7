// The page around the show. It downloads the programs and the data with a
// progress bar (load.js) while the sound gets ready (sound.js), shows the
// start screen, and on a click (browsers let a page play sound only after
// one) starts the program with the arguments the address asks for. Escape
// ends the show
// (the program hears it), space slows the pictures, F or the button toggles
// fullscreen; at the end "play again" starts the show again. What fails is
// said on the page in words.
//
// The canvas is the largest 4/3 box the stage holds; its drawing buffer has
// the box's size in device pixels (devicePixelRatio), at most the screen's,
// so the picture is sharp at any size and in fullscreen. The program asks
// for that size through Module.kylCanvasSize.
//
// Address parameters: start=POSITION, verbose=1 as on the desktop;
// autostart=1 starts without the click (where the browser allows sound
// without one). For the tests: frames=FPS,SECONDS,SECONDS... draws the
// show's frames at those moments on a virtual clock (640x480, offscreen);
// canvasframes=FPS,SECONDS... the same on the canvas at its size;
// render=END renders the song up to order step END offline; benchmark=1
// prints the frame times of "kylvander --benchmark".
// window.kylvanderPage holds what the tests read back.
"use strict";

var kylvanderPage = (function () {
  var params = new URLSearchParams(location.search);
  var stage = document.getElementById("stage");
  var canvas = document.getElementById("canvas");
  var overlay = document.getElementById("overlay");
  var statusLine = document.getElementById("status");
  var action = document.getElementById("action");
  var progress = document.getElementById("progress");
  var progressBar = document.getElementById("progress-bar");
  var readout = document.getElementById("readout");
  var testMode = params.has("frames") || params.has("render") || params.has("canvasframes") ||
    params.has("benchmark");
  var page = {
    state: "loading",      // loading, ready, starting, playing, ended, failed
    firstFrameMs: null,    // from navigation start to the show's first frame
    readyMs: null,         // from navigation start to the program being ready
    runs: 0,
    runFirstFrameMs: null, // the latest run's first frame
    events: [],
    messages: [],
    failure: null,
    frames: {},            // test: index -> {width, height, rgb}
    framesDone: false,
    framesFailed: null,
    renderDone: false,
    wav: null,
    ended: false,
    module: null,
    sound: null,
    canvasSize: [640, 480],
    marks: {},             // milliseconds from navigation start to each step of loading
  };

  function layout() {
    var ratio = window.devicePixelRatio || 1;
    var box = Math.min(stage.clientWidth, stage.clientHeight * 4 / 3);
    var screenBox = Math.min(screen.width, screen.height * 4 / 3);
    // A multiple of 4 device pixels wide, so that the height is whole.
    var width = Math.max(4, Math.floor(Math.min(box, screenBox) * ratio / 4) * 4);
    var height = width * 3 / 4;
    canvas.style.width = width / ratio + "px";
    canvas.style.height = height / ratio + "px";
    page.canvasSize = [width, height];
  }
  window.addEventListener("resize", layout);
  document.addEventListener("fullscreenchange", layout);
  layout();

  function say(text, options) {
    options = options || {};
    statusLine.textContent = text;
    statusLine.classList.toggle("failed", !!options.failed);
    action.textContent = options.action || "";
    progress.classList.toggle("hidden", !options.progress);
    overlay.classList.toggle("clickable", !!options.action);
    overlay.classList.remove("hidden");
  }

  function fail(text) {
    if (page.state === "failed") return;
    page.state = "failed";
    page.failure = text;
    console.warn("kylvander: " + text);
    say(text.charAt(0).toUpperCase() + text.slice(1) + ".", { failed: true });
  }

  function megabytes(bytes) { return (bytes / 1e6).toFixed(1) + " MB"; }

  function onProgress(received, total) {
    page.loadedBytes = [received, total];
    if (received > 0) page.downloadsBegun();
    if (page.state !== "loading") return;
    progressBar.style.width = total ? Math.min(100, 100 * received / total) + "%" : "0";
    statusLine.textContent = "loading… " + megabytes(received) +
      (total ? " of " + megabytes(total) : "");
  }

  function onEvent(name, text) {
    page.events.push([name, text]);
    if (name === "title") {
      if (page.firstFrameMs === null) page.firstFrameMs = performance.now();
      if (page.runFirstFrameMs === null) page.runFirstFrameMs = performance.now();
      readout.textContent = text;
    } else if (name === "ended") {
      if (page.state === "playing") {
        page.state = "ended";
        page.ended = true;
        readout.textContent = "";
        say("The end.", { action: "play again" });
      }
    } else if (name === "frame") {
      var fields = text.split(" ");
      page.frames[parseInt(fields[0], 10)] = {
        width: Number(fields[2]), height: Number(fields[3]), rgb: page.module.kylFramePixels,
      };
    } else if (name === "frames-done") {
      page.framesDone = true;
      page.framesDoneMs = performance.now();
    } else if (name === "frames-failed") {
      page.framesFailed = text;
    }
  }

  function arguments_() {
    var data = "/content/show";
    var frames = params.get("frames") || params.get("canvasframes");
    if (frames) {
      var list = frames.split(",");
      var mode = params.has("frames") ? "--page-frames" : "--page-canvas-frames";
      return [mode, list[0], data].concat(list.slice(1));
    }
    if (params.has("benchmark")) return ["--page-benchmark", data];
    if (params.has("render")) {
      return ["--render-audio", "/tmp/song.wav", "--data", data, "--end-position",
              params.get("render")];
    }
    var args = ["--windowed", "--data", data];
    if (params.has("start")) args.push("--start", params.get("start"));
    if (params.get("verbose") === "1") args.push("--verbose");
    return args;
  }

  function runProgram() {
    page.state = "playing";
    page.runs++;
    page.runFirstFrameMs = null;
    page.ended = false;
    overlay.classList.add("hidden");
    canvas.focus();
    page.startMs = performance.now();
    var status = page.module.callMain(arguments_());
    page.mainReturnedMs = performance.now();
    if (params.has("render")) {
      page.wav = page.module.FS.readFile("/tmp/song.wav");
      page.renderDone = true;
    } else if (status !== 0 && !testMode) {
      var told = page.messages.length ? page.messages[page.messages.length - 1].text : "";
      fail("the show could not start" + (told ? ": " + told : " (exit status " + status + ")"));
    }
  }

  // In the click (or at once where no click is needed).
  function start() {
    if (page.state !== "ready" && page.state !== "ended") return;
    page.state = "starting";
    if (!page.sound) {
      runProgram();
      return;
    }
    // Browsers let a page's sound play once it is asked for in a click.
    page.sound.unlock().then(runProgram, function (error) { fail(error.message); });
  }

  function ready() {
    page.readyMs = performance.now();
    page.state = "ready";
    if (params.get("autostart") === "1" || testMode) {
      start();
    } else {
      say("", { action: "click to start" });
    }
  }

  var programLoaded = new Promise(function (resolve, reject) {
    page.programLoaded = resolve;
    page.programMissing = function () { reject(new Error("could not download show.js")); };
  });
  var downloadsBegun = new Promise(function (resolve) { page.downloadsBegun = resolve; });
  var downloads = kylvanderLoad.download(
    [{ name: "show.wasm" }, { name: "sound.wasm" }, { name: "show.data.gz", gzip: true }],
    onProgress);
  // The show's program compiles while the data still comes.
  var compiled = downloads["show.wasm"].then(function (bytes) {
    return WebAssembly.compile(bytes);
  }).then(function (program) {
    page.marks.compiled = performance.now();
    return program;
  });
  downloads["show.data.gz"].then(function () { page.marks.data = performance.now(); }, function () {});
  say("loading…", { progress: true });

  // The sound gets ready meanwhile (the tests' offline modes need none),
  // once the downloads have begun: making the audio context holds the main
  // thread for a moment.
  var sound = null;
  var soundReady = testMode ? null : downloadsBegun.then(function () {
    sound = kylvanderSound.open(downloads["sound.wasm"], fail);
    return sound.ready;
  }).then(function () {
    page.marks.sound = performance.now();
  });

  var moduleReady = Promise.all([compiled, downloads["show.data.gz"], programLoaded])
    .then(function (results) {
      var program = results[0];
      var data = results[1];
      return createKylvander({
        instantiateWasm: function (imports, receive) {
          WebAssembly.instantiate(program, imports).then(function (instance) {
            receive(instance, program);
          }, function (error) {
            fail("the show's program could not start (" + error.message + ")");
          });
          return {};
        },
        // The data as emscripten's file packager would have fetched it.
        getPreloadedPackage: function () { return data; },
        canvas: canvas,
        print: function (text) { console.log(text); },
        printErr: function (text) { console.warn(text); },
        kylEvent: onEvent,
        kylMessage: function (caption, text) { page.messages.push({ caption: caption, text: text }); },
        // The benchmark draws at the desktop benchmark's size.
        kylCanvasSize: function () { return params.has("benchmark") ? [640, 480] : page.canvasSize; },
        onAbort: function (what) { fail("the show stopped: " + what); },
      });
    }).then(function (module) {
      page.marks.module = performance.now();
      page.module = module;
    });

  Promise.all([moduleReady, soundReady]).then(function () {
    if (sound) {
      sound.module = page.module;
      sound.setSong(page.module.FS.readFile("/content/show/brumtakt").buffer);
      page.module.kylSound = sound;
      page.sound = sound;
    }
    ready();
  }).catch(function (error) {
    fail(error.message);
  });

  overlay.addEventListener("click", start);

  function toggleFullscreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else if (stage.requestFullscreen) {
      stage.requestFullscreen().catch(function (error) {
        console.warn("fullscreen: " + error.message);
      });
    }
    canvas.focus();
  }
  document.getElementById("fullscreen").addEventListener("click", toggleFullscreen);
  window.addEventListener("keydown", function (event) {
    if ((event.key === "f" || event.key === "F") && !event.ctrlKey && !event.altKey &&
        !event.metaKey && !event.repeat) {
      toggleFullscreen();
    }
  });
  return page;
})();
