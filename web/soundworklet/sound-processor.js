// The page's audio worklet processor: runs the page's sound program
// (sound.wasm) on the browser's audio thread. The page hands it the
// program's bytes in processorOptions; the worklet has WebAssembly but no
// fetch and no emscripten runtime, so the processor instantiates the program
// itself and answers its few imports.
//
// Messages from the page (port): {song: BYTES} the song file image;
// {start: POSITION, run: N} starts run N at an order step (its first half
// second is queued before the reply {started: N}); {stop: true} ends the
// run. To the page: {ready: true} once the program is loaded, {heard: TICKS,
// run: N} whenever the heard ticks change, {text: LINE} for each line the
// program writes, {failed: TEXT} when the program cannot be loaded or
// refuses the song.
"use strict";

// The system calls the C library makes: text written goes to the page line
// by line; there are no files.
function systemCalls(processor) {
  const badFile = 8;
  return {
    fd_write(fd, iovs, count, written) {
      const view = new DataView(processor.memory.buffer);
      let total = 0;
      for (let i = 0; i < count; i++) {
        const at = view.getUint32(iovs + 8 * i, true);
        const length = view.getUint32(iovs + 8 * i + 4, true);
        const bytes = new Uint8Array(processor.memory.buffer, at, length);
        // The worklet has no TextDecoder; the program writes ASCII.
        for (let k = 0; k < length; k++) processor.character(bytes[k]);
        total += length;
      }
      view.setUint32(written, total, true);
      return 0;
    },
    fd_read: () => badFile,
    fd_seek: () => badFile,
    fd_close: () => badFile,
    proc_exit(code) {
      throw new Error(`the sound program stopped (exit ${code})`);
    },
  };
}

class KylvanderSound extends AudioWorkletProcessor {
  constructor(options) {
    super();
    this.run = 0;
    this.heard = -1;
    this.line = "";
    this.program = null;
    this.samples = null;
    this.port.onmessage = (event) => this.message(event.data);
    try {
      const { wasm } = options.processorOptions;
      const instance = new WebAssembly.Instance(new WebAssembly.Module(wasm), {
        env: { emscripten_notify_memory_growth: () => { this.samples = null; } },
        wasi_snapshot_preview1: systemCalls(this),
      });
      this.memory = instance.exports.memory;
      instance.exports._initialize();
      this.program = instance.exports;
      this.port.postMessage({ ready: true });
    } catch (error) {
      this.fail(`the sound program could not be loaded: ${error.message}`);
    }
  }

  character(code) {
    if (code === 10) {
      this.port.postMessage({ text: this.line });
      this.line = "";
    } else {
      this.line += String.fromCharCode(code);
    }
  }

  fail(text) {
    this.program = null;
    this.port.postMessage({ failed: text });
  }

  message(data) {
    if (!this.program) return;
    try {
      if (data.song !== undefined) {
        const at = this.program.kyl_sound_image(data.song.byteLength);
        new Uint8Array(this.memory.buffer, at, data.song.byteLength).set(new Uint8Array(data.song));
        this.warmUp();
      } else if (data.start !== undefined) {
        this.run = data.run;
        this.heard = -1;
        const refused = this.program.kyl_sound_start(data.start);
        if (refused) this.fail(`the sound program refused the song (error ${refused})`);
        else this.port.postMessage({ started: data.run });
      } else if (data.stop) {
        this.program.kyl_sound_stop();
      }
    } catch (error) {
      this.fail(`the sound program failed: ${error.message}`);
    }
  }

  // The browser compiles the program's functions when they first run: a
  // second of sound made and dropped now, while the page still loads, spares
  // the first run that wait.
  warmUp() {
    if (this.program.kyl_sound_start(0) !== 0) return;
    for (let i = 0; i < 350; i++) this.program.kyl_sound_play(128);
    this.program.kyl_sound_stop();
  }

  process(inputs, outputs) {
    const out = outputs[0];
    if (!this.program || out.length < 2) return true;
    const left = out[0];
    const right = out[1];
    const frames = left.length;
    try {
      const at = this.program.kyl_sound_play(frames) >> 2;
      if (!this.samples) this.samples = new Float32Array(this.memory.buffer);
      const samples = this.samples;
      for (let i = 0; i < frames; i++) {
        left[i] = samples[at + i];
        right[i] = samples[at + frames + i];
      }
      const heard = this.program.kyl_sound_heard_ticks();
      if (heard !== this.heard) {
        this.heard = heard;
        this.port.postMessage({ heard, run: this.run });
      }
    } catch (error) {
      this.fail(`the sound program failed: ${error.message}`);
    }
    return true;
  }
}

registerProcessor("kylvander-sound", KylvanderSound);
