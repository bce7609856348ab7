// Drives the page in headless Chromium (devtools.mjs) and writes what it
// reads back:
//
//   node drive-page.mjs MODE URL OUTDIR [options]
//
// MODE frames: waits until the page has drawn its frames; writes
//   frame-N.rgb (640x480 RGB rows, top row first). --content DIR: the song
//   and the pictures in the page's files must be those of DIR, byte for byte.
// MODE canvas: the same for frames drawn on the canvas (canvasframes=...);
//   writes canvas-N.rgb and canvas.json (devicePixelRatio, the canvas's
//   displayed size and drawing buffer, each frame's size). --scale F runs
//   the browser at device scale F.
// MODE render: waits until the page has rendered the song; writes song.wav.
// MODE live: the show plays (the URL starts it without a click) through the
//   test's recorder (sound-recorder.js) for --seconds S (default 12), the
//   main thread busy 300 ms of every second from 1.5 s after the first
//   frame (not with --no-stall); then Escape, and the page must offer "play
//   again". Writes live.json (the console lines, the load and first-frame
//   times, the longest silence the recorder heard, the context's
//   playbackStats when the stalls began and at the end) and live.wav.
// MODE start: the start screen (the show's name, the keys, "click to
//   start", the download's progress), a click, the show, F for fullscreen
//   and back, Escape, "play again", the show again, Escape; with the
//   browser's default autoplay policy, so that only the click lets the sound
//   play.
// MODE fail: the page must say --expect TEXT on its screen in words, with
//   no uncaught error: --flag F adds a browser flag (e.g. --disable-webgl),
//   --cut NAME answers the request for NAME with half its bytes, --missing
//   NAME with 404, --refuse-audio makes the browser refuse an audio context,
//   --no-worklet gives it none of the audio worklets (as on a page served
//   over plain http from another machine).
// Every mode writes console.json. Exit status 1 when the page logged an
// error or threw, a check failed, or a wait ran out.
import { createHash } from "node:crypto";
import { readdirSync, readFileSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import { fileURLToPath } from "node:url";
import { openPage, sleep } from "./devtools.mjs";

const [mode, url, outDir, ...rest] = process.argv.slice(2);
const option = (name, fallback) => {
  const i = rest.indexOf(name);
  return i >= 0 ? rest[i + 1] : fallback;
};
const options = (name) => rest.flatMap((arg, i) => (arg === name ? [rest[i + 1]] : []));
const timeoutSeconds = Number(option("--timeout", "600"));
const here = fileURLToPath(new URL(".", import.meta.url));

// A 16-bit stereo 44100 Hz WAV file around little-endian sample bytes.
function wav(data) {
  const header = Buffer.alloc(44);
  header.write("RIFF", 0); header.writeUInt32LE(36 + data.length, 4); header.write("WAVE", 8);
  header.write("fmt ", 12); header.writeUInt32LE(16, 16); header.writeUInt16LE(1, 20);
  header.writeUInt16LE(2, 22); header.writeUInt32LE(44100, 24); header.writeUInt32LE(176400, 28);
  header.writeUInt16LE(4, 32); header.writeUInt16LE(16, 34);
  header.write("data", 36); header.writeUInt32LE(data.length, 40);
  return Buffer.concat([header, data]);
}

const failures = [];
function check(ok, text) {
  if (!ok) failures.push(text);
}

// Flags, scripts and request answers each mode asks of the browser.
function browserSetup() {
  const flags = options("--flag");
  const scripts = [];
  if (mode !== "start") flags.push("--autoplay-policy=no-user-gesture-required");
  if (mode === "canvas") flags.push(`--force-device-scale-factor=${option("--scale", "2")}`);
  // A screen larger than the window (headless Chromium's own is smaller),
  // so that fullscreen has more pixels to show.
  if (mode === "start" || mode === "canvas") flags.push("--screen-info={1600x1200}");
  if (mode === "live") scripts.push(readFileSync(join(here, "sound-recorder.js"), "utf8"));
  if (rest.includes("--no-worklet")) {
    scripts.push(`Object.defineProperty(BaseAudioContext.prototype, "audioWorklet", { get: () => undefined });`);
  }
  if (rest.includes("--refuse-audio")) {
    scripts.push(`window.AudioContext = window.webkitAudioContext = function () {
      throw new DOMException("The user agent refused to make an audio context.", "NotAllowedError"); };`);
  }
  return { flags, scripts, window: option("--window", "640,480") };
}

// Answers requests for --missing and --cut files as a broken server would.
async function breakRequests(page) {
  const missing = options("--missing");
  const cut = options("--cut");
  if (missing.length === 0 && cut.length === 0) return;
  const patterns = [...missing, ...cut].map((name) => ({ urlPattern: `*/${name}` }));
  page.on(async (method, params) => {
    if (method !== "Fetch.requestPaused") return;
    const name = new URL(params.request.url).pathname.split("/").pop();
    const requestId = params.requestId;
    if (missing.includes(name)) {
      await page.send("Fetch.fulfillRequest", { requestId, responseCode: 404, body: "" });
      return;
    }
    const whole = await (await fetch(params.request.url)).arrayBuffer();
    const half = Buffer.from(whole).subarray(0, whole.byteLength >> 1);
    await page.send("Fetch.fulfillRequest", {
      requestId, responseCode: 200,
      responseHeaders: [{ name: "Content-Type", value: "application/octet-stream" }],
      body: half.toString("base64"),
    });
  });
  await page.send("Fetch.enable", { patterns });
}

const overlayText = "document.getElementById('overlay').classList.contains('hidden') ? '' : document.getElementById('overlay').innerText";

async function frames(page) {
  await page.waitFor("kylvanderPage.framesDone || kylvanderPage.framesFailed !== null", timeoutSeconds);
  const failed = await page.evaluate("kylvanderPage.framesFailed");
  if (failed) throw new Error(`the page could not draw the frames: ${failed}`);
  const count = await page.evaluate("Object.keys(kylvanderPage.frames).length");
  const prefix = mode === "canvas" ? "canvas" : "frame";
  const sizes = [];
  for (let i = 0; i < count; i++) {
    writeFileSync(join(outDir, `${prefix}-${i}.rgb`), await page.bytes(`kylvanderPage.frames[${i}].rgb`));
    sizes.push(await page.evaluate(`[kylvanderPage.frames[${i}].width, kylvanderPage.frames[${i}].height]`));
  }
  const t = await page.evaluate("[kylvanderPage.readyMs, kylvanderPage.startMs, kylvanderPage.mainReturnedMs, kylvanderPage.framesDoneMs]");
  console.log(`${mode}: ${count} read back; ready ${t[0].toFixed(0)} ms, scenes built in ${(t[2] - t[1]).toFixed(0)} ms, frames drawn in ${(t[3] - t[2]).toFixed(0)} ms`);
  if (mode === "canvas") {
    const canvas = await page.evaluate(`(function () {
      const c = document.getElementById("canvas"), r = c.getBoundingClientRect();
      return { devicePixelRatio: window.devicePixelRatio, displayed: [r.width, r.height], buffer: [c.width, c.height] };
    })()`);
    canvas.frames = sizes;
    writeFileSync(join(outDir, "canvas.json"), JSON.stringify(canvas));
    console.log(`canvas: devicePixelRatio ${canvas.devicePixelRatio}, displayed ${canvas.displayed.join("x")}, drawing buffer ${canvas.buffer.join("x")}`);
  }
  const content = option("--content", null);
  if (content) {
    // The song and the pictures as the program reads them, against the files
    // the page was built from.
    const names = [...readdirSync(content).filter((n) => n.endsWith(".tga")), "show/brumtakt"];
    let same = 0;
    for (const name of names) {
      const digest = createHash("sha256").update(readFileSync(join(content, name))).digest("hex");
      const inPage = await page.evaluate(`crypto.subtle.digest("SHA-256", kylvanderPage.module.FS.readFile("/content/${name}"))
        .then((d) => Array.from(new Uint8Array(d), (b) => b.toString(16).padStart(2, "0")).join(""))`);
      check(inPage === digest, `${name} reached the program changed`);
      if (inPage === digest) same++;
    }
    console.log(`files: ${same} of ${names.length} reached the program byte for byte`);
  }
}

const playbackStats = `(function (s) {
  return s ? { underrunEvents: s.underrunEvents, underrunDuration: s.underrunDuration,
               totalDuration: s.totalDuration } : null;
})(kylvanderPage.sound.context.playbackStats)`;

async function live(page) {
  await page.waitFor("kylvanderPage.firstFrameMs !== null", 120);
  // What the context counted while the show started (its first frames load
  // the processors; on this machine the output now and then misses one
  // deadline then), read once the counts have caught up: the guard below
  // counts from here.
  await sleep(1500);
  const startStats = await page.evaluate(playbackStats);
  // The main thread busy 300 ms of every second: the sound must not notice.
  if (!rest.includes("--no-stall")) await page.evaluate(`setInterval(function () {
    var until = performance.now() + 300;
    while (performance.now() < until) {}
  }, 1000), true`);
  await sleep(Number(option("--seconds", "12")) * 1000);
  const beforeEscape = await page.evaluate("kylvanderPage.ended");
  await page.evaluate("kylvanderRecorder.stop()");
  // playbackStats lags about a second behind.
  await sleep(1500);
  const stats = await page.evaluate(playbackStats);
  await page.key("Escape", "Escape", 27);
  await page.waitFor("kylvanderPage.state === 'ended'", 10);
  const endScreen = await page.evaluate(overlayText);
  const report = await page.evaluate(`({ readyMs: kylvanderPage.readyMs, firstFrameMs: kylvanderPage.firstFrameMs,
    marks: kylvanderPage.marks, startMs: kylvanderPage.startMs, mainReturnedMs: kylvanderPage.mainReturnedMs,
    events: kylvanderPage.events, messages: kylvanderPage.messages, endedBeforeEscape: ${beforeEscape},
    longestSilence: kylvanderRecorder.longestSilence, recordedFrames: kylvanderRecorder.frames,
    lostFrames: kylvanderRecorder.lost })`);
  report.startPlaybackStats = startStats;
  report.playbackStats = stats;
  report.endScreen = endScreen;
  report.console = page.console.map((c) => c.text);
  writeFileSync(join(outDir, "live.json"), JSON.stringify(report, null, 1));
  const tapped = report.recordedFrames;
  if (tapped > 0) writeFileSync(join(outDir, "live.wav"), wav(await page.bytes(`kylvanderRecorder.samples.subarray(0, ${tapped * 2})`)));
  check(/play again/.test(endScreen), `the end screen says "${endScreen}", not "play again"`);
  check(report.lostFrames === 0, `the recorder ran out of chunks and lost ${report.lostFrames} frames`);
  console.log(`live: first frame ${report.firstFrameMs.toFixed(0)} ms after navigation, ${tapped} frames of sound recorded, ended by Escape`);
}

// F shows the show fullscreen at the screen's pixels (the largest 4/3 box
// of them), F again brings the window back.
async function fullscreen(page) {
  const canvas = "[!!document.fullscreenElement, canvas.width, canvas.height]";
  const windowed = await page.evaluate(canvas);
  const expected = await page.evaluate(`(function () {
    const w = Math.floor(Math.min(screen.width, screen.height * 4 / 3) * devicePixelRatio / 4) * 4;
    return [true, w, w * 3 / 4];
  })()`);
  const reaches = (size) => page.waitFor(`JSON.stringify(${canvas}) === ${JSON.stringify(JSON.stringify(size))}`, 10)
    .catch(() => {});
  // The window takes the new size on the frame after the page's layout.
  await page.key("f", "KeyF", 70);
  await reaches(expected);
  const full = await page.evaluate(canvas);
  check(JSON.stringify(full) === JSON.stringify(expected), `fullscreen drew at ${full}, not ${expected}`);
  await page.key("f", "KeyF", 70);
  await reaches(windowed);
  const back = await page.evaluate(canvas);
  check(JSON.stringify(back) === JSON.stringify(windowed), `back from fullscreen at ${back}, not ${windowed}`);
  console.log(`start: F showed the show fullscreen at ${full[1]}x${full[2]} and back at ${back[1]}x${back[2]}`);
}

async function start(page) {
  await page.waitFor("kylvanderPage.state === 'ready' || kylvanderPage.state === 'failed'", 120);
  const screen = await page.evaluate(overlayText);
  for (const words of ["Kylvander", "audiovisual show", "Escape ends", "space slows the pictures",
    "F toggles fullscreen", "click to start"])
    check(screen.includes(words), `the start screen lacks "${words}": ${JSON.stringify(screen)}`);
  const loaded = await page.evaluate("kylvanderPage.loadedBytes");
  check(loaded && loaded[0] === loaded[1] && loaded[1] > 0, `the progress ended at ${loaded}`);
  for (let run = 1; run <= 2; run++) {
    await page.click(320, 240);
    await page.waitFor(`kylvanderPage.runs === ${run} && kylvanderPage.runFirstFrameMs !== null`, 60);
    if (run === 1) await fullscreen(page);
    await sleep(3000);
    const heard = await page.evaluate("kylvanderPage.sound.heard");
    check(heard > 0, `run ${run}: no heard ticks after 3 s`);
    await page.key("Escape", "Escape", 27);
    await page.waitFor("kylvanderPage.state === 'ended'", 10);
    const end = await page.evaluate(overlayText);
    check(end.includes("play again"), `run ${run}: the end screen says ${JSON.stringify(end)}`);
    console.log(`start: run ${run} played, heard ${heard} ticks after 3 s, ended by Escape`);
  }
  const lines = page.console.map((c) => c.text);
  const drivers = lines.filter((l) => l === "audio driver audioworklet").length;
  check(drivers === 2, `"audio driver audioworklet" ${drivers} times, not once per run`);
}

async function fail(page) {
  const expected = option("--expect", "");
  await page.waitFor("kylvanderPage.state === 'ready' || kylvanderPage.state === 'failed'", 120);
  if (await page.evaluate("kylvanderPage.state === 'ready'")) await page.click(320, 240);
  await page.waitFor("kylvanderPage.state === 'failed'", 30);
  const screen = await page.evaluate(overlayText);
  check(screen.toLowerCase().includes(expected.toLowerCase()), `the page says ${JSON.stringify(screen)}, not "${expected}"`);
  console.log(`fail: the page says ${JSON.stringify(await page.evaluate("document.getElementById('status').innerText"))}`);
}

async function main() {
  const page = await openPage(browserSetup());
  let status = 0;
  try {
    await breakRequests(page);
    await page.navigate(url);
    await page.waitFor("typeof kylvanderPage !== 'undefined'", 60);
    if (mode === "frames" || mode === "canvas") {
      await frames(page);
    } else if (mode === "render") {
      await page.waitFor("kylvanderPage.renderDone", timeoutSeconds);
      writeFileSync(join(outDir, "song.wav"), await page.bytes("kylvanderPage.wav"));
      console.log("render: song.wav read back");
    } else if (mode === "live") {
      await live(page);
    } else if (mode === "start") {
      await start(page);
    } else if (mode === "fail") {
      await fail(page);
    } else {
      throw new Error(`no mode ${mode}`);
    }
  } catch (error) {
    failures.push(error.message);
  }
  writeFileSync(join(outDir, "console.json"), JSON.stringify(page.console, null, 1));
  // A page that fails a download on purpose logs the refused request.
  for (const c of page.errors({ allowNetwork: mode === "fail" })) failures.push(`page ${c.level}: ${c.text}`);
  await page.close();
  for (const text of failures) console.error(`drive-page ${mode}: ${text}`);
  if (failures.length > 0) status = 1;
  process.exit(status);
}

await main();
