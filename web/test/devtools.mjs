// Headless Chromium driven through the DevTools protocol over a pipe, so
// that nothing but node is needed. One browser, one page:
//
//   const page = await openPage({ window: "640,480", flags: [...], scripts: [...] });
//   await page.navigate(url); await page.evaluate("..."); await page.close();
//
// scripts run in the page before its own; flags are added to Chromium's. The
// page's console lines, exceptions and log entries are collected; errors()
// lists those that count as the page's errors.
import { spawn } from "node:child_process";
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

export const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

export async function openPage({ chromium = "/usr/bin/chromium", window = "640,480", flags = [], scripts = [] } = {}) {
  const profile = mkdtempSync(join(tmpdir(), "kyl-chromium-"));
  const browser = spawn(chromium, [
    "--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--no-first-run", "--disable-background-timer-throttling", "--disable-renderer-backgrounding",
    `--user-data-dir=${profile}`, `--window-size=${window}`, "--remote-debugging-pipe",
    ...flags, "about:blank",
  ], { stdio: ["ignore", "ignore", "pipe", "pipe", "pipe"] });
  browser.stderr.on("data", () => {});
  const toBrowser = browser.stdio[3];
  const fromBrowser = browser.stdio[4];

  let nextId = 1;
  const waiting = new Map();
  const listeners = [];
  const console_ = [];
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
        collect(message.method, message.params);
        for (const listener of listeners) listener(message.method, message.params);
      }
    }
  });

  function collect(method, params) {
    if (method === "Runtime.consoleAPICalled") {
      const text = params.args.map((a) => (a.value !== undefined ? String(a.value) : a.description || "")).join(" ");
      console_.push({ level: params.type, text });
    } else if (method === "Runtime.exceptionThrown") {
      const d = params.exceptionDetails;
      console_.push({ level: "exception", text: (d.exception && d.exception.description) || d.text });
    } else if (method === "Log.entryAdded") {
      console_.push({ level: params.entry.level, text: params.entry.text, source: params.entry.source });
    }
  }

  let session;
  function send(method, params = {}, toSession = session) {
    const id = nextId++;
    const message = { id, method, params };
    if (toSession) message.sessionId = toSession;
    toBrowser.write(JSON.stringify(message) + "\0");
    return new Promise((resolve, reject) => waiting.set(id, { resolve, reject }));
  }

  const { targetId } = await send("Target.createTarget", { url: "about:blank" }, null);
  ({ sessionId: session } = await send("Target.attachToTarget", { targetId, flatten: true }, null));
  await send("Runtime.enable");
  await send("Log.enable");
  await send("Page.enable");
  for (const source of scripts) await send("Page.addScriptToEvaluateOnNewDocument", { source });

  const page = {
    send,
    console: console_,
    on(listener) { listeners.push(listener); },
    navigate: (url) => send("Page.navigate", { url }),
    async evaluate(expression) {
      const result = await send("Runtime.evaluate", { expression, returnByValue: true, awaitPromise: true });
      if (result.exceptionDetails) throw new Error(`${expression}: ${result.exceptionDetails.text}`);
      return result.result.value;
    },
    async waitFor(expression, seconds) {
      const until = Date.now() + seconds * 1000;
      while (Date.now() < until) {
        if (await page.evaluate(expression)) return true;
        await sleep(250);
      }
      throw new Error(`timed out waiting for ${expression}`);
    },
    // The bytes of a typed array in the page.
    async bytes(expression) {
      const base64 = await page.evaluate(`(function (a) {
        a = new Uint8Array(a.buffer, a.byteOffset, a.byteLength);
        let s = "";
        for (let i = 0; i < a.length; i += 0x8000) s += String.fromCharCode.apply(null, a.subarray(i, i + 0x8000));
        return btoa(s);
      })(${expression})`);
      return Buffer.from(base64, "base64");
    },
    async key(key, code, keyCode) {
      await send("Input.dispatchKeyEvent", { type: "rawKeyDown", key, code, windowsVirtualKeyCode: keyCode });
      await send("Input.dispatchKeyEvent", { type: "keyUp", key, code, windowsVirtualKeyCode: keyCode });
    },
    async click(x, y) {
      for (const type of ["mousePressed", "mouseReleased"])
        await send("Input.dispatchMouseEvent", { type, x, y, button: "left", clickCount: 1 });
    },
    // Uncaught exceptions, console errors and error log entries (network
    // entries too unless allowNetwork).
    errors({ allowNetwork = false } = {}) {
      return console_.filter((c) => c.level === "exception" || c.level === "error" || c.level === "assert")
        .filter((c) => !(allowNetwork && c.source === "network"));
    },
    async close() {
      const exited = new Promise((resolve) => browser.once("exit", resolve));
      browser.kill("SIGTERM");
      await Promise.race([exited, sleep(5000)]);
      try {
        rmSync(profile, { recursive: true, force: true });
      } catch (error) {
        // A browser process still writing its profile: the folder is temporary.
      }
    },
  };
  return page;
}
