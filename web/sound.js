// The page's sound: one audio context at 44100 Hz, made in the user's click
// as browsers ask, and on it the node of the sound worklet
// (soundworklet/sound-processor.js), which runs the page's sound program
// (sound.wasm) off the page's main thread. The show reaches it as
// Module.kylSound (src/platform/web/WebSoundDevice.cpp): start(position,
// run) and stop(); the heard ticks the worklet reports go to the show
// through Module._kyl_web_heard_ticks.
//
// The context stays suspended while the worklet does its heavy work (loading
// the program, starting a run and queuing its first half second), so that
// the audio thread is never late while it plays.
//
// kylvanderSound.open(program, song, fail) must be called in a click; it
// resolves to the sound once the worklet has loaded the program, and rejects
// with an Error that says in words why there is no sound. fail(text) is
// called for a failure after that. A test may set window.kylvanderSoundTap
// (context, node) -> Promise of the node to connect to the speakers instead.
"use strict";

var kylvanderSound = (function () {
  // How long the browser may take to let a suspended context play.
  var resumeMilliseconds = 4000;

  function refused(what, error) {
    return new Error(what + (error && error.message ? " (" + error.message + ")" : ""));
  }

  function open(program, song, fail) {
    var AudioContextClass = window.AudioContext || window.webkitAudioContext;
    if (!AudioContextClass) return Promise.reject(new Error("this browser has no Web Audio"));
    var context;
    try {
      context = new AudioContextClass({ sampleRate: 44100 });
    } catch (error) {
      return Promise.reject(refused("the browser refused the page an audio context", error));
    }
    if (context.sampleRate !== 44100) {
      context.close();
      return Promise.reject(new Error("the browser plays sound at " + context.sampleRate +
                                      " Hz, not 44100 Hz"));
    }
    if (!context.audioWorklet || typeof AudioWorkletNode === "undefined") {
      context.close();
      return Promise.reject(new Error("the browser gives no audio worklet here (it gives one " +
                                      "only to pages served over https or from localhost)"));
    }
    // run: the show's run now playing (0: none); heard: its latest heard ticks.
    var sound = { context: context, module: null, run: 0, heard: 0, node: null };

    function message(data) {
      if (data.heard !== undefined) {
        if (data.run !== sound.run) return;
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

    function play() {
      var timer = setTimeout(function () {
        fail("the browser did not let the page play sound");
      }, resumeMilliseconds);
      context.resume().then(function () {
        clearTimeout(timer);
      }, function (error) {
        clearTimeout(timer);
        fail(refused("the browser did not let the page play sound", error).message);
      });
    }

    sound.start = function (position, run) {
      sound.run = run;
      sound.heard = 0;
      context.suspend().then(function () {
        if (sound.run === run) sound.node.port.postMessage({ start: position, run: run });
      });
    };
    sound.stop = function () {
      sound.run = 0;
      sound.node.port.postMessage({ stop: true });
      context.suspend();
    };

    return context.suspend().then(function () {
      return context.audioWorklet.addModule("sound-processor.js");
    }).catch(function (error) {
      context.close();
      throw refused("the sound worklet could not be loaded", error);
    }).then(function () {
      var node = new AudioWorkletNode(context, "kylvander-sound", {
        numberOfInputs: 0,
        outputChannelCount: [2],
        processorOptions: { wasm: program, song: song },
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
      return tap ? tap(context, sound.node) : sound.node;
    }).then(function (out) {
      out.connect(context.destination);
      return sound;
    });
  }

  return { open: open };
})();
