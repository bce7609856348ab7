// Speed figures of the page in headless Chromium (software WebGL):
//
//   node bench-page.mjs benchmark URL   the page's frame-time table
//        (URL with benchmark=1), printed as the page printed it;
//        --count-gl adds the WebGL calls per frame of each scene (a
//        separate figure: counting slows the calls down); --trace FILE
//        records Chromium's trace of the run into FILE and prints, for the
//        GPU process's main thread and the page's, the events that took
//        the most time; --per-draw waits for the GPU process after every
//        draw and prints, per scene, each draw of a frame with its
//        triangles and the median time it took (frames drawn so are slower
//        as a whole: the draws no longer overlap); --cpu adds the processor
//        time of the GPU process (where the browser rasterises) and of the
//        page's renderer between two lines of the table, per timed frame,
//        which other work on the machine inflates far less than the frame
//        times (the untimed frames drawn between the scenes' stretches, for
//        their state only, count in too: compare rows with one another).
//   node bench-page.mjs render URL      milliseconds the page took to
//        render the song offline (URL with render=END).
//   node bench-page.mjs live URL        the page's fps readout while the
//        live show plays (URL with autostart=1): the median of the readouts
//        over --seconds S (default 4) after a second of warming up.
//
// Exit status 1 when the page logged an error or the wait ran out.
import { readFileSync, readdirSync, writeFileSync } from "node:fs";

import { openPage, sleep } from "./devtools.mjs";

const [mode, url, ...rest] = process.argv.slice(2);
const option = (name, fallback) => {
  const i = rest.indexOf(name);
  return i >= 0 ? rest[i + 1] : fallback;
};
const countGl = rest.includes("--count-gl");
const perDraw = rest.includes("--per-draw");
const cpu = rest.includes("--cpu");
const traceFile = option("--trace", null);
const traceCategories = "toplevel,gpu,gpu.angle,disabled-by-default-gpu.decoder,disabled-by-default-gpu.device,disabled-by-default-gpu.service,devtools.timeline,blink,viz";

// Wraps every WebGL method with a counter, and notes the counts at each
// console line the page prints, so that the lines of the table mark the
// scenes' frames. The benchmark ends a timed frame with a pixel read back
// and an untimed one (drawn for its state only) with a flush: the calls of
// an untimed frame are taken back out.
const glCounter = `(() => {
  let counts = { uploadBytes: 0 };
  let frameStart = Object.assign({}, counts);
  for (const proto of [WebGLRenderingContext.prototype, WebGL2RenderingContext.prototype]) {
    for (const name of Object.getOwnPropertyNames(proto)) {
      const d = Object.getOwnPropertyDescriptor(proto, name);
      if (typeof d.value !== "function" || name === "constructor") continue;
      const f = d.value;
      proto[name] = function (...a) {
        counts[name] = (counts[name] || 0) + 1;
        if (name === "bufferSubData") counts.uploadBytes += a.length >= 5 ? a[4] : a[2].byteLength;
        if (name === "bufferData") counts.uploadBytes += typeof a[1] === "number" ? 0 : a.length >= 5 ? a[4] : a[1].byteLength;
        const result = f.apply(this, a);
        if (name === "readPixels") frameStart = Object.assign({}, counts);
        else if (name === "flush") counts = Object.assign({}, frameStart);
        return result;
      };
    }
  }
  const marks = [];
  window.kylGlMarks = marks;
  const log = console.log;
  console.log = function (...a) {
    marks.push([String(a[0]), Object.assign({}, counts)]);
    return log.apply(this, a);
  };
})();`;

// Times every draw on its own: a pixel read back after it waits until the
// GPU process has drawn it. The page's own read-back ends a timed frame; a
// flush ends an untimed one, whose draws are dropped.
const drawTimer = `(() => {
  const frames = [];
  let frame = [];
  let timing = false;
  window.kylDrawFrames = frames;
  for (const proto of [WebGLRenderingContext.prototype, WebGL2RenderingContext.prototype]) {
    const readPixels = proto.readPixels;
    const pixel = new Uint8Array(4);
    const wait = (gl) => { timing = true; readPixels.call(gl, 0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel); timing = false; };
    for (const name of ["drawArrays", "drawElements"]) {
      const draw = proto[name];
      proto[name] = function (...a) {
        wait(this);
        const t0 = performance.now();
        draw.apply(this, a);
        wait(this);
        frame.push([(name === "drawArrays" ? a[2] : a[1]) / 3, performance.now() - t0]);
      };
    }
    proto.readPixels = function (...a) {
      if (!timing) { frames.push(frame); frame = []; }
      return readPixels.apply(this, a);
    };
    const flush = proto.flush;
    proto.flush = function (...a) { frame = []; return flush.apply(this, a); };
  }
  const log = console.log;
  console.log = function (...a) { frames.push(String(a[0])); return log.apply(this, a); };
})();`;

