// The page's sound: one audio context at 44100 Hz and on it the node of the
// sound worklet (soundworklet/sound-processor.js), which runs the page's
// sound program (sound.wasm) off the page's main thread. The show reaches it
// as Module.kylSound (src/platform/web/WebSoundDevice.cpp): start(position,
// run) and stop(); the heard ticks the worklet reports go to the show
// through Module._kyl_web_heard_ticks.
//
// The sound is made ready while the page loads, so that a click starts the
// show at once: the context is made then (browsers keep it suspended until
// a click; the page's click lets it play) and kept suspended while the
// worklet does its heavy work (loading the program, starting a run and
// queuing its first half second), so that the audio thread is never late
// while it plays.
//
// kylvanderSound.open(program, fail): program is a promise of sound.wasm's
// bytes; fail(text) is called for a failure once the sound is ready. Returns
// the sound, whose ready promise resolves once the worklet has loaded the
// program and rejects with an Error that says in words why there is no
// sound. sound.setSong(bytes) hands over the song file image;
// sound.unlock() belongs in the click and resolves once the browser lets the
// sound play. A test may set window.kylvanderSoundTap(context,
// node) -> promise of the node to connect to the speakers instead.
"use strict";

var kylvanderSound = (function () {
  // How long the browser may take to let a suspended context play.
  var resumeMilliseconds = 4000;

  function refused(what, error) {
    return new Error(what + (error && error.message ? " (" + error.message + ")" : ""));
  }

  function makeContext() {
    var AudioContextClass = window.AudioContext || window.webkitAudioContext;
    if (!AudioContextClass) throw new Error("this browser has no Web Audio");
    var context;
    try {
      context = new AudioContextClass({ sampleRate: 44100 });
    } catch (error) {
      throw refused("the browser refused the page an audio context", error);
    }
    if (context.sampleRate !== 44100) {
      context.close();
      throw new Error("the browser plays sound at " + context.sampleRate + " Hz, not 44100 Hz");
    }
    if (!context.audioWorklet || typeof AudioWorkletNode === "undefined") {
      context.close();
      throw new Error("the browser gives no audio worklet here (it gives one only to pages " +
                      "served over https or from localhost)");
    }
    return context;
  }

  function open(program, fail) {
    // run: the show's run now playing (0: none); heard: its latest heard
    // ticks.
    var sound = { context: null, module: null, run: 0, heard: 0, node: null };
    // The context's suspends and resumes, one after the other (whatever
    // became of the one before): Chromium settles a resume that overlaps a
    // later suspend as running, while the context stays silent.
    var changes = Promise.resolve();
    function after(step) {
      changes = changes.catch(function () {}).then(step);
      return changes;
    }
    function change(how) {
      return after(function () { return sound.context[how](); });
    }

    function message(data) {
      if (data.heard !== undefined) {
        if (sound.run === 0 || data.run !== sound.run) return;
        sound.heard = data.heard;
        if (sound.module) sound.module._kyl_web_heard_ticks(data.run, data.heard);
      } else if (data.started !== undefined) {
        if (data.started === sound.run) play();
      } else if (data.text !== undefined) {
        console.warn("sound: " + data.text);
      } else if (data.failed !== undefined) {
        fail("the sound stopped: " + data.failed);
      }
    }

    // A resume that the browser may refuse: settles once it has, or says
    // why not.
    function resumed(resuming) {
      return new Promise(function (resolve, reject) {
        var timer = setTimeout(function () {
          reject(new Error("the browser did not let the page play sound"));
        }, resumeMilliseconds);
        resuming.then(function () {
          clearTimeout(timer);
          resolve();
        }, function (error) {
          clearTimeout(timer);
          reject(refused("the browser did not let the page play sound", error));
        });
      });
    }

    function play() {
      resumed(change("resume")).catch(function (error) { fail(error.message); });
    }

    sound.setSong = function (bytes) {
      sound.node.port.postMessage({ song: bytes });
    };
    // Lets the sound play: in the click itself, as some browsers ask.
    // Suspended again as soon as it has resumed, since the audio thread has
    // nothing to play until the show starts, and the show's start-up keeps
    // the processor busy meanwhile. Resolves then; rejects when the browser
    // refuses.
    sound.unlock = function () {
      var resuming = resumed(sound.context.resume());
      after(function () { return resuming; });
      return resuming.then(function () { return change("suspend"); });
    };
    sound.start = function (position, run) {
      sound.run = run;
      sound.heard = 0;
      change("suspend").then(function () {
        if (sound.run === run) sound.node.port.postMessage({ start: position, run: run });
      });
    };
    sound.stop = function () {
      sound.run = 0;
      sound.node.port.postMessage({ stop: true });
      change("suspend");
    };

    sound.ready = new Promise(function (resolve) {
      sound.context = makeContext();
      resolve(change("suspend"));
    }).then(function () {
      return sound.context.audioWorklet.addModule("sound-processor.js").catch(function (error) {
        throw refused("the sound worklet could not be loaded", error);
      });
    }).then(function () {
      return program;
    }).then(function (bytes) {
      var node = new AudioWorkletNode(sound.context, "kylvander-sound", {
        numberOfInputs: 0,
        outputChannelCount: [2],
        processorOptions: { wasm: bytes },
      });
      sound.node = node;
      return new Promise(function (resolve, reject) {
        node.port.onmessage = function (event) {
          var data = event.data;
          if (data.ready) {
            node.port.onmessage = function (later) { message(later.data); };
            resolve();
          } else if (data.failed !== undefined) {
            reject(new Error(data.failed));
          }
        };
        node.onprocessorerror = function () {
          reject(new Error("the sound worklet failed"));
        };
      });
    }).then(function () {
      var tap = window.kylvanderSoundTap;
      return tap ? tap(sound.context, sound.node) : sound.node;
    }).then(function (out) {
      out.connect(sound.context.destination);
      return sound;
    }, function (error) {
      if (sound.context) sound.context.close();
      throw error;
    });
    return sound;
  }

  return { open: open };
})();
