// Drives the page in headless Chromium through the DevTools protocol (over
// a pipe, so nothing but node is needed) and writes what it reads back:
//
//   node drive-page.mjs MODE URL OUTDIR
//
// MODE frames: waits until the page has drawn its frames; writes
//   frame-N.rgb (640x480 RGB rows, top row first).
// MODE render: waits until the page has rendered the song; writes song.wav.
// MODE live: lets the show play for --seconds S (default 12), presses
//   Escape, waits until the page says the show has ended; writes live.json
//   (the console lines, the load and first-frame times) and live.wav, the
//   sound the Web Audio node played (the URL asks the page to tap it);
//   --screenshot FILE keeps a picture of the page taken before Escape.
// Every mode writes console.json. Exit status 1 when the page logged an
// error or threw, or the wait ran out.
import { spawn } from "node:child_process";
import { mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

const [mode, url, outDir, ...rest] = process.argv.slice(2);
const option = (name, fallback) => {
  const i = rest.indexOf(name);
  return i >= 0 ? rest[i + 1] : fallback;
};
const liveSeconds = Number(option("--seconds", "12"));
const timeoutSeconds = Number(option("--timeout", "600"));
const chromium = option("--chromium", "/usr/bin/chromium");

const profile = mkdtempSync(join(tmpdir(), "kyl-chromium-"));
const browser = spawn(chromium, [
  "--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
  "--autoplay-policy=no-user-gesture-required", "--disable-background-networking",
  "--disable-component-update", "--disable-sync", "--no-first-run",
  "--disable-background-timer-throttling", "--disable-renderer-backgrounding",
  `--user-data-dir=${profile}`, `--window-size=${option("--window", "640,480")}`, "--remote-debugging-pipe",
  "about:blank",
], { stdio: ["ignore", "ignore", "pipe", "pipe", "pipe"] });
browser.stderr.on("data", () => {});
const toBrowser = browser.stdio[3];
const fromBrowser = browser.stdio[4];

let nextId = 1;
const waiting = new Map();
const console_ = [];
let failures = 0;
let pending = Buffer.alloc(0);
fromBrowser.on("data", (chunk) => {
  pending = Buffer.concat([pending, chunk]);
  let end;
  while ((end = pending.indexOf(0)) >= 0) {
    const message = JSON.parse(pending.subarray(0, end).toString("utf8"));
    pending = pending.subarray(end + 1);
    if (message.id && waiting.has(message.id)) {
      const { resolve, reject } = waiting.get(message.id);
      waiting.delete(message.id);
      if (message.error) reject(new Error(JSON.stringify(message.error)));
      else resolve(message.result);
    } else if (message.method) {
      event(message.method, message.params);
    }
  }
});

function send(method, params = {}, sessionId) {
  const id = nextId++;
  const message = { id, method, params };
  if (sessionId) message.sessionId = sessionId;
  toBrowser.write(JSON.stringify(message) + "\0");
  return new Promise((resolve, reject) => waiting.set(id, { resolve, reject }));
}

function event(method, params) {
  if (method === "Runtime.consoleAPICalled") {
    const text = params.args.map((a) => (a.value !== undefined ? String(a.value) : a.description || "")).join(" ");
    console_.push({ level: params.type, text });
    if (params.type === "error" || params.type === "assert") failures++;
  } else if (method === "Runtime.exceptionThrown") {
    const d = params.exceptionDetails;
    console_.push({ level: "exception", text: (d.exception && d.exception.description) || d.text });
    failures++;
  } else if (method === "Log.entryAdded") {
    console_.push({ level: params.entry.level, text: params.entry.text, source: params.entry.source });
    if (params.entry.level === "error") failures++;
  }
}

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
let session;
async function evaluate(expression) {
  const result = await send("Runtime.evaluate", { expression, returnByValue: true, awaitPromise: true }, session);
  if (result.exceptionDetails) throw new Error(`${expression}: ${result.exceptionDetails.text}`);
  return result.result.value;
}
async function waitFor(expression, seconds) {
  const until = Date.now() + seconds * 1000;
  while (Date.now() < until) {
    if (await evaluate(expression)) return true;
    await sleep(250);
  }
  throw new Error(`timed out waiting for ${expression}`);
}
const base64Of = (expression) => evaluate(`(function (a) {
  let s = "";
  for (let i = 0; i < a.length; i += 0x8000) s += String.fromCharCode.apply(null, a.subarray(i, i + 0x8000));
  return btoa(s);
})(${expression})`);

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

async function main() {
  const { targetId } = await send("Target.createTarget", { url: "about:blank" });
  ({ sessionId: session } = await send("Target.attachToTarget", { targetId, flatten: true }));
  await send("Runtime.enable", {}, session);
  await send("Log.enable", {}, session);
  await send("Page.enable", {}, session);
  await send("Page.navigate", { url }, session);
  await waitFor("typeof kylvanderPage !== 'undefined'", 60);

  if (mode === "frames") {
    await waitFor("kylvanderPage.framesDone || kylvanderPage.framesFailed !== null", timeoutSeconds);
    const failed = await evaluate("kylvanderPage.framesFailed");
    if (failed) throw new Error(`the page could not draw the frames: ${failed}`);
    const count = await evaluate("Object.keys(kylvanderPage.frames).length");
    for (let i = 0; i < count; i++)
      writeFileSync(join(outDir, `frame-${i}.rgb`), Buffer.from(await base64Of(`kylvanderPage.frames[${i}]`), "base64"));
    const t = await evaluate("[kylvanderPage.readyMs, kylvanderPage.startMs, kylvanderPage.mainReturnedMs, kylvanderPage.framesDoneMs]");
    console.log(`frames: ${count} read back; ready ${t[0].toFixed(0)} ms, scenes built in ${(t[2] - t[1]).toFixed(0)} ms, frames drawn in ${(t[3] - t[2]).toFixed(0)} ms`);
  } else if (mode === "render") {
    await waitFor("kylvanderPage.renderDone", timeoutSeconds);
    writeFileSync(join(outDir, "song.wav"), Buffer.from(await base64Of("kylvanderPage.wav"), "base64"));
    console.log("render: song.wav read back");
  } else if (mode === "live") {
    await waitFor("kylvanderPage.firstFrameMs !== null", 120);
    await sleep(liveSeconds * 1000);
    const beforeEscape = await evaluate("kylvanderPage.ended");
    const shot = option("--screenshot", null);
    if (shot) {
      const { data } = await send("Page.captureScreenshot", { format: "png" }, session);
      writeFileSync(shot, Buffer.from(data, "base64"));
    }
    await send("Input.dispatchKeyEvent", { type: "rawKeyDown", key: "Escape", code: "Escape", windowsVirtualKeyCode: 27 }, session);
    await send("Input.dispatchKeyEvent", { type: "keyUp", key: "Escape", code: "Escape", windowsVirtualKeyCode: 27 }, session);
    await waitFor("kylvanderPage.ended", 10);
    const report = await evaluate(`({ readyMs: kylvanderPage.readyMs, firstFrameMs: kylvanderPage.firstFrameMs,
      events: kylvanderPage.events, messages: kylvanderPage.messages, endedBeforeEscape: ${beforeEscape} })`);
    report.console = console_.map((c) => c.text);
    writeFileSync(join(outDir, "live.json"), JSON.stringify(report, null, 1));
    const tapped = await evaluate("kylvanderPage.tap ? kylvanderPage.tapFrames : 0");
    if (tapped > 0) {
      const tap = Buffer.from(await base64Of(
        "new Uint8Array(kylvanderPage.tap.buffer, 0, kylvanderPage.tapFrames * 4)"), "base64");
      writeFileSync(join(outDir, "live.wav"), wav(tap));
    }
    console.log(`live: first frame ${report.firstFrameMs.toFixed(0)} ms after navigation, ${tapped} frames of sound tapped, ended by Escape`);
  }
}

let status = 0;
try {
  await main();
} catch (error) {
  console.error(`drive-page: ${error.message}`);
  status = 1;
}
writeFileSync(join(outDir, "console.json"), JSON.stringify(console_, null, 1));
for (const c of console_) if (c.level === "error" || c.level === "exception") console.error(`page ${c.level}: ${c.text}`);
if (failures > 0) status = 1;
const exited = new Promise((resolve) => browser.once("exit", resolve));
browser.kill("SIGTERM");
await Promise.race([exited, sleep(5000)]);
try {
  rmSync(profile, { recursive: true, force: true });
} catch (error) {
  // A browser process still writing its profile: the folder is temporary.
}
process.exit(status);