// Per scene, each draw of a frame: its triangles and median milliseconds.
function perDrawTable(frames) {
  let pending = [];
  for (const f of frames) {
    if (typeof f !== "string") { pending.push(f); continue; }
    const row = f.trim().split(/\s+/)[0];
    if (!/^\d/.test(row) && row !== "clear" && row !== "pictures") { pending = []; continue; }
    const slots = [];
    for (const frame of pending) frame.forEach(([triangles, ms], k) => (slots[k] = slots[k] || []).push([triangles, ms]));
    const cells = slots.map((s) => {
      const ms = s.map((x) => x[1]).sort((a, b) => a - b)[Math.floor(s.length / 2)];
      return `${Math.round(s[0][0])}:${ms.toFixed(2)}`;
    });
    const total = slots.reduce((sum, s) => sum + s.map((x) => x[1]).sort((a, b) => a - b)[Math.floor(s.length / 2)], 0);
    console.log(`${row.padStart(8)}  ${total.toFixed(2).padStart(6)} ms  ${cells.join(" ")}`);
    pending = [];
  }
}

// The calls per frame between two marks, grouped as the layer's work is.
function glRow(before, after, frames) {
  const d = (name) => ((after[name] || 0) - (before[name] || 0)) / frames;
  const sum = (names) => names.reduce((s, n) => s + d(n), 0);
  const uniforms = Object.keys(after).filter((n) => n.startsWith("uniform"));
  const all = Object.keys(after).filter((n) => n !== "uploadBytes");
  return {
    draws: sum(["drawArrays", "drawElements"]),
    uploads: sum(["bufferData", "bufferSubData"]),
    kib: d("uploadBytes") / 1024,
    programs: d("useProgram"),
    uniforms: sum(uniforms),
    state: sum(["enable", "disable", "blendFunc", "depthMask", "depthFunc", "viewport", "scissor", "clearColor"]),
    textures: sum(["bindTexture", "activeTexture"]),
    attributes: sum(["vertexAttribPointer", "enableVertexAttribArray", "disableVertexAttribArray",
                     "vertexAttrib3fv", "vertexAttrib4fv", "bindBuffer"]),
    total: sum(all),
  };
}

async function benchmark(page) {
  await page.waitFor("typeof kylvanderPage !== 'undefined'", 60);
  const timeout = Number(option("--timeout", "900"));
  await page.waitFor("kylvanderPage.events.some((e) => e[0] === 'benchmark-done' || e[0] === 'benchmark-failed')", timeout);
  if (traceFile) {
    const done = new Promise((resolve) => (traceDone = resolve));
    await page.send("Tracing.end", {}, null);
    await done;
    writeFileSync(traceFile, JSON.stringify({ traceEvents: traceEvents }));
    traceSummary(traceEvents);
  }
  const lines = page.console.map((c) => c.text);
  const first = lines.findIndex((l) => l.startsWith("frame times"));
  const last = lines.findIndex((l) => l.startsWith("start-up"));
  if (first < 0 || last < 0) throw new Error("the page printed no benchmark table");
  for (const line of lines.slice(first, last + 1)) console.log(line);
  if (cpu) {
    console.log("processor ms per frame: the GPU process, the page's renderer");
    for (let i = 1; i < cpuMarks.length; i++) {
      const row = cpuMarks[i][0].trim().split(/\s+/)[0];
      if (!/^\d/.test(row) && row !== "clear" && row !== "pictures") continue;
      if (!/^\d|scene|clear|pictures/.test(cpuMarks[i - 1][0].trim())) continue;
      const gpu = cpuBetween(cpuMarks[i - 1][1], cpuMarks[i][1]) / 180;
      const renderer = cpuBetween(cpuMarks[i - 1][2], cpuMarks[i][2]) / 180;
      console.log(`${row.padStart(8)}  ${gpu.toFixed(2).padStart(7)}  ${renderer.toFixed(2).padStart(7)}`);
    }
  }
  if (perDraw) {
    console.log("per draw: triangles:median ms of each draw of a frame, in order; their sum");
    perDrawTable(await page.evaluate("window.kylDrawFrames"));
  }
  if (!countGl) return;
  const marks = await page.evaluate("window.kylGlMarks");
  const header = marks.findIndex((m) => m[0].startsWith("scene "));
  console.log("WebGL calls per frame (180 frames a scene)");
  console.log("scene   draws  uploads  KiB up  programs  uniforms  state  textures  attributes   total");
  for (let i = header + 1; i < marks.length && /^\s*\d/.test(marks[i][0]); i++) {
    const r = glRow(marks[i - 1][1], marks[i][1], 180);
    const scene = marks[i][0].trim().split(/\s+/)[0];
    console.log(`${scene.padStart(5)}  ${r.draws.toFixed(1).padStart(6)}  ${r.uploads.toFixed(1).padStart(7)}  ` +
      `${r.kib.toFixed(0).padStart(6)}  ${r.programs.toFixed(1).padStart(8)}  ${r.uniforms.toFixed(0).padStart(8)}  ` +
      `${r.state.toFixed(0).padStart(5)}  ${r.textures.toFixed(0).padStart(8)}  ${r.attributes.toFixed(0).padStart(10)}  ` +
      `${r.total.toFixed(0).padStart(6)}`);
  }
}

