// Run in the page before its own scripts by the live test: the test's own
// recorder, which the page puts between its sound node and the speakers
// (sound.js calls window.kylvanderSoundTap). An AudioWorklet of its own that
// passes the sound through unchanged, keeps it as 16-bit samples (the page's
// node plays 16-bit samples as sample / 32768, exactly) and measures the
// longest run of digital silence once the sound has begun.
//
// window.kylvanderRecorder: samples (Int16Array, stereo interleaved), frames,
// longestSilence (frames), stop() (ends recording and measuring; resolves
// once the recorder has said its last).
//
// The recorder shares the audio thread's JavaScript heap with the page's
// own processor, so it makes no garbage there: its chunks are a fixed pool,
// handed to the page and back (transferred, not copied). A fresh chunk per
// message grew the heap until a collection on the audio thread made the
// output miss its deadline (an underrun the page did not cause).
"use strict";

window.kylvanderSoundTap = async function (context, node) {
  const seconds = 60;
  const processor = `
    class KylvanderTestRecorder extends AudioWorkletProcessor {
      constructor() {
        super();
        // Enough chunks for 1.5 s, so that a stalled main thread (which
        // returns them) never leaves the recorder without one.
        this.free = [];
        for (let i = 0; i < 8; i++) this.free.push(new Float32Array(2 * 8192));
        this.chunk = this.free.pop();
        this.used = 0;
        this.lost = 0;
        this.recording = true;
        this.begun = false;
        this.silent = 0;
        this.longest = 0;
        this.port.onmessage = (event) => {
          if (event.data.chunk) this.free.push(new Float32Array(event.data.chunk));
          if (!event.data.stop) return;
          this.flush();
          this.recording = false;
          this.port.postMessage({ longest: this.longest, lost: this.lost, stopped: true });
        };
      }
      flush() {
        if (this.used === 0 || !this.chunk) return;
        const buffer = this.chunk.buffer;
        this.port.postMessage({ samples: buffer, used: this.used, longest: this.longest }, [buffer]);
        this.chunk = this.free.length > 0 ? this.free.pop() : null;
        this.used = 0;
      }
      process(inputs, outputs) {
        const input = inputs[0];
        const output = outputs[0];
        const frames = output[0].length;
        const left = input.length > 0 ? input[0] : null;
        const right = input.length > 1 ? input[1] : left;
        for (let i = 0; i < frames; i++) {
          const l = left ? left[i] : 0;
          const r = right ? right[i] : 0;
          output[0][i] = l;
          if (output.length > 1) output[1][i] = r;
          if (!this.recording) continue;
          if (l !== 0 || r !== 0) {
            this.begun = true;
            this.silent = 0;
          } else if (this.begun) {
            this.silent++;
            if (this.silent > this.longest) this.longest = this.silent;
          }
          if (!this.chunk) {
            this.lost++;
            this.chunk = this.free.pop() || null;
            continue;
          }
          this.chunk[this.used++] = l;
          this.chunk[this.used++] = r;
          if (this.used === this.chunk.length) this.flush();
        }
        return true;
      }
    }
    registerProcessor("kylvander-test-recorder", KylvanderTestRecorder);`;
  const url = URL.createObjectURL(new Blob([processor], { type: "application/javascript" }));
  await context.audioWorklet.addModule(url);
  const recorder = new AudioWorkletNode(context, "kylvander-test-recorder", {
    numberOfInputs: 1, numberOfOutputs: 1, outputChannelCount: [2],
    channelCount: 2, channelCountMode: "explicit",
  });
  const state = {
    samples: new Int16Array(2 * 44100 * seconds),
    frames: 0,
    longestSilence: 0,
    lost: 0,
    stopped: null,
    stop() {
      recorder.port.postMessage({ stop: true });
      return new Promise((resolve) => { state.stopped = resolve; });
    },
  };
  recorder.port.onmessage = (event) => {
    const data = event.data;
    state.longestSilence = data.longest;
    if (data.samples) {
      const samples = new Float32Array(data.samples);
      const room = state.samples.length - 2 * state.frames;
      const n = Math.min(data.used, room);
      for (let i = 0; i < n; i++) state.samples[2 * state.frames + i] = Math.round(samples[i] * 32768);
      state.frames += n / 2;
      recorder.port.postMessage({ chunk: data.samples }, [data.samples]);
    }
    if (data.stopped) state.lost = data.lost;
    if (data.stopped && state.stopped) state.stopped();
  };
  window.kylvanderRecorder = state;
  node.connect(recorder);
  return recorder;
};