// The events that took the most time on the busiest threads, nested ones
// counted within their parents too.
function traceSummary(events) {
  const names = new Map();
  for (const e of events) if (e.ph === "M" && e.name === "thread_name") names.set(`${e.pid}.${e.tid}`, e.args.name);
  const threads = new Map();
  for (const e of events) {
    if (e.ph !== "X" || !e.dur) continue;
    const thread = names.get(`${e.pid}.${e.tid}`) || `${e.pid}.${e.tid}`;
    if (!threads.has(thread)) threads.set(thread, new Map());
    const byName = threads.get(thread);
    byName.set(e.name, (byName.get(e.name) || 0) + e.dur);
  }
  for (const thread of ["CrGpuMain", "CrRendererMain", "VizCompositorThread"]) {
    const byName = threads.get(thread);
    if (!byName) continue;
    console.log(`trace: ${thread}, ms in the events that took the most`);
    for (const [name, us] of [...byName].sort((a, b) => b[1] - a[1]).slice(0, 15))
      console.log(`  ${(us / 1000).toFixed(0).padStart(8)}  ${name}`);
  }
}

async function render(page) {
  await page.waitFor("typeof kylvanderPage !== 'undefined'", 60);
  await page.waitFor("kylvanderPage.renderDone", Number(option("--timeout", "600")));
  const ms = await page.evaluate("kylvanderPage.mainReturnedMs - kylvanderPage.startMs");
  console.log(`render: ${ms.toFixed(0)} ms`);
}

async function live(page) {
  const seconds = Number(option("--seconds", "4"));
  await page.waitFor("typeof kylvanderPage !== 'undefined'", 60);
  await page.waitFor("kylvanderPage.firstFrameMs !== null", 120);
  await sleep(1000);
  const from = await page.evaluate("kylvanderPage.events.length");
  await sleep(seconds * 1000);
  const titles = await page.evaluate(`kylvanderPage.events.slice(${from}).filter((e) => e[0] === "title").map((e) => e[1])`);
  const rates = titles.map((t) => Number(t.replace(/^fps: /, ""))).filter((n) => !Number.isNaN(n)).sort((a, b) => a - b);
  if (rates.length === 0) throw new Error("the page showed no fps readout");
  console.log(`live: median fps ${rates[Math.floor(rates.length / 2)]} (${rates.length} readouts, ${rates[0]} to ${rates[rates.length - 1]})`);
}

// Processor time (ms) of every process of the browser whose command line
// has `type`, all threads, by process id.
function cpuMs(type) {
  const ms = new Map();
  for (const pid of readdirSync("/proc").filter((p) => /^\d+$/.test(p))) {
    let command;
    try {
      command = readFileSync(`/proc/${pid}/cmdline`, "utf8");
    } catch (error) {
      continue;
    }
    if (!command.includes(`--type=${type}`) || !command.includes("kyl-chromium-")) continue;
    let ticks = 0;
    try {
      for (const tid of readdirSync(`/proc/${pid}/task`)) {
        const fields = readFileSync(`/proc/${pid}/task/${tid}/stat`, "utf8").split(") ")[1].split(" ");
        ticks += Number(fields[11]) + Number(fields[12]);
      }
    } catch (error) {
      continue;  // the process ended meanwhile
    }
    ms.set(pid, ticks * 10);
  }
  return ms;
}
// The time the processes alive at both moments took in between.
function cpuBetween(before, after) {
  let ms = 0;
  for (const [pid, value] of after) if (before.has(pid)) ms += value - before.get(pid);
  return ms;
}
const cpuMarks = [];

const modes = { benchmark, render, live };
const traceEvents = [];
let traceDone = null;
function onEvent(method, params) {
  if (cpu && method === "Runtime.consoleAPICalled")
    cpuMarks.push([String(params.args[0] && params.args[0].value), cpuMs("gpu-process"), cpuMs("renderer")]);
  if (method === "Tracing.dataCollected") traceEvents.push(...params.value);
  else if (method === "Tracing.tracingComplete" && traceDone) traceDone();
}
let status = 0;
let page;
try {
  if (!modes[mode]) throw new Error(`unknown mode ${mode}: benchmark, render or live`);
  const beforeLoad = countGl ? glCounter : perDraw ? drawTimer : null;
  page = await openPage({
    window: option("--window", "640,480"),
    flags: ["--autoplay-policy=no-user-gesture-required"],
    scripts: beforeLoad ? [beforeLoad] : [],
  });
  page.on(onEvent);
  if (traceFile) await page.send("Tracing.start", { categories: traceCategories, transferMode: "ReportEvents" }, null);
  await page.navigate(url);
  await modes[mode](page);
} catch (error) {
  console.error(`bench-page: ${error.message}`);
  status = 1;
}
if (page) {
  const errors = page.errors();
  for (const c of errors) console.error(`page ${c.level}: ${c.text}`);
  if (errors.length > 0) status = 1;
  await page.close();
}
process.exit(status);
